// The DECT network layer decoder on real-looking messages: the fields an engineer reads.
#include "DectDecoder.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace vexa::dect;

namespace {

DecodedDect Decode(const std::string &hex, const std::vector<std::string> &problems = {}) {
    std::vector<uint8_t> octets;
    std::istringstream in(hex);
    for (std::string o; in >> o;) octets.push_back(static_cast<uint8_t>(std::stoul(o, nullptr, 16)));
    return DectDecoder::Decode(octets.data(), octets.size(), problems, true);
}

// True when the decoded text holds line (a whole line).
bool HasLine(const DecodedDect &d, const std::string &line) {
    std::string text = d.text;
    for (size_t p; (p = text.find("||")) != std::string::npos;) text.replace(p, 2, "\n");
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        if (l == line) return true;
    return false;
}

#define EXPECT_LINE(d, line) EXPECT_TRUE(HasLine(d, line)) << "missing line \"" << (line) << "\" in:\n" << (d).text

TEST(DectDecoder, LocateRequestWithIdentitiesAndTerminalCapability) {
    auto d = Decode("05 54 05 07 80 A8 00 AB C1 23 45 06 07 80 A4 01 57 81 23 40 07 01 47 63 04 44 8A 02 80");
    EXPECT_EQ(d.status, kNormal);
    EXPECT_TRUE(d.valid) << d.text;
    EXPECT_EQ(d.messageName, "MM-LOCATE-REQUEST");
    EXPECT_EQ(d.discriminator, "MM Mobility Management (H'05)");
    EXPECT_EQ(d.transactionValue, "TI 0 (Originator)");
    EXPECT_EQ(d.transactionFlag, 0);
    EXPECT_EQ(d.extraLine, "Portable identity: IPUI-N IPEI 02748 0074565 8");
    EXPECT_LINE(d, "PORTABLE-IDENTITY (H'05)");
    EXPECT_LINE(d, "Type of identity: IPUI");
    EXPECT_LINE(d, "Identity length: 40 bits");
    EXPECT_LINE(d, "EMC: H'0ABC (02748)");
    EXPECT_LINE(d, "PSN: H'12345 (0074565)");
    EXPECT_LINE(d, "FIXED-IDENTITY (H'06)");
    EXPECT_LINE(d, "Type of identity: ARI");
    EXPECT_LINE(d, "Equipment manufacturer's code (EMC): H'0ABC");
    EXPECT_LINE(d, "Fixed part number (FPN): H'01234");
    EXPECT_LINE(d, "LI-Type: Location area level is included");
    EXPECT_LINE(d, "Location area level: 7");
    EXPECT_LINE(d, "Tone capability: Complete DECT tones supported");
    EXPECT_LINE(d, "Display capability: Alphanumeric");
    EXPECT_LINE(d, "N-REJ (ambient noise rejection): Noise rejection");
    EXPECT_LINE(d, "A-VOL (adaptive volume control): PP adaptive volume control used");
    EXPECT_LINE(d, "Profile indicator 1: GAP");
    EXPECT_LINE(d, "Profile indicator 2: none");
}

TEST(DectDecoder, AuthenticationRequestAndReply) {
    auto d = Decode("85 40 0A 03 01 18 08 0C 08 3A 91 C4 07 5E 22 B8 10 0E 08 00 00 00 00 00 00 00 2F");
    EXPECT_TRUE(d.valid) << d.text;
    EXPECT_EQ(d.messageName, "MM-AUTHENTICATION-REQUEST");
    EXPECT_EQ(d.transactionValue, "TI 0 (Destination)");
    EXPECT_EQ(d.transactionFlag, 1);
    EXPECT_LINE(d, "Authentication algorithm: DECT Standard Authentication Algorithm (DSAA)");
    EXPECT_LINE(d, "Authentication key type: User authentication key (UAK)");
    EXPECT_LINE(d, "Authentication key number: 8");
    EXPECT_LINE(d, "Cipher key number: 8");
    EXPECT_LINE(d, "RAND (H'0C)");
    EXPECT_LINE(d, "Value: 3A 91 C4 07 5E 22 B8 10");
    EXPECT_LINE(d, "Value: 00 00 00 00 00 00 00 2F");
    auto r = Decode("05 41 0D 04 9C 6E 13 A5");
    EXPECT_EQ(r.messageName, "MM-AUTHENTICATION-REPLY");
    EXPECT_LINE(r, "Value: 9C 6E 13 A5");
    // The reply without its RES is wrong.
    auto missing = Decode("05 41");
    EXPECT_FALSE(missing.valid);
    EXPECT_LINE(missing, "!!!Mandatory information element RES (H'0D) missing in MM-AUTHENTICATION-REPLY!!!");
}

TEST(DectDecoder, CipherRequestAndLocateAcceptWithTpui) {
    auto c = Decode("85 4C 19 02 81 98");
    EXPECT_EQ(c.messageName, "MM-CIPHER-REQUEST");
    EXPECT_LINE(c, "Y/N: Enable ciphering");
    EXPECT_LINE(c, "Cipher algorithm: DECT Standard Cipher algorithm #1 (DSC)");
    EXPECT_LINE(c, "Cipher key type: Derived cipher key");
    EXPECT_LINE(c, "Cipher key number: 8");
    // A dual mode portable's GPRS algorithms: H'28 says ciphering is not used, GEA/n follow.
    auto g = Decode("85 4C 19 02 A8 98 19 02 AB A1");
    EXPECT_TRUE(g.valid) << g.text;
    EXPECT_LINE(g, "Cipher algorithm: GPRS ciphering not used");
    EXPECT_LINE(g, "Cipher algorithm: GPRS ciphering algorithm GEA/3");
    EXPECT_LINE(g, "Cipher key type: Static cipher key");
    auto a = Decode("85 55 05 05 A0 94 0A BC D0 07 01 47 78 03 0A BC 2E");
    EXPECT_TRUE(a.valid) << a.text;
    EXPECT_EQ(a.messageName, "MM-LOCATE-ACCEPT");
    EXPECT_LINE(a, "Type of identity: TPUI");
    EXPECT_LINE(a, "TPUI value: H'0ABCD");
    EXPECT_EQ(a.extraLine, "Portable identity: TPUI H'0ABCD");
    EXPECT_LINE(a, "Manufacturer code (MANIC): H'0ABC");
    EXPECT_LINE(a, "Model code (MODIC): H'2E");
}

TEST(DectDecoder, CallControlWithKeypadDisplayNumbersAndFixedElements) {
    auto s = Decode("03 05 05 07 80 A8 00 AB C1 23 45 06 07 80 A4 01 57 81 23 40 E0 80 E4 41 "
                    "6C 0C 21 83 30 34 30 31 32 33 34 35 36 37 6D 0A 03 41 4E 4E 41 20 42 45 52 47");
    EXPECT_TRUE(s.valid) << s.text;
    EXPECT_EQ(s.messageName, "CC-SETUP");
    EXPECT_LINE(s, "BASIC-SERVICE (H'E0)");
    EXPECT_LINE(s, "Call class: Normal call setup");
    EXPECT_LINE(s, "Basic service: Basic speech default setup attributes");
    EXPECT_LINE(s, "SIGNAL (H'E4)");
    EXPECT_LINE(s, "Signal value: Alerting on - pattern 1 (external call)");
    EXPECT_LINE(s, "Type of number: National number");
    EXPECT_LINE(s, "Numbering plan identification: ISDN/telephony plan (E.164)");
    EXPECT_LINE(s, "Presentation indicator: Presentation allowed");
    EXPECT_LINE(s, "Screening indicator: Network provided");
    EXPECT_LINE(s, "Number digits: \"0401234567\"");
    EXPECT_LINE(s, "Name: \"ANNA BERG\"");
    // A handset locator call shows the name as the handset locator, which a number cannot.
    auto locator = Decode("13 7B 6D 06 63 4C 4F 43 41 54");
    EXPECT_TRUE(locator.valid) << locator.text;
    EXPECT_LINE(locator, "Presentation indicator: Handset locator");
    EXPECT_FALSE(Decode("13 7B 6C 04 21 E3 31 32").valid);
    auto k = Decode("13 7B 2C 07 30 33 30 31 32 33 34");
    EXPECT_EQ(k.messageName, "CC-INFO");
    EXPECT_LINE(k, "MULTI-KEYPAD (H'2C)");
    EXPECT_LINE(k, "Characters: \"0301234\"");
    auto one = Decode("13 7B E9 23 A1");
    EXPECT_LINE(one, "SINGLE-KEYPAD (H'E9)");
    EXPECT_LINE(one, "Characters: \"#\"");
    EXPECT_LINE(one, "SENDING-COMPLETE (H'A1)");
    auto disp = Decode("93 07 28 0C 30 33 30 31 32 33 34 20 41 4E 4E 41");
    EXPECT_EQ(disp.messageName, "CC-CONNECT");
    EXPECT_LINE(disp, "Characters: \"0301234 ANNA\"");
    auto ack = Decode("93 0D E4 00 1E 02 81 88");
    EXPECT_LINE(ack, "Signal value: Dial tone on");
    EXPECT_LINE(ack, "Location: Private network serving the local user");
    EXPECT_LINE(ack, "Progress description: In-band information or appropriate pattern now available");
    auto rel = Decode("13 4D E2 14");
    EXPECT_EQ(rel.messageName, "CC-RELEASE");
    EXPECT_LINE(rel, "Release reason: User busy");
}

TEST(DectDecoder, TransactionIdentifierAndDiscriminators) {
    auto ext = Decode("F3 8A 01");  // flag 1, extended value 10, CC, CC-ALERTING
    EXPECT_EQ(ext.messageName, "CC-ALERTING");
    EXPECT_EQ(ext.transactionValue, "TI 10 (Destination)");
    EXPECT_LINE(ext, "Transaction identifier: flag 1 (sent to the originating side), value 7 (extended: 10)");
    auto page = Decode("00 71 05 07 80 A8 00 AB C1 23 45");
    EXPECT_EQ(page.messageName, "LCE-PAGE-RESPONSE");
    EXPECT_EQ(page.discriminator, "LCE Link Control Entity (H'00)");
    EXPECT_EQ(Decode("04 64 05 07 80 A8 00 AB C1 23 45").messageName, "CISS-REGISTER");
    EXPECT_EQ(Decode("06 01").messageName, "CLMS-VARIABLE");
    EXPECT_EQ(Decode("07 7B").messageName, "COMS-INFO");
    EXPECT_EQ(Decode("07 78").messageName, "COMS-ACK");
    EXPECT_EQ(Decode("07 08").messageName, "COMS-NOTIFY");
    EXPECT_EQ(Decode("05 5C").messageName, "MM-TEMPORARY-IDENTITY-ASSIGN");
    EXPECT_EQ(Decode("05 59").messageName, "MM-IDENTITY-REPLY");
    EXPECT_EQ(Decode("05 44 05 07 80 A8 00 AB C1 23 45 0A 03 01 18 08").messageName, "MM-ACCESS-RIGHTS-REQUEST");
    EXPECT_EQ(Decode("03 20 16 01 82").messageName, "CC-SERVICE-CHANGE");
    // The TI extension octet with nothing after it: no message type.
    auto cut = Decode("73");
    EXPECT_EQ(cut.status, kUnknownMessageType);
    EXPECT_FALSE(cut.valid);
}

TEST(DectDecoder, WhatIsWrongIsMarkedAndMakesTheMessageInvalid) {
    // A reserved release reason.
    auto r = Decode("93 5A E2 7E");
    EXPECT_FALSE(r.valid);
    EXPECT_LINE(r, "!!!Release reason: reserved value H'7E!!!");
    // An element whose length runs past the end, after a good one.
    auto p = Decode("13 05 05 07 80 A8 00 AB C1 23 45 06 07 80 A4 01");
    EXPECT_EQ(p.status, kNormal);
    EXPECT_FALSE(p.valid);
    EXPECT_LINE(p, "!!!Length 7 runs past the end of the message (3 octets left)!!!");
    EXPECT_LINE(p, "Octets: 80 A4 01");
    // A mandatory element missing.
    auto m = Decode("93 05 05 07 80 A8 00 AB C1 23 45 E0 80");
    EXPECT_LINE(m, "!!!Mandatory information element FIXED-IDENTITY (H'06) missing in CC-SETUP!!!");
    // The line reader's findings head the message.
    auto t = Decode("13 01", {"Fewer octets than LEN says: 2 DATA octets, LEN 3"});
    EXPECT_FALSE(t.valid);
    EXPECT_LINE(t, "!!!Fewer octets than LEN says: 2 DATA octets, LEN 3!!!");
    // An IPUI-N of the wrong length.
    auto n = Decode("05 54 05 06 80 A0 00 AB C1 23");
    EXPECT_FALSE(n.valid);
    EXPECT_LINE(n, "!!!IPUI-N of 32 bits (40 expected)!!!");
}

TEST(DectDecoder, InfoRequestForAddressesAndANetworkParameter) {
    // An MM-INFO-REQUEST asking for an Ethernet, a Token Ring and an IPv4 address, with a
    // device name as network parameter.
    auto d = Decode("05 50 01 03 30 31 B2 41 05 10 50 50 2D 31");
    EXPECT_TRUE(d.valid) << d.text;
    EXPECT_EQ(d.messageName, "MM-INFO-REQUEST");
    EXPECT_LINE(d, "Parameter type: Ethernet (IEEE 802.3) address");
    EXPECT_LINE(d, "Parameter type: Token Ring address");
    EXPECT_LINE(d, "Parameter type: Internet Protocol version 4 address");
    EXPECT_LINE(d, "NETWORK-PARAMETER (H'41)");
    EXPECT_LINE(d, "Discriminator: Device name");
    EXPECT_LINE(d, "Data: 50 50 2D 31");
    // The handover references of the GSM and UMTS networks use the discriminator's top bit.
    auto h = Decode("85 51 41 03 EB 12 34");
    EXPECT_TRUE(h.valid) << h.text;
    EXPECT_LINE(h, "Discriminator: Handover reference, UMTS network");
    EXPECT_LINE(h, "Data: 12 34");
    // A network parameter without its discriminator.
    auto e = Decode("85 51 41 00");
    EXPECT_FALSE(e.valid);
    EXPECT_LINE(e, "!!!Element too short: discriminator (octet 3) missing!!!");
}

TEST(DectDecoder, UnknownElementsShownWithIdentifierAndOctets) {
    auto d = Decode("13 7B 5F 03 01 02 03 E9 31");
    EXPECT_TRUE(d.valid) << d.text;
    EXPECT_LINE(d, "Unknown element (H'5F)");
    EXPECT_LINE(d, "Octets: 01 02 03");
    EXPECT_LINE(d, "Characters: \"1\"");
    // After a locking shift to codeset 4 elements are shown as octets.
    auto s = Decode("13 7B 94 28 02 41 42");
    EXPECT_LINE(s, "New codeset: Non-CEPT (local network specific)");
    EXPECT_LINE(s, "Element H'28 of codeset 4");
    EXPECT_LINE(s, "Octets: 41 42");
}

TEST(DectDecoder, CodecListEscapeToProprietaryAndRejectReason) {
    auto c = Decode("13 7B 7C 07 90 03 00 01 04 00 84");
    EXPECT_TRUE(c.valid) << c.text;
    EXPECT_LINE(c, "Negotiation indicator: Codec negotiation");
    EXPECT_LINE(c, "  Codec identifier: G.722");
    EXPECT_LINE(c, "  Codec identifier: G.711 A-law");
    EXPECT_LINE(c, "  Slot size: Long slot; j = 640");
    EXPECT_LINE(c, "  Slot size: Full slot");
    auto e = Decode("13 7B 7B 05 81 0A BC 01 02");
    EXPECT_LINE(e, "Discriminator type: EMC");
    EXPECT_LINE(e, "Equipment manufacturer's code (EMC): H'0ABC");
    EXPECT_LINE(e, "Contents: 01 02");
    auto dur = Decode("13 7B 72 02 E1 05");
    EXPECT_LINE(dur, "Lock limits: Temporary user limits");
    EXPECT_LINE(dur, "Time limits: Defined time limit 1");
    EXPECT_LINE(dur, "Time duration: 5");
    // An access right without limits, and a temporary one for the standard time.
    auto open = Decode("13 7B 72 01 FF 72 01 D4");
    EXPECT_LINE(open, "Lock limits: No limits");
    EXPECT_LINE(open, "Time limits: Infinite");
    EXPECT_LINE(open, "Lock limits: Temporary user limits 2");
    EXPECT_LINE(open, "Time limits: Standard time limit");
    auto rej = Decode("05 57 60 01 02");
    EXPECT_EQ(rej.messageName, "MM-LOCATE-REJECT");
    EXPECT_LINE(rej, "Reject reason: IPUI unknown");
}

// A portable that tells all of its capabilities: every octet group of TERMINAL-CAPABILITY as
// the engineer reads it (the fields agree with the reference analyser).
TEST(DectDecoder, TerminalCapabilityEveryOctetGroup) {
    auto d = Decode("05 54 05 07 80 A8 00 AB C1 23 45 63 16 44 2A 1F 01 20 03 10 81 "
                    "55 2A 55 2A 55 2A 55 2A 55 AA 4A 8F 05 81");
    EXPECT_TRUE(d.valid) << d.text;
    // Octet group 3: audio, slots and the display.
    EXPECT_LINE(d, "Echo parameter: TCLw > 46 dB (full TCLw)");
    EXPECT_LINE(d, "Slot type capability: Half slot; j = 80, Long slot; j = 640, Long slot; j = 672, Full slot, "
                   "Double slot");
    EXPECT_LINE(d, "Stored display characters: 160");
    EXPECT_LINE(d, "Lines in display: 3");
    EXPECT_LINE(d, "Characters per line: 16");
    EXPECT_LINE(d, "Scrolling behaviour: Type 1");
    // Octet group 4: the profiles, ten indicators.
    EXPECT_LINE(d, "Profile indicator 1: CAP, DECT/GSM interworking profile, LRMS, DPRS asymmetric bearers");
    EXPECT_LINE(d, "Profile indicator 4: PPP, CF, RAP 2 profile");
    EXPECT_LINE(d, "Profile indicator 7: 64-level modulation scheme (B+Z field), NG-DECT part 3, "
                   "Re-keying and default cipher key early encryption mechanism, NG-DECT part 5");
    EXPECT_LINE(d, "  Packet data category: Cat 4 (high-level modulation up to 64QAM)");
    EXPECT_LINE(d, "  DECT ULE: DECT ULE phase 2");
    EXPECT_LINE(d, "Profile indicator 10: Extended list change notification, \"V2\" WRS");
    // Octet group 5: security and characters; group 6: blind slots.
    EXPECT_LINE(d, "DSAA2: Supported");
    EXPECT_LINE(d, "DSC2: Not supported");
    EXPECT_LINE(d, "Control codes: Coding 001 plus 08H to 0BH and 0DH");
    EXPECT_LINE(d, "Escape to 8 bit character sets: Latin alphabet no. 1 (ISO 8859-1), Latin alphabet no. 9 "
                   "(ISO 8859-15), Latin alphabet no. 5 (ISO 8859-9), Greek (ISO 8859-7)");
    EXPECT_LINE(d, "Blind slot indication: No blind slots");
    EXPECT_LINE(d, "Blind slots: SP2, SP4, SP11");
    // A portable that asks the fixed part to switch its adaptive volume control off.
    auto vol = Decode("05 54 05 07 80 A8 00 AB C1 23 45 63 03 44 93 80");
    EXPECT_TRUE(vol.valid) << vol.text;
    EXPECT_LINE(vol, "Echo parameter: Minimum TCLw (TCLw > 34 dB)");
    EXPECT_LINE(vol, "A-VOL (adaptive volume control): Disable FP adaptive volume control");
    // The stored display characters need octets 3d and 3e both.
    auto cut = Decode("05 54 05 07 80 A8 00 AB C1 23 45 63 05 44 2A 1F 81 82");
    EXPECT_FALSE(cut.valid);
    EXPECT_LINE(cut, "!!!Octet 3d without octet 3e: stored display characters cut short!!!");
}

// The date and time the fixed part gives the portable, and a call's attributes.
TEST(DectDecoder, TimeDateAndCallAttributes) {
    // CC-INFO with the current time and date: 7 December 2026, 14:05:09, GMT+01:00.
    auto t = Decode("13 7B 23 08 C0 62 21 70 41 50 90 40");
    EXPECT_TRUE(t.valid) << t.text;
    EXPECT_LINE(t, "TIME-DATE (H'23)");
    EXPECT_LINE(t, "Coding: Time and date");
    EXPECT_LINE(t, "Interpretation: The current time/date");
    EXPECT_LINE(t, "Year: 26");
    EXPECT_LINE(t, "Month: 12");
    EXPECT_LINE(t, "Day: 07");
    EXPECT_LINE(t, "Hour: 14");
    EXPECT_LINE(t, "Minute: 05");
    EXPECT_LINE(t, "Second: 09");
    EXPECT_LINE(t, "Time zone: GMT+01:00 (4 quarters of an hour)");
    // Time only, west of GMT, as a duration.
    auto w = Decode("13 7B 23 05 41 20 03 00 09");
    EXPECT_TRUE(w.valid) << w.text;
    EXPECT_LINE(w, "Coding: Time");
    EXPECT_LINE(w, "Interpretation: Time duration");
    EXPECT_LINE(w, "Hour: 02");
    EXPECT_LINE(w, "Minute: 30");
    EXPECT_LINE(w, "Time zone: GMT-02:30 (10 quarters of an hour)");
    // A month 13, a digit that is not one, and a date cut short are wrong.
    auto bad = Decode("13 7B 23 04 80 62 31 70");
    EXPECT_FALSE(bad.valid);
    EXPECT_LINE(bad, "!!!Month 13 out of range (1 to 12)!!!");
    auto hex = Decode("13 7B 23 04 80 6A 21 70");
    EXPECT_LINE(hex, "!!!Year: H'6A is not two decimal digits!!!");
    auto cut = Decode("13 7B 23 03 C0 62 21");
    EXPECT_LINE(cut, "!!!Element too short: date (year, month, day) missing!!!");
    // CALL-ATTRIBUTES of a CC-SETUP: C-plane routing and the U-plane by name.
    auto a = Decode("03 05 05 07 80 A8 00 AB C1 23 45 06 07 80 A4 01 57 81 23 40 E0 8F 13 03 80 C1 81");
    EXPECT_TRUE(a.valid) << a.text;
    EXPECT_LINE(a, "Coding standard: DECT standard coding");
    EXPECT_LINE(a, "C-plane routing: CS preferred/CF accepted");
    EXPECT_LINE(a, "U-plane symmetry: Symmetric");
    EXPECT_LINE(a, "LU identification: LU1");
}

// The codes of the double octet elements that are easy to mix up: the test hook, the basic
// services next to each other, the newer call classes, and a release on collision (each as
// the reference analyser reads it).
TEST(DectDecoder, DoubleOctetCodesByTheirOwnValues) {
    auto hook = Decode("13 7B E6 00 E6 01");
    EXPECT_TRUE(hook.valid) << hook.text;
    EXPECT_LINE(hook, "Hook value: Go on hook");
    EXPECT_LINE(hook, "Hook value: Go off hook");
    auto lrms = Decode("03 05 05 07 80 A8 00 AB C1 23 45 06 07 80 A4 01 57 81 23 40 E0 85");
    EXPECT_TRUE(lrms.valid) << lrms.text;
    EXPECT_LINE(lrms, "Basic service: LRMS (E-profile) service");
    auto umts = Decode("03 05 05 07 80 A8 00 AB C1 23 45 06 07 80 A4 01 57 81 23 40 E0 86");
    EXPECT_LINE(umts, "Basic service: DECT UMTS IWP / GSM IWP SMS");
    auto dtam = Decode("03 05 05 07 80 A8 00 AB C1 23 45 06 07 80 A4 01 57 81 23 40 E0 9B");
    EXPECT_TRUE(dtam.valid) << dtam.text;
    EXPECT_LINE(dtam, "Basic service: DTAM wideband speech default setup attributes");
    auto ule = Decode("03 05 05 07 80 A8 00 AB C1 23 45 06 07 80 A4 01 57 81 23 40 E0 38");
    EXPECT_TRUE(ule.valid) << ule.text;
    EXPECT_LINE(ule, "Call class: ULE service call setup");
    auto collision = Decode("13 4D E2 0C");
    EXPECT_TRUE(collision.valid) << collision.text;
    EXPECT_LINE(collision, "Release reason: Collision");
}

// IWU-TO-IWU carrying other protocols: each protocol discriminator by its own name (the names
// agree with the reference analyser, value by value).
TEST(DectDecoder, IwuToIwuProtocolDiscriminators) {
    auto d = Decode("13 7B 77 04 C8 08 01 05 77 02 C7 00 77 02 C6 00 77 02 C5 00 77 02 CA 00 77 02 CF 00");
    EXPECT_TRUE(d.valid) << d.text;
    EXPECT_LINE(d, "S/R: Transmission of message");
    EXPECT_LINE(d, "Protocol discriminator: ITU-T Q.931 (I.451), message");
    EXPECT_LINE(d, "Information: 08 01 05");
    EXPECT_LINE(d, "Protocol discriminator: ITU-T V.120 rate adaption");
    EXPECT_LINE(d, "Protocol discriminator: Light data service, SUOTA");
    EXPECT_LINE(d, "Protocol discriminator: ULE configuration and control (non CCM encrypted) service channel");
    EXPECT_LINE(d, "Protocol discriminator: ITU-T Q.931 (I.451), partial message");
    EXPECT_LINE(d, "Protocol discriminator: Digital telephone answering machine (DTAM)");
    // A rejected message of a discriminator the table does not list.
    auto r = Decode("13 7B 77 02 8B 00");
    EXPECT_TRUE(r.valid) << r.text;
    EXPECT_LINE(r, "S/R: Rejection of message");
    EXPECT_LINE(r, "Protocol discriminator: H'0B (not listed)");
}

}  // namespace
