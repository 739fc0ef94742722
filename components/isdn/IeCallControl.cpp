// Call control elements: cause, call state, channel identification, progress and
// notification indicators, display, date/time, keypad, signal, restart indicator,
// segmented message, call identity and the single octet elements.
#include "HexText.h"
#include "IeDecoders.h"
#include "Q931Tables.h"

#include <vector>

namespace vexa::isdn {

const NamedValue kCodingStandardValues[] = {
    {0, "ITU-T standardized coding"},
    {1, "ISO/IEC standard"},
    {2, "National standard"},
    {3, "Standard defined for the network (either public or private) present on the network side of the interface"},
};
const ValueTable kCodingStandard = kCodingStandardValues;

bool CodedToItuT(ElementReader &r, unsigned coding, uint8_t octet3) {
    static constexpr NamedValue kOtherCodings[] = {
        {1, "Contents coded to the ISO/IEC standard"},
        {2, "Contents coded to the national standard"},
        {3, "Contents coded to the network's standard"},
    };
    r.Named("Coding standard", coding, kCodingStandard, 2);
    if (coding == 0) return true;
    std::vector<uint8_t> octets{octet3};
    const std::span<const uint8_t> rest = r.TakeRest();
    octets.insert(octets.end(), rest.begin(), rest.end());
    r.Hex(FindName(kOtherCodings, coding), octets);
    return false;
}

const NamedValue kLocationValues[] = {
    {0x0, "User (U)"},
    {0x1, "Private network serving the local user (LPN)"},
    {0x2, "Public network serving the local user (LN)"},
    {0x3, "Transit network (TN)"},
    {0x4, "Public network serving the remote user (RLN)"},
    {0x5, "Private network serving the remote user (RPN)"},
    {0x7, "International network (INTL)"},
    {0xA, "Network beyond interworking point (BI)"},
};
const ValueTable kLocation = kLocationValues;

namespace {

// Q.850 Table 1: cause values and their names.
constexpr NamedValue kCauseValues[] = {
    {1, "Unallocated (unassigned) number"},
    {2, "No route to specified transit network"},
    {3, "No route to destination"},
    {4, "Send special information tone"},
    {5, "Misdialled trunk prefix"},
    {6, "Channel unacceptable"},
    {7, "Call awarded and being delivered in an established channel"},
    {8, "Preemption"},
    {9, "Preemption - circuit reserved for reuse"},
    {14, "QoR: ported number"},
    {16, "Normal call clearing"},
    {17, "User busy"},
    {18, "No user responding"},
    {19, "No answer from user (user alerted)"},
    {20, "Subscriber absent"},
    {21, "Call rejected"},
    {22, "Number changed"},
    {23, "Redirection to new destination"},
    {24, "Call rejected due to feature at the destination"},
    {25, "Exchange routing error"},
    {26, "Non-selected user clearing"},
    {27, "Destination out of order"},
    {28, "Invalid number format (address incomplete)"},
    {29, "Facility rejected"},
    {30, "Response to STATUS ENQUIRY"},
    {31, "Normal, unspecified"},
    {34, "No circuit/channel available"},
    {38, "Network out of order"},
    {39, "Permanent frame mode connection out of service"},
    {40, "Permanent frame mode connection operational"},
    {41, "Temporary failure"},
    {42, "Switching equipment congestion"},
    {43, "Access information discarded"},
    {44, "Requested circuit/channel not available"},
    {46, "Precedence call blocked"},
    {47, "Resource unavailable, unspecified"},
    {49, "Quality of service not available"},
    {50, "Requested facility not subscribed"},
    {53, "Outgoing calls barred within CUG"},
    {55, "Incoming calls barred within CUG"},
    {57, "Bearer capability not authorized"},
    {58, "Bearer capability not presently available"},
    {62, "Inconsistency in designated outgoing access information and subscriber class"},
    {63, "Service or option not available, unspecified"},
    {65, "Bearer capability not implemented"},
    {66, "Channel type not implemented"},
    {69, "Requested facility not implemented"},
    {70, "Only restricted digital information bearer capability is available"},
    {79, "Service or option not implemented, unspecified"},
    {81, "Invalid call reference value"},
    {82, "Identified channel does not exist"},
    {83, "A suspended call exists, but this call identity does not"},
    {84, "Call identity in use"},
    {85, "No call suspended"},
    {86, "Call having the requested call identity has been cleared"},
    {87, "User not member of CUG"},
    {88, "Incompatible destination"},
    {90, "Non-existent CUG"},
    {91, "Invalid transit network selection"},
    {95, "Invalid message, unspecified"},
    {96, "Mandatory information element is missing"},
    {97, "Message type non-existent or not implemented"},
    {98, "Message not compatible with call state or message type non-existent or not implemented"},
    {99, "Information element/parameter non-existent or not implemented"},
    {100, "Invalid information element contents"},
    {101, "Message not compatible with call state"},
    {102, "Recovery on timer expiry"},
    {103, "Parameter non-existent or not implemented, passed on"},
    {110, "Message with unrecognized parameter, discarded"},
    {111, "Protocol error, unspecified"},
    {127, "Interworking, unspecified"},
};

constexpr NamedValue kCauseClasses[] = {
    {0, "Normal event"},       {1, "Normal event"},
    {2, "Resource unavailable"}, {3, "Service or option not available"},
    {4, "Service or option not implemented"}, {5, "Invalid message (e.g. parameter out of range)"},
    {6, "Protocol error (e.g. unknown message)"}, {7, "Interworking"},
};

constexpr NamedValue kRecommendation[] = {
    {0x00, "Q.931"},
    {0x03, "X.21"},
    {0x04, "X.25"},
    {0x05, "Public land mobile networks, Q.1031/Q.1051"},
};

constexpr NamedValue kCallStates[] = {
    {0, "Null (U0/N0)"},
    {1, "Call initiated (U1/N1)"},
    {2, "Overlap sending (U2/N2)"},
    {3, "Outgoing call proceeding (U3/N3)"},
    {4, "Call delivered (U4/N4)"},
    {6, "Call present (U6/N6)"},
    {7, "Call received (U7/N7)"},
    {8, "Connect request (U8/N8)"},
    {9, "Incoming call proceeding (U9/N9)"},
    {10, "Active (U10/N10)"},
    {11, "Disconnect request (U11/N11)"},
    {12, "Disconnect indication (U12/N12)"},
    {15, "Suspend request (U15/N15)"},
    {17, "Resume request (U17/N17)"},
    {19, "Release request (U19/N19)"},
    {22, "Call abort (N22)"},
    {25, "Overlap receiving (U25/N25)"},
    {61, "Restart request (Rest 1)"},
    {62, "Restart (Rest 2)"},
};

constexpr NamedValue kInterfaceIdPresent[] = {{0, "Interface implicitly identified"},
                                              {1, "Interface explicitly identified in one or more octets"}};
constexpr NamedValue kInterfaceType[] = {{0, "Basic interface"}, {1, "Other interface, e.g. primary rate"}};
constexpr NamedValue kPreferredExclusive[] = {{0, "Indicated channel is preferred"},
                                              {1, "Exclusive; only the indicated channel is acceptable"}};
constexpr NamedValue kDChannelIndicator[] = {{0, "The channel identified is not the D-channel"},
                                             {1, "The channel identified is the D-channel"}};
constexpr NamedValue kBasicChannelSelection[] = {
    {0, "No channel"}, {1, "B1 channel"}, {2, "B2 channel"}, {3, "Any channel"}};
constexpr NamedValue kPrimaryChannelSelection[] = {
    {0, "No channel"}, {1, "As indicated in the following octets"}, {3, "Any channel"}};
constexpr NamedValue kNumberMap[] = {{0, "Channel is indicated by the number in the following octet"},
                                     {1, "Channel is indicated by the slot map (map) in the following octets"}};
constexpr NamedValue kChannelType[] = {
    {0x3, "B-channel units"}, {0x6, "H0-channel units"}, {0x8, "H11-channel units"}, {0x9, "H12-channel units"}};

constexpr NamedValue kProgressDescriptions[] = {
    {1, "Call is not end-to-end ISDN; further call progress information may be available in-band"},
    {2, "Destination address is non-ISDN"},
    {3, "Origination address is non-ISDN"},
    {4, "Call has returned to the ISDN"},
    {5, "Interworking has occurred and has resulted in a telecommunication service change"},
    {8, "In-band information or an appropriate pattern is now available"},
    {10, "Delay in response at called interface"},
};

// Q.931 4.5.22 and the notifications of the DSS1 supplementary services (EN 300 196 ff.).
constexpr NamedValue kNotifications[] = {
    {0x00, "User suspended"},
    {0x01, "User resumed"},
    {0x02, "Bearer service change"},
    {0x03, "Discriminator for extension to ASN.1 encoded component"},
    {0x04, "Call completion delay"},
    {0x42, "Conference established"},
    {0x43, "Conference disconnected"},
    {0x44, "Other party added"},
    {0x45, "Isolated"},
    {0x46, "Reattached"},
    {0x47, "Other party isolated"},
    {0x48, "Other party reattached"},
    {0x49, "Other party split"},
    {0x4A, "Other party disconnected"},
    {0x4B, "Conference floating"},
    {0x60, "Call is a waiting call"},
    {0x68, "Diversion activated"},
    {0x69, "Call transferred, alerting"},
    {0x6A, "Call transferred, active"},
    {0x6E, "Reverse charging"},
    {0x79, "Remote hold"},
    {0x7A, "Remote retrieval"},
    {0x7B, "Call is diverting"},
};

constexpr NamedValue kSignals[] = {
    {0x00, "Dial tone on"},
    {0x01, "Ring back tone on"},
    {0x02, "Intercept tone on"},
    {0x03, "Network congestion tone on"},
    {0x04, "Busy tone on"},
    {0x05, "Confirm tone on"},
    {0x06, "Answer tone on"},
    {0x07, "Call waiting tone on"},
    {0x08, "Off-hook warning tone on"},
    {0x09, "Preemption tone on"},
    {0x3F, "Tones off"},
    {0x40, "Alerting on - pattern 0"},
    {0x41, "Alerting on - pattern 1"},
    {0x42, "Alerting on - pattern 2"},
    {0x43, "Alerting on - pattern 3"},
    {0x44, "Alerting on - pattern 4"},
    {0x45, "Alerting on - pattern 5"},
    {0x46, "Alerting on - pattern 6"},
    {0x47, "Alerting on - pattern 7"},
    {0x4F, "Alerting off"},
};

constexpr NamedValue kRestartClasses[] = {
    {0, "Indicated channels"}, {6, "Single interface"}, {7, "All interfaces"}};

constexpr NamedValue kFirstSegment[] = {{0, "Subsequent segment to first segment"}, {1, "First segment of segmented message"}};

constexpr NamedValue kCongestionLevels[] = {{0x0, "Receiver ready"}, {0xF, "Receiver not ready"}};
constexpr NamedValue kRepeatIndications[] = {{0x2, "Prioritized list for selecting one possibility"}};

void CauseDiagnostics(ElementReader &r, unsigned cause) {
    if (r.AtEnd()) return;
    auto diag = r.TakeRest();
    switch (cause) {
    case 96:  // mandatory element missing
    case 99:  // element non-existent or not implemented
    case 100: // invalid element contents
        for (uint8_t id : diag) {
            const char *n = ElementName(id);
            std::string s = n ? n : "Unknown element";
            s += " (" + component::HexByte(id) + ")";
            r.Value("Diagnostic: information element", s);
        }
        return;
    case 97:
    case 98:
    case 101:
        for (uint8_t t : diag) {
            const MessageType *m = FindMessageType(t);
            std::string s = m ? m->name : "Unknown message type";
            s += " (" + component::HexByte(t) + ")";
            r.Value("Diagnostic: message type", s);
        }
        return;
    case 102:  // timer number as three IA5 characters
        r.Ia5("Diagnostic: timer", diag);
        return;
    default:
        r.Hex("Diagnostics", diag);
    }
}

}  // namespace

void DecodeSegmentedMessage(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (segmentation indicator)")) return;
    r.Named("First segment indicator", o >> 7, kFirstSegment, 1);
    r.Number("Number of segments remaining", o & 0x7F);
    if (!r.Take(o, "octet 4 (segmented message type)")) return;
    if (o & 0x80) r.Error("Spare bit 8 of octet 4 is set");
    // The message type of the message being segmented.
    const MessageType *m = FindMessageType(o & 0x7F);
    const std::string hex = component::HexByte(o & 0x7F);
    if (m)
        r.Value("Segmented message type", m->name + (" (" + hex + ")"));
    else
        r.Error("Segmented message type: unknown message type " + hex);
    r.ShowRest();
}

void DecodeCause(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (coding standard, location)")) return;
    if (!CodedToItuT(r, (o >> 5) & 3, o)) return;
    r.Named("Location", o & 0x0F, kLocation, 4);
    if (Extends(o)) {
        uint8_t a = 0;
        if (!r.Take(a, "octet 3a (recommendation)")) return;
        r.Named("Recommendation", a & 0x7F, kRecommendation, 7);
        r.SkipExtensions(a, "octet 3a");
    }
    if (!r.Take(o, "octet 4 (cause value)")) {
        return;
    }
    unsigned cause = o & 0x7F;
    r.Named("Cause class", cause >> 4, kCauseClasses, 3);
    std::string value = std::to_string(cause) + " " + component::HexByte(static_cast<uint8_t>(cause)) + " ";
    if (const std::string_view n = FindName(kCauseValues, cause); n.data()) {
        r.Value("Cause value", value.append(n));
    } else {
        r.Error("Cause value: " + value + "unassigned cause value");
    }
    if (Extends(o)) r.Error("Octet 4 (cause value) must end its group (bit 8 is 0)");
    CauseDiagnostics(r, cause);
}

void DecodeCallIdentity(ElementReader &r, MessageFacts &) {
    auto id = r.TakeRest();
    r.Hex("Call identity", id);
}

void DecodeCallState(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (call state value)")) return;
    if (!CodedToItuT(r, o >> 6, o)) return;
    r.Named("Call state value", o & 0x3F, kCallStates, 6);
    r.ShowRest();
}

void DecodeChannelIdentification(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3")) return;
    bool explicitInterface = (o >> 6) & 1;
    bool primary = (o >> 5) & 1;
    r.Named("Interface identifier present", explicitInterface, kInterfaceIdPresent, 1);
    r.Named("Interface type", primary, kInterfaceType, 1);
    if (o & 0x10) r.Error("Spare bit 5 of octet 3 is set");
    r.Named("Preferred/exclusive", (o >> 3) & 1, kPreferredExclusive, 1);
    r.Named("D-channel indicator", (o >> 2) & 1, kDChannelIndicator, 1);
    unsigned selection = o & 3;
    r.Named("Information channel selection", selection, primary ? ValueTable(kPrimaryChannelSelection) : ValueTable(kBasicChannelSelection), 2);
    if (Extends(o)) r.Error("Octet 3 must end its group (bit 8 is 0)");
    if (explicitInterface) {
        uint8_t id = 0;
        long long value = 0;
        int count = 0;
        do {
            if (!r.Take(id, "octet 3.1 (interface identifier)")) return;
            value = (value << 7) | (id & 0x7F);
            ++count;
        } while (Extends(id) && count < 8);
        r.Number("Interface identifier", value);
    }
    if (!primary || selection != 1) {
        r.ShowRest();
        return;
    }
    if (!r.Take(o, "octet 3.2 (channel type)")) return;
    r.Named("Coding standard", (o >> 5) & 3, kCodingStandard, 2);
    bool map = (o >> 4) & 1;
    r.Named("Number/map", map, kNumberMap, 1);
    r.Named("Channel type", o & 0x0F, kChannelType, 4);
    if (map) {
        r.Hex("Slot map", r.TakeRest());
        return;
    }
    if (r.AtEnd()) {
        r.Error("Element ends early: octet 3.3 (channel number) missing");
        return;
    }
    while (!r.AtEnd()) {
        uint8_t c = 0;
        r.TakeOptional(c);
        r.Number("Channel number", c & 0x7F);
    }
}

void DecodeProgressIndicator(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (coding standard, location)")) return;
    if (!CodedToItuT(r, (o >> 5) & 3, o)) return;
    // A progress indicator names the locations of a cause but the international network.
    constexpr unsigned kInternationalNetwork = 0x7;
    const unsigned location = o & 0x0F;
    r.Named("Location", location, location == kInternationalNetwork ? ValueTable() : kLocation, 4);
    if (Extends(o)) r.Error("Octet 3 must end its group (bit 8 is 0)");
    if (!r.Take(o, "octet 4 (progress description)")) return;
    r.Named("Progress description", o & 0x7F, kProgressDescriptions, 7);
    if (Extends(o)) r.Error("Octet 4 must end its group (bit 8 is 0)");
    r.ShowRest();
}

void DecodeNotificationIndicator(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (notification description)")) return;
    r.NamedOrValue("Notification description", o & 0x7F, kNotifications, 7);
    if (!r.AtEnd()) r.Hex("Notification information", r.TakeRest());
}

void DecodeDisplay(ElementReader &r, MessageFacts &) { r.Ia5("Display information", r.TakeRest()); }

void DecodeDateTime(ElementReader &r, MessageFacts &) {
    static const struct {
        const char *name;
        int min, max;
    } kFields[] = {{"Year", 0, 99}, {"Month", 1, 12}, {"Day", 1, 31}, {"Hour", 0, 23}, {"Minute", 0, 59}, {"Second", 0, 59}};
    int i = 0;
    for (const auto &field : kFields) {
        uint8_t o = 0;
        if (i < 5) {
            if (!r.Take(o, std::string("octet ") + std::to_string(3 + i) + " (" + field.name + ")")) return;
        } else if (!r.TakeOptional(o)) {
            break;
        }
        if (o < field.min || o > field.max)
            r.Error(std::string(field.name) + ": " + std::to_string(o) + " out of range");
        else
            r.Number(field.name, o);
        ++i;
    }
    r.ShowRest();
}

void DecodeKeypadFacility(ElementReader &r, MessageFacts &) { r.Ia5("Keypad information", r.TakeRest()); }

void DecodeSignal(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (signal value)")) return;
    r.Named("Signal value", o, kSignals, 8);
    r.ShowRest();
}

void DecodeRestartIndicator(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (class)")) return;
    r.Named("Class", o & 7, kRestartClasses, 3);
    if (Extends(o)) r.Error("Octet 3 must end its group (bit 8 is 0)");
    r.ShowRest();
}

void DecodeSingleOctet(uint8_t octet, DecodedText &out) {
    ElementReader r(nullptr, 0, out);
    switch (octet & 0xF0) {
    case 0xA0:
        // More data (H'A0) and Sending complete (H'A1) carry no fields.
        if (octet != 0xA0 && octet != 0xA1) r.Error("Reserved single octet element");
        break;
    case 0xB0:
        r.Named("Congestion level", octet & 0x0F, kCongestionLevels, 4);
        break;
    case 0xD0:
        r.Named("Repeat indication", octet & 0x0F, kRepeatIndications, 4);
        break;
    default:
        r.Error("Reserved single octet element");
    }
}

}  // namespace vexa::isdn
