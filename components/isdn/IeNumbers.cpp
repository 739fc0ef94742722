// Party numbers and subaddresses, transit network selection and network-specific
// facilities (Q.931 4.5.8 ff., Q.951, Q.952; EN 300 403 4.5).
#include "IeDecoders.h"

#include <vector>

namespace vexa::isdn {

const NamedValue kTypeOfNumberValues[] = {
    {0, "Unknown"},
    {1, "International number"},
    {2, "National number"},
    {3, "Network specific number"},
    {4, "Subscriber number"},
    {6, "Abbreviated number"},
};
const ValueTable kTypeOfNumber = kTypeOfNumberValues;

const NamedValue kNumberingPlanValues[] = {
    {0x0, "Unknown"},
    {0x1, "ISDN/telephony numbering plan (E.164)"},
    {0x3, "Data numbering plan (X.121)"},
    {0x4, "Telex numbering plan (F.69)"},
    {0x8, "National standard numbering plan"},
    {0x9, "Private numbering plan"},
};
const ValueTable kNumberingPlan = kNumberingPlanValues;

namespace {

constexpr NamedValue kPresentation[] = {
    {0, "Presentation allowed"},
    {1, "Presentation restricted"},
    {2, "Number not available due to interworking"},
};
constexpr NamedValue kScreening[] = {
    {0, "User-provided, not screened"},
    {1, "User-provided, verified and passed"},
    {2, "User-provided, verified and failed"},
    {3, "Network provided"},
};
constexpr NamedValue kRedirectionReason[] = {
    {0x0, "Unknown"},
    {0x1, "Call forwarding busy or called DTE busy"},
    {0x2, "Call forwarding no reply"},
    {0x4, "Call deflection"},
    {0x9, "Called DTE out of order"},
    {0xA, "Call forwarding by the called DTE"},
    {0xF, "Call forwarding unconditional or systematic call redirection"},
};
constexpr NamedValue kSubaddressType[] = {{0, "NSAP (X.213/ISO 8348 AD2)"}, {2, "User specified"}};
constexpr NamedValue kOddEven[] = {{0, "Even number of address signals"}, {1, "Odd number of address signals"}};
constexpr NamedValue kNetworkIdType[] = {
    {0, "User specified"}, {2, "National network identification"}, {3, "International network identification"}};
constexpr NamedValue kNetworkIdPlan[] = {
    {0, "Unknown"}, {1, "Carrier identification code"}, {3, "Data network identification code (X.121)"}};

// Octet 3 and the optional octets 3a and 3b of a party number, then the digits.
// octets3a: how many of 3a (presentation and screening) and 3b (reason for redirection)
// the element may carry.
std::string DecodeNumber(ElementReader &r, int octets3a) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (type of number, numbering plan)")) return {};
    r.Named("Type of number", (o >> 4) & 7, kTypeOfNumber, 3);
    r.Named("Numbering plan identification", o & 0x0F, kNumberingPlan, 4);
    if (Extends(o)) {
        if (octets3a < 1) {
            r.Error("Octet 3 must end its group (bit 8 is 0)");
        } else {
            uint8_t a = 0;
            if (!r.Take(a, "octet 3a (presentation, screening)")) return {};
            r.Named("Presentation indicator", (a >> 5) & 3, kPresentation, 2);
            r.Named("Screening indicator", a & 3, kScreening, 2);
            if (Extends(a)) {
                if (octets3a < 2) {
                    r.Error("Octet 3a must end its group (bit 8 is 0)");
                } else {
                    uint8_t b = 0;
                    if (!r.Take(b, "octet 3b (reason for redirection)")) return {};
                    r.Named("Reason for redirection", b & 0x0F, kRedirectionReason, 4);
                    r.SkipExtensions(b, "octet 3b");
                }
            }
        }
    }
    auto digits = r.TakeRest();
    std::string text;
    bool bad = false;
    for (uint8_t d : digits) {
        if (d & 0x80) bad = true;
        text += static_cast<char>(d & 0x7F);
    }
    r.Ia5("Number digits", digits);
    if (bad) r.Error("Number digits: bit 8 of a digit octet is set");
    // The number as a text the program can hand on and be given back: a control octet
    // among the digits (a NUL would end the text) is written as the decoded text shows it.
    return component::SafeText(text);
}

void DecodeNetworkIdentification(ElementReader &r, uint8_t o) {
    r.Named("Type of network identification", (o >> 4) & 7, kNetworkIdType, 3);
    r.Named("Network identification plan", o & 0x0F, kNetworkIdPlan, 4);
}

}  // namespace

void DecodeCalledPartyNumber(ElementReader &r, MessageFacts &) { DecodeNumber(r, 0); }

void DecodeCallingPartyNumber(ElementReader &r, MessageFacts &f) {
    std::string digits = DecodeNumber(r, 1);
    // A second calling party number (a network-provided one after a user-provided one)
    // does not replace the first for the lookups.
    if (f.hasCallingNumber) return;
    f.hasCallingNumber = true;
    f.callingNumber = std::move(digits);
}

void DecodeConnectedNumber(ElementReader &r, MessageFacts &) { DecodeNumber(r, 1); }
void DecodeRedirectingNumber(ElementReader &r, MessageFacts &) { DecodeNumber(r, 2); }
void DecodeRedirectionNumber(ElementReader &r, MessageFacts &) { DecodeNumber(r, 1); }

void DecodeSubaddress(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (type of subaddress)")) return;
    unsigned type = (o >> 4) & 7;
    r.Named("Type of subaddress", type, kSubaddressType, 3);
    r.Named("Odd/even indicator", (o >> 3) & 1, kOddEven, 1);
    auto info = r.TakeRest();
    if (info.empty()) {
        r.Error("Element ends early: octet 4 (subaddress information) missing");
        return;
    }
    // An NSAP subaddress with AFI H'50 carries IA5 characters after the AFI (Q.931 4.5.9).
    if (type == 0 && info[0] == 0x50) {
        r.Value("Authority and format identifier", "H'50 (local IA5 format)");
        r.Ia5("Subaddress information", info.subspan(1));
    } else {
        r.Hex("Subaddress information", info);
    }
}

void DecodeTransitNetworkSelection(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (type of network identification)")) return;
    DecodeNetworkIdentification(r, o);
    r.Ia5("Network identification", r.TakeRest());
}

void DecodeNetworkSpecificFacilities(ElementReader &r, MessageFacts &) {
    uint8_t len = 0;
    if (!r.Take(len, "octet 3 (length of network identification)")) return;
    r.Number("Length of network identification", len);
    if (len > 0) {
        uint8_t o = 0;
        if (!r.Take(o, "octet 3.1 (type of network identification)")) return;
        DecodeNetworkIdentification(r, o);
        std::string id;
        std::vector<uint8_t> octets;
        for (int i = 1; i < len; ++i) {
            uint8_t c = 0;
            if (!r.Take(c, "octet 3.2 (network identification)")) return;
            octets.push_back(c);
        }
        r.Ia5("Network identification", octets);
    }
    auto facility = r.TakeRest();
    if (facility.empty())
        r.Error("Element ends early: octet 4 (network-specific facility) missing");
    else
        r.Hex("Network-specific facility", facility);
}

}  // namespace vexa::isdn
