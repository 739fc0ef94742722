#include "Q931Tables.h"

#include "HexText.h"

#include <array>

namespace vexa::isdn {

namespace {

using namespace ie;

// Q.931 Table 4-2 and EN 300 403 Table 4-2; the supplementary service messages of
// Q.932 / EN 300 196 that DSS1 lines carry are included.
constexpr MessageType kMessageTypes[] = {
    {0x00, "NATIONAL MESSAGE TYPE", {kNone, kNone}, MessageBody::kNational},  // escape to nationally specific message type
    // Call establishment messages
    {0x01, "ALERTING", {kNone, kNone}},
    {0x02, "CALL PROCEEDING", {kNone, kNone}},
    {0x03, "PROGRESS", {kProgressIndicator, kNone}},
    {0x05, "SETUP", {kBearerCapability, kNone}},
    {0x07, "CONNECT", {kNone, kNone}},
    {0x0D, "SETUP ACKNOWLEDGE", {kNone, kNone}},
    {0x0F, "CONNECT ACKNOWLEDGE", {kNone, kNone}},
    // Call information phase messages
    {0x20, "USER INFORMATION", {kUserUser, kNone}},
    {0x21, "SUSPEND REJECT", {kCause, kNone}},
    {0x22, "RESUME REJECT", {kCause, kNone}},
    {0x24, "HOLD", {kNone, kNone}},
    {0x25, "SUSPEND", {kNone, kNone}},
    {0x26, "RESUME", {kNone, kNone}},
    {0x28, "HOLD ACKNOWLEDGE", {kNone, kNone}},
    {0x2D, "SUSPEND ACKNOWLEDGE", {kNone, kNone}},
    {0x2E, "RESUME ACKNOWLEDGE", {kChannelIdentification, kNone}},
    {0x30, "HOLD REJECT", {kCause, kNone}},
    {0x31, "RETRIEVE", {kNone, kNone}},
    {0x33, "RETRIEVE ACKNOWLEDGE", {kNone, kNone}},
    {0x37, "RETRIEVE REJECT", {kCause, kNone}},
    // Call clearing messages
    {0x45, "DISCONNECT", {kCause, kNone}},
    {0x46, "RESTART", {kRestartIndicator, kNone}},
    {0x4D, "RELEASE", {kNone, kNone}},
    {0x4E, "RESTART ACKNOWLEDGE", {kRestartIndicator, kNone}},
    {0x5A, "RELEASE COMPLETE", {kNone, kNone}},
    // Miscellaneous messages
    {0x60, "SEGMENT", {kSegmentedMessage, kNone}, MessageBody::kSegment},
    {0x62, "FACILITY", {kFacility, kNone}},
    {0x64, "REGISTER", {kNone, kNone}},
    {0x6E, "NOTIFY", {kNotificationIndicator, kNone}},
    {0x75, "STATUS ENQUIRY", {kNone, kNone}},
    {0x79, "CONGESTION CONTROL", {kCongestionLevel, kNone}},
    {0x7B, "INFORMATION", {kNone, kNone}},
    {0x7D, "STATUS", {kCause, kCallState}},
};

// Q.931 Table 4-3 (variable length elements of codeset 0), with the elements that
// EN 300 403 and the DSS1 supplementary services (Q.932, Q.951, Q.952) add.
constexpr ElementType kElementTypes[] = {
    {0x00, "Segmented message", 4, DecodeSegmentedMessage},
    {0x04, "Bearer capability", 12, DecodeBearerCapability},
    {0x08, "Cause", 32, DecodeCause},
    {0x0D, "Extended facility", 0, nullptr},
    {0x10, "Call identity", 10, DecodeCallIdentity},
    {0x14, "Call state", 3, DecodeCallState},
    {0x18, "Channel identification", 0, DecodeChannelIdentification},
    {0x1C, "Facility", 0, DecodeFacility},
    {0x1E, "Progress indicator", 4, DecodeProgressIndicator},
    {0x20, "Network-specific facilities", 0, DecodeNetworkSpecificFacilities},
    {0x27, "Notification indicator", 0, DecodeNotificationIndicator},
    {0x28, "Display", 82, DecodeDisplay},
    {0x29, "Date/time", 8, DecodeDateTime},
    {0x2C, "Keypad facility", 34, DecodeKeypadFacility},
    {0x32, "Information request", 0, nullptr},
    {0x34, "Signal", 3, DecodeSignal},
    {0x36, "Switchhook", 0, nullptr},
    {0x38, "Feature activation", 0, nullptr},
    {0x39, "Feature indication", 0, nullptr},
    {0x3A, "Service profile identification", 0, nullptr},
    {0x3B, "Endpoint identifier", 0, nullptr},
    {0x40, "Information rate", 6, DecodeInformationRate},
    {0x42, "End-to-end transit delay", 11, DecodeEndToEndTransitDelay},
    {0x43, "Transit delay selection and indication", 5, DecodeTransitDelaySelection},
    {0x44, "Packet layer binary parameters", 3, DecodePacketLayerBinaryParameters},
    {0x45, "Packet layer window size", 4, DecodePacketLayerWindowSize},
    {0x46, "Packet size", 4, DecodePacketSize},
    {0x47, "Closed user group", 12, DecodeClosedUserGroup},
    {0x4A, "Reverse charging indication", 3, DecodeReverseChargingIndication},
    {0x4C, "Connected number", 24, DecodeConnectedNumber},
    {0x4D, "Connected subaddress", 23, DecodeSubaddress},
    {0x6C, "Calling party number", 0, DecodeCallingPartyNumber},
    {0x6D, "Calling party subaddress", 23, DecodeSubaddress},
    {0x70, "Called party number", 0, DecodeCalledPartyNumber},
    {0x71, "Called party subaddress", 23, DecodeSubaddress},
    {0x74, "Redirecting number", 0, DecodeRedirectingNumber},
    {0x76, "Redirection number", 0, DecodeRedirectionNumber},
    {0x78, "Transit network selection", 0, DecodeTransitNetworkSelection},
    {0x79, "Restart indicator", 3, DecodeRestartIndicator},
    {0x7C, "Low layer compatibility", 18, DecodeLowLayerCompatibility},
    {0x7D, "High layer compatibility", 5, DecodeHighLayerCompatibility},
    {0x7E, "User-user", 131, DecodeUserUser},
    {0x7F, "Escape for extension", 0, nullptr},
};

constexpr NamedValue kDiscriminators[] = {
    {0x00, "User-specific protocol"},
    {0x01, "OSI high layer protocols"},
    {0x02, "X.244"},
    {0x03, "Reserved for system management convergence function"},
    {0x04, "IA5 characters"},
    {0x05, "X.208 and X.209 coded user information"},
    {0x07, "V.120 rate adaption"},
    {0x08, "Q.931 user-network call control messages"},
};

}  // namespace

const MessageType *FindMessageType(uint8_t value) {
    // The first entry of each value, looked up in an array built once.
    static const std::array<const MessageType *, 256> index = [] {
        std::array<const MessageType *, 256> a{};
        for (const MessageType &m : kMessageTypes)
            if (!a[m.value]) a[m.value] = &m;
        return a;
    }();
    return index[value];
}

const ElementType *FindElementType(uint8_t id) {
    // The table is small and sorted; a lookup array built once keeps this O(1).
    static const std::array<const ElementType *, 128> index = [] {
        std::array<const ElementType *, 128> a{};
        for (const ElementType &e : kElementTypes) a[e.id & 0x7F] = &e;
        return a;
    }();
    return id < 0x80 ? index[id] : nullptr;
}

const char *ElementName(uint8_t id) {
    if (id & 0x80) {
        if ((id & 0xF0) == 0x90) return "Shift";
        if (id == 0xA0) return "More data";
        if (id == 0xA1) return "Sending complete";
        if ((id & 0xF0) == 0xB0) return "Congestion level";
        if ((id & 0xF0) == 0xD0) return "Repeat indicator";
        return nullptr;
    }
    const ElementType *e = FindElementType(id);
    return e ? e->name : nullptr;
}

namespace {

std::string MakeDiscriminatorText(uint8_t pd) {
    std::string s = component::HexByte(pd);
    s += ' ';
    if (const std::string_view n = FindName(kDiscriminators, pd); n.data())
        s += n;
    else if (pd >= 0x10 && pd <= 0x3F)
        s += "Reserved for other network layer or layer 3 protocols, including X.25";
    else if (pd >= 0x40 && pd <= 0x4F)
        s += "National use";
    else if (pd >= 0x50 && pd <= 0xFE)
        s += "Reserved for other network layer or layer 3 protocols, including X.25";
    else
        s += "Reserved";
    return s;
}

}  // namespace

const std::string &DiscriminatorText(uint8_t pd) {
    static const std::array<std::string, 256> kTexts = [] {
        std::array<std::string, 256> texts;
        for (unsigned v = 0; v < 256; ++v) texts[v] = MakeDiscriminatorText(static_cast<uint8_t>(v));
        return texts;
    }();
    return kTexts[pd];
}

std::span<const MessageType> AllMessageTypes() { return kMessageTypes; }
std::span<const ElementType> AllElementTypes() { return kElementTypes; }

}  // namespace vexa::isdn
