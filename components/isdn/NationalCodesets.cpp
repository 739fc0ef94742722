// German variant: the codeset 6 elements of the national D-channel protocol FTZ 1 TR 6,
// which German exchanges still send after a shift to codeset 6 on DSS1 lines.
// French and Australian variants: their national standards (Euro-Numeris, Telstra
// ISDN) are built on EN 300 403 and add no elements of their own that this decoder
// shows by field; their codeset 5-7 elements are shown in hex like the generic variant's.
#include "NationalCodesets.h"

#include "HexText.h"

namespace vexa::isdn {

namespace {

constexpr NamedValue k1tr6Services[] = {
    {0x01, "Telephony (Fernsprechen)"},
    {0x02, "a/b services (analogue terminals)"},
    {0x03, "X.21 services"},
    {0x04, "Telefax group 4"},
    {0x05, "Videotex (Bildschirmtext, 64 kbit/s)"},
    {0x07, "Data transfer 64 kbit/s"},
    {0x08, "X.25 services"},
    {0x09, "Teletex 64 kbit/s"},
    {0x0A, "Mixed mode"},
    {0x0D, "Remote control (Fernwirken)"},
    {0x0E, "Graphic telephone services"},
    {0x0F, "Videotex (new standard)"},
    {0x10, "Video telephone"},
};

void Decode1tr6ServiceIndicator(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (service)")) return;
    r.NamedOrValue("Service", o, k1tr6Services, 8);
    if (!r.Take(o, "octet 4 (additional information)")) return;
    r.Value("Additional information", component::HexByte(o));
    r.ShowRest();
}

// Charging information: the charging units so far, as IA5 digits after one octet that
// says which account the units belong to.
void Decode1tr6ChargingInformation(ElementReader &r, MessageFacts &) {
    uint8_t o = 0;
    if (!r.Take(o, "octet 3 (charging type)")) return;
    r.Value("Charging type", component::HexByte(o));
    r.Ia5("Charging units", r.TakeRest());
}

void Decode1tr6Date(ElementReader &r, MessageFacts &) { r.Ia5("Date", r.TakeRest()); }

constexpr NationalElement kNationalElements[] = {
    {3, 6, 0x01, "Service indicator", Decode1tr6ServiceIndicator},
    {3, 6, 0x02, "Charging information", Decode1tr6ChargingInformation},
    {3, 6, 0x03, "Date", Decode1tr6Date},
    {3, 6, 0x05, "Facility select", nullptr},
    {3, 6, 0x06, "Facility status", nullptr},
    {3, 6, 0x07, "Status of the called party", nullptr},
    {3, 6, 0x08, "Additional transmit attributes", nullptr},
};

}  // namespace

const NationalElement *FindNationalElement(int variant, int codeset, uint8_t id) {
    for (const NationalElement &e : kNationalElements)
        if (e.variant == variant && e.codeset == codeset && e.id == id) return &e;
    return nullptr;
}

const char *VariantName(int variant) {
    switch (variant) {
    case 1: return "Generic";
    case 2: return "French";
    case 3: return "German";
    case 4: return "Australian";
    default: return "Unknown";
    }
}

}  // namespace vexa::isdn
