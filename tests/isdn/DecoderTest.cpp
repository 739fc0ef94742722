// Decoding of real-looking Q.931 / EN 300 403 messages. The expected field values are those
// of the standards' tables (and agree with an independent decoder for the same octets).
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace vexa::isdn::test;

namespace {

// SETUP from a basic rate terminal: sending complete, speech A-law, B1 exclusive, origination
// non-ISDN, calling national number with network screening, called subscriber number,
// LLC V.110 at 56 kbit/s, HLC telephony.
const char *kSetup =
    "08 01 05 05 A1 04 03 80 90 A3 18 01 89 1E 02 82 83 6C 0A 21 83 33 30 31 32 33 34 35 36 "
    "70 05 C1 31 32 33 34 7C 04 88 90 21 8F 7D 02 91 81";

TEST(Decoder, SetupHeaderAndNames) {
    Decoded d = DecodeHex(kSetup);
    ASSERT_EQ(d.completions, 1);
    EXPECT_EQ(d.status, 1);
    EXPECT_EQ(d.message.messageName, "SETUP");
    EXPECT_EQ(d.message.discriminator, "H'08 Q.931 user-network call control messages");
    EXPECT_TRUE(d.message.valid) << d.message.text;
    EXPECT_EQ(d.callReference, "H'05");
    EXPECT_EQ(ErrorLines(d.message.text), 0);
}

TEST(Decoder, SetupBearerCapabilityAndChannel) {
    Decoded d = DecodeHex(kSetup);
    std::string bc = Part(d.message.text, "Bearer capability (H'04)");
    ASSERT_FALSE(bc.empty()) << d.message.text;
    EXPECT_TRUE(HasLines(bc, {
        "Length: 3",
        "Coding standard: ITU-T standardized coding",
        "Information transfer capability: Speech",
        "Transfer mode: Circuit mode",
        "Information transfer rate: 64 kbit/s",
        "User information layer 1 protocol: Recommendation G.711 A-law",
    }));

    std::string ch = Part(d.message.text, "Channel identification (H'18)");
    EXPECT_TRUE(HasLines(ch, {
        "Interface type: Basic interface",
        "Preferred/exclusive: Exclusive; only the indicated channel is acceptable",
        "D-channel indicator: The channel identified is not the D-channel",
        "Information channel selection: B1 channel",
    }));

    EXPECT_FALSE(Part(d.message.text, "Sending complete (H'A1)").empty());
    std::string pi = Part(d.message.text, "Progress indicator (H'1E)");
    EXPECT_TRUE(HasLines(pi, {
        "Location: Public network serving the local user (LN)",
        "Progress description: Origination address is non-ISDN",
    }));
}

TEST(Decoder, SetupNumbersAndCompatibility) {
    Decoded d = DecodeHex(kSetup);
    std::string calling = Part(d.message.text, "Calling party number (H'6C)");
    EXPECT_TRUE(HasLines(calling, {
        "Type of number: National number",
        "Numbering plan identification: ISDN/telephony numbering plan (E.164)",
        "Presentation indicator: Presentation allowed",
        "Screening indicator: Network provided",
        "Number digits: \"30123456\"",
    }));

    std::string called = Part(d.message.text, "Called party number (H'70)");
    EXPECT_TRUE(HasLines(called, {
        "Type of number: Subscriber number",
        "Number digits: \"1234\"",
    }));

    std::string llc = Part(d.message.text, "Low layer compatibility (H'7C)");
    EXPECT_TRUE(HasLines(llc, {
        "Information transfer capability: Unrestricted digital information",
        "User information layer 1 protocol: ITU-T standardized rate adaption V.110, I.460 and X.30",
        "Synchronous/asynchronous: Synchronous data",
        "Negotiation: In-band negotiation not possible",
        "User rate: 56 kbit/s (V.6)",
    }));

    std::string hlc = Part(d.message.text, "High layer compatibility (H'7D)");
    EXPECT_TRUE(HasLines(hlc, {
        "Interpretation: First (primary or only) high layer characteristics identification to be used in the call",
        "High layer characteristics identification: Telephony",
    }));
}

TEST(Decoder, PrimaryRateChannelByNumber) {
    Decoded d = DecodeHex("08 02 00 01 05 04 03 80 90 A3 18 03 A9 83 81");
    std::string ch = Part(d.message.text, "Channel identification (H'18)");
    EXPECT_TRUE(HasLines(ch, {
        "Interface type: Other interface, e.g. primary rate",
        "Information channel selection: As indicated in the following octets",
        "Channel type: B-channel units",
        "Channel number: 1",
    }));
    EXPECT_EQ(d.callReference, "H'00||H'01");
}

TEST(Decoder, DisconnectUserBusyWithInbandTones) {
    Decoded d = DecodeHex("08 02 80 01 45 08 02 82 91 1E 02 82 88");
    EXPECT_EQ(d.message.messageName, "DISCONNECT");
    EXPECT_TRUE(d.message.valid);
    std::string cause = Part(d.message.text, "Cause (H'08)");
    EXPECT_TRUE(HasLines(cause, {
        "Location: Public network serving the local user (LN)",
        "Cause class: Normal event",
        "Cause value: 17 H'11 User busy",
    }));
    std::string pi = Part(d.message.text, "Progress indicator (H'1E)");
    EXPECT_TRUE(HasLine(pi, "Progress description: In-band information or an appropriate pattern is now available"));
    EXPECT_EQ(d.callReference, "H'80||H'01");
}

TEST(Decoder, CauseDiagnosticsNameTheElementOrTimer) {
    Decoded missing = DecodeHex("08 02 80 01 5A 08 03 80 E0 04");
    std::string cause = Part(missing.message.text, "Cause (H'08)");
    EXPECT_TRUE(HasLines(cause, {
        "Cause value: 96 H'60 Mandatory information element is missing",
        "Diagnostic: information element: Bearer capability (H'04)",
    }));

    Decoded timer = DecodeHex("08 02 80 01 5A 08 06 03 80 E6 33 30 33");
    cause = Part(timer.message.text, "Cause (H'08)");
    EXPECT_TRUE(HasLines(cause, {
        "Location: Transit network (TN)",
        "Recommendation: Q.931",
        "Cause value: 102 H'66 Recovery on timer expiry",
        "Diagnostic: timer: \"303\"",
    }));
}

TEST(Decoder, StatusCarriesCauseAndCallState) {
    Decoded d = DecodeHex("08 02 80 01 7D 08 02 80 9E 14 01 0A");
    EXPECT_EQ(d.message.messageName, "STATUS");
    EXPECT_TRUE(d.message.valid);
    EXPECT_TRUE(HasLine(Part(d.message.text, "Cause (H'08)"), "Cause value: 30 H'1E Response to STATUS ENQUIRY"));
    EXPECT_TRUE(HasLine(Part(d.message.text, "Call state (H'14)"), "Call state value: Active (U10/N10)"));
}

TEST(Decoder, FacilityInvokeComponent) {
    Decoded d = DecodeHex("08 02 80 01 62 1C 0C 91 A1 09 02 01 05 02 01 21 0A 01 01");
    EXPECT_EQ(d.message.messageName, "FACILITY");
    std::string f = Part(d.message.text, "Facility (H'1C)");
    EXPECT_TRUE(HasLines(f, {
        "Protocol profile: Remote Operations Protocol",
        "Component type: Invoke (H'A1)",
        "Invoke identifier: 5",
        "Operation value: 33 (local value)",
        "Argument: 0A 01 01",
    }));
    EXPECT_TRUE(d.message.valid);
}

TEST(Decoder, FacilityRejectAndReturnError) {
    Decoded rej = DecodeHex("08 02 80 01 62 1C 09 91 A4 06 02 01 07 81 01 01");
    std::string f = Part(rej.message.text, "Facility (H'1C)");
    EXPECT_TRUE(HasLines(f, {
        "Component type: Reject (H'A4)",
        "Invoke problem: Unrecognized operation",
    }));
    Decoded err = DecodeHex("08 02 80 01 62 1C 09 91 A3 06 02 01 07 02 01 03");
    EXPECT_TRUE(HasLine(Part(err.message.text, "Facility (H'1C)"), "Error value: 3 (local value)"));
}

TEST(Decoder, RestartWithDummyCallReference) {
    Decoded d = DecodeHex("08 00 46 79 01 87");
    EXPECT_EQ(d.message.messageName, "RESTART");
    EXPECT_EQ(d.callReference, "");
    EXPECT_TRUE(HasLine(Part(d.message.text, "Restart indicator (H'79)"), "Class: All interfaces"));
}

TEST(Decoder, ConnectWithDateDisplaySignalAndUserUser) {
    Decoded d = DecodeHex("08 02 80 01 07 29 05 1A 0C 05 09 29 28 05 48 45 4C 4C 4F 34 01 01 7E 04 04 48 49 21");
    EXPECT_EQ(d.message.messageName, "CONNECT");
    std::string dt = Part(d.message.text, "Date/time (H'29)");
    EXPECT_TRUE(HasLines(dt, {
        "Year: 26",
        "Month: 12",
        "Day: 5",
        "Hour: 9",
        "Minute: 41",
    }));
    EXPECT_TRUE(HasLine(Part(d.message.text, "Display (H'28)"), "Display information: \"HELLO\""));
    EXPECT_TRUE(HasLine(Part(d.message.text, "Signal (H'34)"), "Signal value: Ring back tone on"));
    std::string uu = Part(d.message.text, "User-user (H'7E)");
    EXPECT_TRUE(HasLines(uu, {
        "Protocol discriminator: H'04 IA5 characters",
        "User information: \"HI!\"",
    }));
}

TEST(Decoder, NotifyAndNetworkFacilities) {
    Decoded n = DecodeHex("08 02 80 01 6E 27 01 80");
    EXPECT_TRUE(HasLine(Part(n.message.text, "Notification indicator (H'27)"), "Notification description: User suspended"));
    Decoded nsf = DecodeHex("08 02 80 01 05 04 03 80 90 A3 20 06 04 A1 31 32 33 05 78 05 A1 34 35 36 37");
    std::string f = Part(nsf.message.text, "Network-specific facilities (H'20)");
    EXPECT_TRUE(HasLines(f, {
        "Type of network identification: National network identification",
        "Network identification plan: Carrier identification code",
        "Network identification: \"123\"",
        "Network-specific facility: 05",
    }));
    std::string tns = Part(nsf.message.text, "Transit network selection (H'78)");
    EXPECT_TRUE(HasLine(tns, "Network identification: \"4567\""));
}

TEST(Decoder, RedirectingNumberReason) {
    Decoded d = DecodeHex("08 02 80 01 05 04 03 80 90 A3 74 07 21 01 81 31 32 33 34");
    std::string r = Part(d.message.text, "Redirecting number (H'74)");
    EXPECT_TRUE(HasLines(r, {
        "Presentation indicator: Presentation allowed",
        "Screening indicator: User-provided, verified and passed",
        "Reason for redirection: Call forwarding busy or called DTE busy",
        "Number digits: \"1234\"",
    }));
}

TEST(Decoder, SubaddressAndPacketElements) {
    Decoded d = DecodeHex(
        "08 02 00 02 05 04 02 88 C0 44 01 8D 45 02 82 82 46 02 87 87 71 04 A0 50 31 32 6D 03 80 12 34");
    std::string called = Part(d.message.text, "Called party subaddress (H'71)");
    EXPECT_TRUE(HasLines(called, {
        "Type of subaddress: User specified",
        "Subaddress information: 50 31 32",
    }));
    std::string calling = Part(d.message.text, "Calling party subaddress (H'6D)");
    EXPECT_TRUE(HasLine(calling, "Type of subaddress: NSAP (X.213/ISO 8348 AD2)"));
    std::string bin = Part(d.message.text, "Packet layer binary parameters (H'44)");
    EXPECT_TRUE(HasLines(bin, {
        "Fast select: Fast select not requested",
        "Expedited data: Request for/request indicated/request accepted for use of expedited data",
        "Delivery confirmation: Link-by-link",
        "Modulus: Modulus 128",
    }));
    EXPECT_TRUE(HasLine(Part(d.message.text, "Packet layer window size (H'45)"), "Backward value: 2"));
    EXPECT_TRUE(HasLine(Part(d.message.text, "Packet size (H'46)"), "Forward value: 7 (128 octets)"));
    std::string bc = Part(d.message.text, "Bearer capability (H'04)");
    EXPECT_TRUE(HasLine(bc, "Transfer mode: Packet mode"));
}

TEST(Decoder, ShiftsAndCodesets) {
    // Locking shift to codeset 6 in the German variant: a national element by name.
    Decoded de = DecodeHex("08 02 80 01 45 08 02 82 90 96 02 05 00 31 32 33 34", 3);
    std::string shift = Part(de.message.text, "Shift (H'96)");
    EXPECT_TRUE(HasLines(shift, {
        "Shift type: Locking shift",
        "Codeset: 6 (information elements of the local network)",
    }));
    std::string charge = Part(de.message.text, "Charging information (codeset 6, H'02)");
    ASSERT_FALSE(charge.empty()) << de.message.text;
    EXPECT_TRUE(HasLine(charge, "Charging units: \"1234\""));
    EXPECT_TRUE(de.message.valid);

    // The same octets in the generic variant: identifier and octets in hex.
    Decoded gen = DecodeHex("08 02 80 01 45 08 02 82 90 96 02 05 00 31 32 33 34", 1);
    std::string unknown = Part(gen.message.text, "Unknown information element (codeset 6, H'02)");
    EXPECT_TRUE(HasLine(unknown, "Contents: 00 31 32 33 34"));

    // A locking shift may only go up (Q.931 4.5.3).
    Decoded down = DecodeHex("08 02 80 01 45 08 02 82 90 96 95");
    EXPECT_FALSE(down.message.valid);
    EXPECT_TRUE(HasLine(Part(down.message.text, "Shift (H'95)"),
                        "!!!Locking shift to a codeset not above the active codeset 6!!!"));

    // A non-locking shift applies to the next element only.
    Decoded once = DecodeHex("08 02 80 01 45 9E 02 01 41 08 02 82 90");
    EXPECT_FALSE(Part(once.message.text, "Unknown information element (codeset 6, H'02)").empty());
    EXPECT_FALSE(Part(once.message.text, "Cause (H'08)").empty());
    EXPECT_TRUE(once.message.valid) << once.message.text;
}

TEST(Decoder, SingleOctetElements) {
    Decoded d = DecodeHex("08 02 80 01 79 BF");
    EXPECT_EQ(d.message.messageName, "CONGESTION CONTROL");
    EXPECT_TRUE(HasLine(Part(d.message.text, "Congestion level (H'BF)"), "Congestion level: Receiver not ready"));
    EXPECT_TRUE(d.message.valid);
    Decoded info = DecodeHex("08 02 80 01 7B A0 2C 02 35 23");
    EXPECT_FALSE(Part(info.message.text, "More data (H'A0)").empty());
    EXPECT_TRUE(HasLine(Part(info.message.text, "Keypad facility (H'2C)"), "Keypad information: \"5#\""));
}

// Statuses of the completing line and what the user sees for broken headers.
// Data bearers: the octets after the layer 1 protocol differ for V.110 and V.120, and each
// field sits in its own bits. V.110 asynchronous 4.8 kbit/s over 16 kbit/s, flow control both
// ways, 1.5 stop bits, 8 data bits, even parity, half duplex V.21; V.120 synchronous 9.6 kbit/s.
TEST(Decoder, DataBearerOctets5bTo5d) {
    Decoded v110 = DecodeHex("08 02 00 0F 05 04 07 88 90 21 45 46 5A 91 18 01 89");
    EXPECT_TRUE(v110.message.valid) << v110.message.text;
    std::string bc = Part(v110.message.text, "Bearer capability (H'04)");
    EXPECT_TRUE(HasLines(bc, {
        "Synchronous/asynchronous: Asynchronous data",
        "User rate: 4.8 kbit/s (V.6 and X.1)",
        "Intermediate rate: 16 kbit/s",
        "NIC on transmission: Not required to send data with network independent clock",
        "NIC on reception: Cannot accept data with network independent clock",
        "Flow control on transmission: Required to send data with flow control mechanism",
        "Flow control on reception: Can accept data with flow control mechanism",
        "Number of stop bits: 1.5 bits",
        "Number of data bits: 8 bits",
        "Parity: Even",
        "Duplex mode: Half duplex",
        "Modem type: V.21",
    }));

    Decoded v120 = DecodeHex("08 02 00 03 05 04 06 88 90 28 08 F6 C2");
    EXPECT_TRUE(v120.message.valid) << v120.message.text;
    bc = Part(v120.message.text, "Bearer capability (H'04)");
    EXPECT_TRUE(HasLines(bc, {
        "User information layer 1 protocol: ITU-T standardized rate adaption V.120",
        "Rate adaption header: Rate adaption header included",
        "Multiple frame establishment support: Multiple frame establishment supported",
        "Mode of operation: Protocol sensitive mode of operation",
        "Logical link identifier negotiation: Default, LLI = 256 only",
        "Assignor/assignee: Message originator is assignor only",
        "In-band/out-band negotiation: Negotiation is done in-band using logical link zero",
        "User information layer 2 protocol: Recommendation Q.921/I.441",
    }));
    EXPECT_EQ(bc.find("Intermediate rate"), std::string::npos) << bc;
}

// X.25 low layer compatibility: layer 2 mode and window, layer 3 mode, default packet size
// (a power of two) and packet window.
TEST(Decoder, LowLayerCompatibilityX25Parameters) {
    Decoded d = DecodeHex("08 02 00 03 05 04 02 88 90 7C 0A 08 C0 90 46 20 87 66 20 07 82");
    EXPECT_TRUE(d.message.valid) << d.message.text;
    std::string llc = Part(d.message.text, "Low layer compatibility (H'7C)");
    EXPECT_TRUE(HasLines(llc, {
        "Negotiation indicator: Out-band negotiation possible",
        "User information layer 2 protocol: Recommendation X.25, link layer",
        "Mode of operation: Normal mode of operation",
        "Window size (k): 7 frames",
        "User information layer 3 protocol: Recommendation X.25, packet layer",
        "Mode of operation: Normal packet sequence numbering",
        "Default packet size: 128 octets",
        "Packet window size: 2",
    }));
}

// A bearer capability may name the layer 3 protocol by ISO/IEC TR 9577 identification, with
// the protocol in octets 7a and 7b, like the low layer compatibility.
TEST(Decoder, Layer3ProtocolIdentification) {
    Decoded d = DecodeHex("08 02 00 20 05 04 05 88 90 6B 0C 8C 7C 05 88 90 6B 0C 8F");
    EXPECT_TRUE(d.message.valid) << d.message.text;
    EXPECT_EQ(ErrorLines(d.message.text), 0) << d.message.text;
    std::string bc = Part(d.message.text, "Bearer capability (H'04)");
    EXPECT_TRUE(HasLines(bc, {
        "User information layer 3 protocol: ISO/IEC TR 9577 (protocol identification in the network layer)",
        "Additional layer 3 protocol information: Internet Protocol (RFC 791)",
    }));
    std::string llc = Part(d.message.text, "Low layer compatibility (H'7C)");
    EXPECT_TRUE(HasLine(llc, "Additional layer 3 protocol information: Point-to-point Protocol (RFC 1661)"));
}

// Octet 4a after any audiovisual high layer characteristic, not only videotelephony.
TEST(Decoder, HighLayerCompatibilityAudiovisualExtension) {
    Decoded d = DecodeHex("08 02 00 22 05 04 02 88 90 7D 03 91 62 81");
    std::string hlc = Part(d.message.text, "High layer compatibility (H'7D)");
    EXPECT_TRUE(HasLines(hlc, {
        "High layer characteristics identification: Audiographic conferencing (F.702, F.731)",
        "Extended videotelephony characteristics identification: Capability set of initial channel of H.221",
    }));
}

// The call state value has six bits under a two-bit coding standard; the restart states of
// the global call reference are among them.
TEST(Decoder, CallStateOfTheGlobalCallReference) {
    Decoded d = DecodeHex("08 02 00 00 7D 08 03 82 E5 05 14 01 3D");
    EXPECT_TRUE(d.message.valid) << d.message.text;
    std::string cs = Part(d.message.text, "Call state (H'14)");
    EXPECT_TRUE(HasLines(cs, {
        "Coding standard: ITU-T standardized coding",
        "Call state value: Restart request (Rest 1)",
    }));
    std::string cause = Part(d.message.text, "Cause (H'08)");
    EXPECT_TRUE(HasLines(cause, {
        "Cause value: 101 H'65 Message not compatible with call state",
        "Diagnostic: message type: SETUP (H'05)",
    }));
}

// Fields after a coding standard other than the ITU-T coding are that standard's: their
// values are not named from the ITU-T tables (nor called reserved) but shown as octets.
TEST(Decoder, OtherCodingStandardsShownAsOctets) {
    // Bearer capability in the national standard, cause in the network's standard.
    Decoded d = DecodeHex("08 02 00 01 05 04 03 C0 90 A3 08 02 E2 91");
    EXPECT_TRUE(d.message.valid) << d.message.text;
    EXPECT_EQ(ErrorLines(d.message.text), 0) << d.message.text;
    std::string bc = Part(d.message.text, "Bearer capability (H'04)");
    EXPECT_TRUE(HasLines(bc, {"Coding standard: National standard", "Contents coded to the national standard: C0 90 A3"}));
    EXPECT_EQ(bc.find("Information transfer"), std::string::npos) << bc;
    EXPECT_EQ(bc.find("layer 1"), std::string::npos) << bc;
    std::string cause = Part(d.message.text, "Cause (H'08)");
    EXPECT_TRUE(HasLines(cause, {
        "Coding standard: Standard defined for the network (either public or private) present on the network side of the interface",
        "Contents coded to the network's standard: E2 91",
    }));
    EXPECT_EQ(cause.find("Cause value"), std::string::npos) << cause;
    EXPECT_EQ(cause.find("Location"), std::string::npos) << cause;

    // A national cause value that the ITU-T table does not assign is no error either.
    Decoded national = DecodeHex("08 02 80 01 45 08 03 42 A3 11");
    EXPECT_TRUE(national.message.valid) << national.message.text;
    EXPECT_TRUE(HasLine(Part(national.message.text, "Cause (H'08)"), "Contents coded to the national standard: 42 A3 11"));

    // The same holds for the elements that share the layout: low layer compatibility,
    // progress indicator (ISO/IEC coding), call state.
    Decoded other = DecodeHex("08 02 00 01 05 04 03 80 90 A3 7C 03 C8 90 A3 1E 02 A2 88");
    EXPECT_TRUE(other.message.valid) << other.message.text;
    EXPECT_TRUE(HasLine(Part(other.message.text, "Low layer compatibility (H'7C)"),
                        "Contents coded to the national standard: C8 90 A3"));
    EXPECT_TRUE(HasLine(Part(other.message.text, "Progress indicator (H'1E)"),
                        "Contents coded to the ISO/IEC standard: A2 88"));
    Decoded state = DecodeHex("08 02 80 01 7D 08 02 80 9E 14 01 8A");
    EXPECT_TRUE(HasLine(Part(state.message.text, "Call state (H'14)"), "Contents coded to the national standard: 8A"));

    // The ITU-T coding keeps its field names.
    Decoded itu = DecodeHex("08 02 80 01 45 08 02 82 91");
    EXPECT_TRUE(HasLine(Part(itu.message.text, "Cause (H'08)"), "Cause value: 17 H'11 User busy"));
}

// Cause values that Q.850 added after its first table: they are not errors.
TEST(Decoder, LaterQ850CauseValues) {
    Decoded rejected = DecodeHex("08 02 80 01 5A 08 02 85 98");
    EXPECT_TRUE(rejected.message.valid) << rejected.message.text;
    std::string c = Part(rejected.message.text, "Cause (H'08)");
    EXPECT_TRUE(HasLines(c, {
        "Location: Private network serving the remote user (RPN)",
        "Cause class: Normal event",
        "Cause value: 24 H'18 Call rejected due to feature at the destination",
    }));

    Decoded ported = DecodeHex("08 02 80 01 45 08 02 83 8E 1E 02 82 88");
    EXPECT_TRUE(ported.message.valid) << ported.message.text;
    EXPECT_TRUE(HasLine(Part(ported.message.text, "Cause (H'08)"), "Cause value: 14 H'0E QoR: ported number"));

    // A value no table assigns is still an error.
    Decoded unassigned = DecodeHex("08 02 80 01 5A 08 02 82 A3");
    EXPECT_FALSE(unassigned.message.valid);
    EXPECT_TRUE(HasLine(Part(unassigned.message.text, "Cause (H'08)"), "!!!Cause value: 35 H'23 unassigned cause value!!!"));
}

// Networking extensions: network facility extension, network protocol profile ([18]),
// interpretation ([11]) and the invoke, here a calling name with the dummy call reference.
TEST(Decoder, FacilityNetworkingExtensions) {
    Decoded d = DecodeHex(
        "08 00 62 1C 1E 9F AA 06 80 01 00 82 01 00 92 01 13 8B 01 01 A1 0D 02 01 01 02 01 00 80 05 41 6C 69 63 65");
    EXPECT_TRUE(d.message.valid) << d.message.text;
    EXPECT_EQ(ErrorLines(d.message.text), 0) << d.message.text;
    std::string f = Part(d.message.text, "Facility (H'1C)");
    EXPECT_TRUE(HasLines(f, {
        "Protocol profile: Networking extensions",
        "Network facility extension: 80 01 00 82 01 00",
        "Network protocol profile: 19",
        "Interpretation APDU: 1 (Clear call if any invoke PDU not recognised)",
        "Component type: Invoke (H'A1)",
        "Operation value: 0 (local value)",
        "Argument: 80 05 41 6C 69 63 65",
    }));
}

// User-user protocol discriminators outside the named values: only the two ranges are
// reserved for other layer 3 protocols.
TEST(Decoder, UserUserProtocolDiscriminatorRanges) {
    Decoded d = DecodeHex("08 02 00 01 20 7E 03 06 11 22 7E 02 0F 33 7E 02 20 44 7E 02 45 55 7E 02 FF 66");
    EXPECT_TRUE(d.message.valid) << d.message.text;
    std::vector<std::string> pds;
    for (const std::string &part : Parts(d.message.text)) {
        size_t at = part.find("Protocol discriminator: ");
        if (at != std::string::npos) pds.push_back(part.substr(at, part.find('\n', at) - at));
    }
    ASSERT_EQ(pds.size(), 5u) << d.message.text;
    EXPECT_EQ(pds[0], "Protocol discriminator: H'06 Reserved");
    EXPECT_EQ(pds[1], "Protocol discriminator: H'0F Reserved");
    EXPECT_EQ(pds[2], "Protocol discriminator: H'20 Reserved for other network layer or layer 3 protocols, including X.25");
    EXPECT_EQ(pds[3], "Protocol discriminator: H'45 National use");
    EXPECT_EQ(pds[4], "Protocol discriminator: H'FF Reserved");
}

TEST(DecoderStatus, HeaderOnlyMessage) {
    Decoded d = DecodeHex("08 02 80 01 0F");
    EXPECT_EQ(d.status, 0);
    EXPECT_EQ(d.message.messageName, "CONNECT ACKNOWLEDGE");
    EXPECT_TRUE(d.message.valid);
}

TEST(DecoderStatus, UnknownProtocolDiscriminator) {
    Decoded d = DecodeHex("41 02 80 01 05");
    EXPECT_EQ(d.status, -5);
    EXPECT_FALSE(d.message.valid);
    EXPECT_NE(d.message.text.find("H'41 National use"), std::string::npos) << d.message.text;
    EXPECT_EQ(d.message.text.find("||"), std::string::npos);
}

TEST(DecoderStatus, MalformedCallReference) {
    Decoded spare = DecodeHex("08 12 80 01 05");
    EXPECT_EQ(spare.status, -6);
    EXPECT_FALSE(spare.message.valid);
    EXPECT_NE(spare.message.text.find("bits 8-5 must be 0000"), std::string::npos);
    Decoded cut = DecodeHex("08 04 80 01");
    EXPECT_EQ(cut.status, -6);
    EXPECT_NE(cut.message.text.find("cut short"), std::string::npos);
}

// H'00 is no unknown message type: it escapes to a message type of the national
// specification, which Q.931 does not define. The message is shown with its octets.
TEST(DecoderStatus, EscapeToNationalMessageType) {
    Decoded d = DecodeHex("08 02 80 01 00 12 34 56");
    EXPECT_EQ(d.status, 1);
    EXPECT_TRUE(d.message.valid) << d.message.text;
    EXPECT_EQ(d.message.messageName, "NATIONAL MESSAGE TYPE");
    EXPECT_EQ(ErrorLines(d.message.text), 0) << d.message.text;
    EXPECT_TRUE(HasLine(Part(d.message.text, "Escape to nationally specific message type (H'00)"),
                        "National message type and contents: 12 34 56"));
    EXPECT_EQ(d.callReference, "H'80||H'01");

    // Without the octet(s) that name the national message type the header is cut short.
    Decoded cut = DecodeHex("08 02 80 01 00");
    EXPECT_EQ(cut.status, -7);
    EXPECT_FALSE(cut.message.valid);
    EXPECT_NE(cut.message.text.find("National message type missing"), std::string::npos) << cut.message.text;
}

TEST(DecoderStatus, UnknownMessageType) {
    Decoded d = DecodeHex("08 02 80 01 13 08 02 80 90");
    EXPECT_EQ(d.status, -7);
    EXPECT_FALSE(d.message.valid);
    EXPECT_NE(d.message.text.find("Unknown message type H'13"), std::string::npos);
}

// A block of status 0 (header only) shows no decoded text. A red row must say why in its
// block: a message with nothing readable after its message type gets a normal block whose
// text holds the reason between "!!!" marks.
TEST(DecoderStatus, RedRowWithoutBodySaysWhy) {
    // No element at all: the mandatory cause is missing.
    Decoded disc = DecodeHex("08 02 80 01 45");
    EXPECT_EQ(disc.status, 1);
    EXPECT_FALSE(disc.message.valid);
    EXPECT_TRUE(HasLine(Part(disc.message.text, "Message"),
                        "!!!Mandatory information element Cause (H'08) missing!!!"));

    // The first element has no length octet.
    Decoded noLength = DecodeHex("08 02 80 01 45 08");
    EXPECT_EQ(noLength.status, 1);
    EXPECT_FALSE(noLength.message.valid);
    EXPECT_TRUE(HasLine(Part(noLength.message.text, "Cause (H'08)"),
                        "!!!Length octet missing: the message ends after the identifier!!!"));

    // The first element's length runs past the end with none of its contents there.
    Decoded empty = DecodeHex("08 02 80 01 45 08 05");
    EXPECT_EQ(empty.status, 1);
    EXPECT_TRUE(HasLine(Part(empty.message.text, "Cause (H'08)"),
                        "!!!Length 5 runs past the end of the message (0 octets follow)!!!"));

    // Part of the first element is there: the block shows it.
    Decoded part = DecodeHex("08 02 80 01 45 08 05 82");
    EXPECT_EQ(part.status, 1);
    EXPECT_TRUE(HasLine(Part(part.message.text, "Cause (H'08)"), "Location: Public network serving the local user (LN)"));

    // A header-only message the line reader found fault with shows what it found.
    ParserClient c;
    const std::string in(24, ' ');
    auto done = c.Run("09.41.07.25 00042  SWHW DLRDATALONG  ISDNCP-01  DLB-0102\n" + in + "DATA 08 02 80 01 0F\n" + in +
                      "LEN 6\nEND OF TRACE\n");
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].lineStatus, 1);
    EXPECT_FALSE(done[0].messages[0].valid);
    EXPECT_EQ(ErrorLines(Part(done[0].messages[0].text, "Trace data")), 1) << done[0].messages[0].text;

    // A valid message with nothing after its message type keeps its header-only block.
    Decoded ack = DecodeHex("08 02 80 01 0F");
    EXPECT_EQ(ack.status, 0);
    EXPECT_TRUE(ack.message.valid);
}

TEST(DecoderErrors, MandatoryElementMissing) {
    Decoded setup = DecodeHex("08 02 00 01 05 70 03 81 31 32");
    EXPECT_FALSE(setup.message.valid);
    EXPECT_TRUE(HasLine(setup.message.text, "!!!Mandatory information element Bearer capability (H'04) missing!!!"));
}

TEST(DecoderErrors, ReservedValuesAreMarked) {
    // Type of number 111 (reserved for extension) and location 1111.
    Decoded d = DecodeHex("08 02 80 01 45 08 02 8F 90 6C 03 F1 31 32");
    EXPECT_FALSE(d.message.valid);
    EXPECT_TRUE(HasLine(Part(d.message.text, "Cause (H'08)"), "!!!Location: reserved value B'1111!!!"));
    EXPECT_TRUE(HasLine(Part(d.message.text, "Calling party number (H'6C)"), "!!!Type of number: reserved value B'111!!!"));

    // The international network is a location of a cause, never of a progress indicator.
    Decoded progress = DecodeHex("08 02 80 01 01 1E 02 87 88");
    EXPECT_FALSE(progress.message.valid);
    EXPECT_TRUE(HasLine(Part(progress.message.text, "Progress indicator (H'1E)"), "!!!Location: reserved value B'0111!!!"));
    Decoded transit = DecodeHex("08 02 80 01 01 1E 02 83 88");
    EXPECT_TRUE(transit.message.valid);
    EXPECT_TRUE(HasLine(Part(transit.message.text, "Progress indicator (H'1E)"), "Location: Transit network (TN)"));
}

// Octets that end their group by definition: bit 8 at 0 says that an octet follows which
// no such element has.
TEST(DecoderErrors, ExtensionBitOfALastOctet) {
    Decoded restart = DecodeHex("08 00 46 79 01 07");
    EXPECT_FALSE(restart.message.valid);
    EXPECT_TRUE(HasLines(Part(restart.message.text, "Restart indicator (H'79)"),
                         {"Class: All interfaces", "!!!Octet 3 must end its group (bit 8 is 0)!!!"}));

    Decoded progress = DecodeHex("08 02 80 01 01 1E 02 02 08");
    EXPECT_FALSE(progress.message.valid);
    EXPECT_TRUE(HasLines(Part(progress.message.text, "Progress indicator (H'1E)"),
                         {"Location: Public network serving the local user (LN)",
                          "!!!Octet 3 must end its group (bit 8 is 0)!!!",
                          "Progress description: In-band information or an appropriate pattern is now available",
                          "!!!Octet 4 must end its group (bit 8 is 0)!!!"}));
}

TEST(DecoderErrors, LengthPastTheEnd) {
    Decoded d = DecodeHex("08 02 80 01 45 08 02 82 91 1E 05 82 88");
    EXPECT_EQ(d.status, 1);
    EXPECT_FALSE(d.message.valid);
    std::string pi = Part(d.message.text, "Progress indicator (H'1E)");
    EXPECT_TRUE(HasLine(pi, "!!!Length 5 runs past the end of the message (2 octets follow)!!!"));
    // What was there is still shown.
    EXPECT_TRUE(HasLine(pi, "Progress description: In-band information or an appropriate pattern is now available"));
    EXPECT_TRUE(HasLine(Part(d.message.text, "Cause (H'08)"), "Cause value: 17 H'11 User busy"));
}

TEST(DecoderErrors, TruncatedElementSaysWhatIsMissing) {
    Decoded d = DecodeHex("08 02 80 01 45 08 01 82");
    EXPECT_FALSE(d.message.valid);
    EXPECT_TRUE(HasLine(Part(d.message.text, "Cause (H'08)"), "!!!Element ends early: octet 4 (cause value) missing!!!"));
}

TEST(DecoderErrors, ElementLongerThanAllowed) {
    std::string hex = "08 02 80 01 7D 14 05 0A 00 00 00 00 08 02 80 9E";
    Decoded d = DecodeHex(hex);
    EXPECT_FALSE(d.message.valid);
    EXPECT_TRUE(HasLine(Part(d.message.text, "Call state (H'14)"),
                        "!!!Element longer than the largest allowed length of 3 octets!!!"));
}

TEST(DecoderErrors, UnknownElementShownInHex) {
    Decoded d = DecodeHex("08 02 80 01 45 08 02 82 90 5A 02 01 02");
    EXPECT_TRUE(HasLine(Part(d.message.text, "Unknown information element (H'5A)"), "Contents: 01 02"));
    EXPECT_TRUE(d.message.valid);
}

TEST(DecoderText, ContentCannotForgeMarks) {
    // Display text holding the program's marks: "||", "~", "!!!".
    Decoded d = DecodeHex("08 02 80 01 7B 28 08 41 7C 7C 7E 21 21 21 42");
    std::string disp = Part(d.message.text, "Display (H'28)");
    ASSERT_FALSE(disp.empty()) << d.message.text;
    EXPECT_EQ(d.message.text.find("||~"), std::string::npos);
    EXPECT_EQ(d.message.text.find('~'), std::string::npos);
    EXPECT_EQ(d.message.text.find("!!!"), std::string::npos);
    EXPECT_TRUE(HasLine(disp, "Display information: \"A\\x7C\\x7C\\x7E!\\x21\\x21B\""));
}

}  // namespace
