// Packet-mode elements, closed user group and reverse charging indication
// (Q.931 4.6; the closed user group and reverse charging elements of EN 300 403).
#include "IeDecoders.h"

namespace vexa::isdn {

namespace {

// Q.931 Table 4-30: throughput classes of X.25.
constexpr NamedValue kInformationRates[] = {
    {0x03, "75 bit/s"},    {0x04, "150 bit/s"},   {0x05, "300 bit/s"},   {0x06, "600 bit/s"},
    {0x07, "1200 bit/s"},  {0x08, "2400 bit/s"},  {0x09, "4800 bit/s"},  {0x0A, "9600 bit/s"},
    {0x0B, "19200 bit/s"}, {0x0C, "48000 bit/s"}, {0x0D, "64000 bit/s"},
};
constexpr NamedValue kFastSelect[] = {
    {0, "Fast select not requested"},
    {1, "Fast select not requested"},
    {2, "Fast select requested with no restriction of response"},
    {3, "Fast select requested with restrictions of response"},
};
constexpr NamedValue kExpedited[] = {{0, "No request/request denied for use of expedited data"},
                                     {1, "Request for/request indicated/request accepted for use of expedited data"}};
constexpr NamedValue kDeliveryConfirmation[] = {{0, "Link-by-link"}, {1, "End-to-end"}};
constexpr NamedValue kModulus[] = {{0, "Modulus 8"}, {1, "Modulus 128"}};
constexpr NamedValue kCugIndication[] = {{1, "Closed user group selection"},
                                         {2, "Closed user group with outgoing access selection and indication"}};
constexpr NamedValue kReverseCharging[] = {{1, "Reverse charging requested at call set-up"}};

// A 16-bit delay value spread over bits 2-1 of the first octet and bits 7-1 of the next two.
bool DelayValue(ElementReader &r, const char *name, bool optional) {
    uint8_t a = 0, b = 0, c = 0;
    if (optional) {
        if (!r.TakeOptional(a)) return false;
    } else if (!r.Take(a, std::string("first octet of ") + name)) {
        return false;
    }
    if (!r.Take(b, std::string("second octet of ") + name)) return false;
    if (!r.Take(c, std::string("third octet of ") + name)) return false;
    unsigned value = ((a & 3u) << 14) | ((b & 0x7Fu) << 7) | (c & 0x7Fu);
    r.Number(name, value, "ms");
    if (Extends(c)) r.Error(std::string(name) + ": last octet must end its group (bit 8 is 0)");
    return true;
}

}  // namespace

void DecodeInformationRate(ElementReader &r, MessageFacts &) {
    static const char *const kNames[] = {"Incoming information rate", "Outgoing information rate",
                                         "Minimum incoming information rate", "Minimum outgoing information rate"};
    for (int i = 0; i < 4; ++i) {
        uint8_t o = 0;
        if (!r.Take(o, std::string("octet ") + std::to_string(3 + i) + " (" + kNames[i] + ")")) return;
        r.Named(kNames[i], o & 0x1F, kInformationRates, 5);
    }
    r.ShowRest();
}

void DecodeEndToEndTransitDelay(ElementReader &r, MessageFacts &) {
    if (!DelayValue(r, "Cumulative transit delay value", false)) return;
    if (!DelayValue(r, "Requested end-to-end transit delay value", true)) return;
    if (!DelayValue(r, "Maximum end-to-end transit delay value", true)) return;
    r.ShowRest();
}

void DecodeTransitDelaySelection(ElementReader &r, MessageFacts &) {
    if (!DelayValue(r, "Transit delay value", false)) return;
    r.ShowRest();
}

void DecodePacketLayerBinaryParameters(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3")) return;
    r.Named("Fast select", (o >> 3) & 3, kFastSelect, 2);
    r.Named("Expedited data", (o >> 2) & 1, kExpedited, 1);
    r.Named("Delivery confirmation", (o >> 1) & 1, kDeliveryConfirmation, 1);
    r.Named("Modulus", o & 1, kModulus, 1);
    r.ShowRest();
}

void DecodePacketLayerWindowSize(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (forward value)")) return;
    r.Number("Forward value", o & 0x7F);
    if (r.TakeOptional(o)) r.Number("Backward value", o & 0x7F);
    r.ShowRest();
}

void DecodePacketSize(ElementReader &r, MessageFacts &) {
    auto show = [&r](const char *name, uint8_t o) {
        unsigned v = o & 0x7F;
        if (v >= 4 && v <= 12)
            r.Value(name, std::to_string(v) + " (" + std::to_string(1u << v) + " octets)");
        else
            r.Number(name, v);
    };
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (forward value)")) return;
    show("Forward value", o);
    if (r.TakeOptional(o)) show("Backward value", o);
    r.ShowRest();
}

void DecodeClosedUserGroup(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (CUG indication)")) return;
    r.Named("CUG indication", o & 7, kCugIndication, 3);
    auto index = r.TakeRest();
    if (index.empty())
        r.Error("Element ends early: octet 4 (CUG index code) missing");
    else
        r.Ia5("CUG index code", index);
}

void DecodeReverseChargingIndication(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (reverse charging indication)")) return;
    r.Named("Reverse charging indication", o & 7, kReverseCharging, 3);
    r.ShowRest();
}

}  // namespace vexa::isdn
