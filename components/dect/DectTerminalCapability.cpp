// TERMINAL-CAPABILITY (EN 300 175-5, clause 7.7.41): what the portable part can do, in up to
// four octet groups. Group 3: tones and display, echo and volume handling, slot types, the
// display's memory and size; group 4: the profiles the portable implements (profile
// indicators 1 to 10); group 5: security algorithms, display control codes and character
// sets; group 6 (optional): blind slots.
#include "DectElementFields.h"
#include "ShortText.h"

#include "HexText.h"

#include <array>

namespace vexa::dect {

using namespace fields;
using component::HexDump;

namespace {

// clang-format off
constexpr ValueName kEchoParameters[] = {
    {0x0, "Not applicable"}, {0x1, "Minimum TCLw (TCLw > 34 dB)"}, {0x2, "TCLw > 46 dB (full TCLw)"},
    {0x3, "TCLw > 55 dB (VoIP compatible TCLw)"},
};
constexpr ValueName kNoiseRejection[] = {{0x0, "Not applicable"}, {0x1, "No noise rejection"}, {0x2, "Noise rejection"}};
constexpr ValueName kAdaptiveVolume[] = {
    {0x0, "Not applicable"}, {0x1, "No PP adaptive volume control"}, {0x2, "PP adaptive volume control used"},
    {0x3, "Disable FP adaptive volume control"},
};
constexpr Flag kSlotTypes[] = {
    {0x01, "Half slot; j = 80"}, {0x02, "Long slot; j = 640"}, {0x04, "Long slot; j = 672"}, {0x08, "Full slot"},
    {0x10, "Double slot"},
};
constexpr ValueName kScrolling[] = {{0x00, "Not specified"}, {0x01, "Type 1"}, {0x02, "Type 2"}};

// Profile indicators 1 to 10 (octets 4 to 4i), bit 1 first.
constexpr Flag kProfile1[] = {
    {0x01, "CAP"}, {0x02, "GAP"}, {0x04, "DECT/GSM interworking profile"}, {0x08, "ISDN end-system"},
    {0x10, "LRMS"}, {0x20, "DPRS stream"}, {0x40, "DPRS asymmetric bearers"},
};
constexpr Flag kProfile2[] = {
    {0x01, "DPRS class 2 management and B-field procedures"}, {0x02, "Data services profile D, class 2"},
    {0x04, "ISDN intermediate access profile"}, {0x08, "DECT/UMTS-GSM interworking - UMTS-GSM bearer service"},
    {0x10, "DECT/UMTS-GSM interworking - UMTS-GSM SMS service"},
    {0x20, "DECT/UMTS-GSM interworking - UMTS-GSM facsimile"}, {0x40, "RAP 1 profile"},
};
constexpr Flag kProfile3[] = {
    {0x01, "DECT/GSM dual mode terminal"}, {0x02, "\"V1\" WRS"}, {0x04, "SMS over LRMS"}, {0x08, "DMAP"},
    {0x10, "Multiport CTA"}, {0x20, "Ethernet"}, {0x40, "Token Ring"},
};
constexpr Flag kProfile4[] = {
    {0x01, "IP"}, {0x02, "PPP"}, {0x04, "V.24"}, {0x08, "CF"}, {0x10, "IPQ"}, {0x20, "RAP 2 profile"},
    {0x40, "Generic media encapsulation transport (DPRS)"},
};
constexpr Flag kProfile5[] = {
    {0x01, "2-level modulation scheme (B+Z field)"}, {0x02, "4-level modulation scheme (B+Z field)"},
    {0x04, "8-level modulation scheme (B+Z field)"}, {0x08, "16-level modulation scheme (B+Z field)"},
    {0x10, "2-level modulation scheme (A field)"}, {0x20, "4-level modulation scheme (A field)"},
    {0x40, "8-level modulation scheme (A field)"},
};
constexpr Flag kProfile6[] = {
    {0x01, "DECT/UMTS interworking profile"}, {0x02, "DECT/UMTS interworking - GPRS services"},
    {0x04, "Basic ODAP"}, {0x08, "F-MMS interworking profile"}, {0x10, "Channel GF"},
    {0x20, "PT with fast hopping radio"}, {0x40, "No emission mode (U-NEMo)"},
};
constexpr Flag kProfile7[] = {
    {0x01, "64-level modulation scheme (B+Z field)"}, {0x02, "NG-DECT part 1: wideband voice"},
    {0x04, "NG-DECT part 3"}, {0x08, "Headset management"},
    {0x10, "Re-keying and default cipher key early encryption mechanism"},
    {0x20, "Associated melody per contact"}, {0x40, "NG-DECT part 5"},
};
constexpr Flag kProfile8[] = {
    {0x01, "E+U-type mux and channel IPF basic procedures"}, {0x02, "Channel IPF advanced procedures"},
    {0x04, "Channel SIPF"},
};
constexpr ValueName kPacketDataCategories[] = {  // profile indicator 8, bits 7-4
    {0x0, "No packet data supported or non categorized system"}, {0x1, "Cat 1 (low-end data devices)"},
    {0x2, "Cat 2 (mid-end data devices)"}, {0x3, "Cat 3 (high-end data devices)"},
    {0x4, "Cat 4 (high-level modulation up to 8PSK)"}, {0x5, "Cat 4 (high-level modulation up to 64QAM)"},
};
constexpr Flag kProfile9[] = {
    {0x01, "DPRS class 3 management and A-field procedures"},
    {0x02, "DPRS class 4 management and A-field procedures"}, {0x20, "Light data services"},
};
constexpr ValueName kUleVersions[] = {  // profile indicator 9, bits 5-3
    {0x1, "DECT ULE phase 1 version 1.1.1"}, {0x3, "DECT ULE phase 1 version 1.2.1"}, {0x5, "DECT ULE phase 2"},
    {0x7, "DECT ULE phase 3"},
};
constexpr Flag kProfile10[] = {
    {0x01, "Date and time recovery"}, {0x02, "Extended list change notification"}, {0x04, "Screening"},
    {0x08, "\"V2\" WRS"}, {0x10, "WRS for ULE"},
};
constexpr std::array<std::span<const Flag>, 10> kProfiles = {
    kProfile1, kProfile2, kProfile3, kProfile4, kProfile5, kProfile6, kProfile7, kProfile8, kProfile9, kProfile10,
};

constexpr ValueName kControlCodes[] = {  // octet 5, bits 3-1
    {0x0, "Not specified"}, {0x1, "0CH (clear display)"}, {0x2, "Coding 001 plus 08H to 0BH and 0DH"},
    {0x3, "Coding 010 plus 02H, 03H, 06H, 07H, 19H, 1AH"}, {0x4, "Coding 011 plus 0EH, 0FH"},
};
constexpr Flag kCharacterSets[] = {  // octet 5a
    {0x01, "Latin alphabet no. 1 (ISO 8859-1)"}, {0x02, "Latin alphabet no. 9 (ISO 8859-15)"},
    {0x04, "Latin alphabet no. 5 (ISO 8859-9)"}, {0x08, "Greek (ISO 8859-7)"},
};
constexpr ValueName kBlindSlotIndications[] = {  // octet 6, bits 7-6
    {0x0, "No blind slots"}, {0x1, "Setup is not possible on both slots adjacent to an active slot"},
    {0x2, "Setup is not possible on every second slot"}, {0x3, "Limitations indicated in the following bits"},
};
constexpr Flag kBlindSlots6[] = {
    {0x10, "SP0"}, {0x08, "SP1"}, {0x04, "SP2"}, {0x02, "SP3"}, {0x01, "SP4"},
};
constexpr Flag kBlindSlots6a[] = {
    {0x40, "SP5"}, {0x20, "SP6"}, {0x10, "SP7"}, {0x08, "SP8"}, {0x04, "SP9"}, {0x02, "SP10"}, {0x01, "SP11"},
};
// clang-format on

// Octet group 3: octet 3, then 3b to 3h (the standard has no octet 3a).
void DisplayAndAudio(ElementBody &b, size_t first, size_t last) {
    Coded(b, "Tone capability", kToneCapabilities, (b.At(first) >> 4) & 0x07);
    Coded(b, "Display capability", kDisplayCapabilities, b.At(first) & 0x0F);
    for (size_t i = first + 1; i <= last; ++i) {
        const uint8_t o = b.At(i);
        switch (i - first) {
        case 1:  // octet 3b
            Coded(b, "Echo parameter", kEchoParameters, (o >> 4) & 0x07);
            Coded(b, "N-REJ (ambient noise rejection)", kNoiseRejection, (o >> 2) & 0x03);
            Coded(b, "A-VOL (adaptive volume control)", kAdaptiveVolume, o & 0x03);
            break;
        case 2: Flags(b, "Slot type capability", kSlotTypes, o & 0x7F); break;  // 3c
        case 3: break;  // 3d: the high bits of the number of stored display characters, with 3e
        case 4: b.Field("Stored display characters", Decimal((b.At(i - 1) & 0x7Fu) << 7 | (o & 0x7Fu))); break;
        case 5: b.Field("Lines in display", Decimal(o & 0x7F)); break;      // 3f
        case 6: b.Field("Characters per line", Decimal(o & 0x7F)); break;   // 3g
        case 7: Listed(b, "Scrolling behaviour", kScrolling, o & 0x7F); break;  // 3h
        default:
            b.Field("Octet group 3, further octets", HexDump(b.Data() + i, last - i + 1));
            return;
        }
    }
    if (last - first == 3) b.Error("Octet 3d without octet 3e: stored display characters cut short");
}

// Octet group 4: profile indicators 1 to 10.
void Profiles(ElementBody &b, size_t first, size_t last) {
    for (size_t i = first; i <= last; ++i) {
        const size_t n = i - first;
        if (n >= kProfiles.size()) {
            b.Field("Octet group 4, further octets", HexDump(b.Data() + i, last - i + 1));
            return;
        }
        const uint8_t o = b.At(i) & 0x7F;
        ShortText field("Profile indicator ");
        field.AddDecimal(n + 1);
        Flags(b, field, kProfiles[n], o);
        if (n == 7) Listed(b, "  Packet data category", kPacketDataCategories, (o >> 3) & 0x0F);
        if (n == 8 && (o & 0x1C)) Listed(b, "  DECT ULE", kUleVersions, (o >> 2) & 0x07);
    }
}

// Octet group 5: security algorithms, display control codes, character sets.
void SecurityAndCharacters(ElementBody &b, size_t first, size_t last) {
    const uint8_t o = b.At(first);
    b.Field("DSAA2", (o & 0x40) ? "Supported" : "Not supported");
    b.Field("DSC2", (o & 0x20) ? "Supported" : "Not supported");
    Listed(b, "Control codes", kControlCodes, o & 0x07);
    if (first + 1 <= last) Flags(b, "Escape to 8 bit character sets", kCharacterSets, b.At(first + 1) & 0x7F);
    if (first + 2 <= last) b.Field("Octet group 5, further octets", HexDump(b.Data() + first + 2, last - first - 1));
}

// Octet group 6: blind slots.
void BlindSlots(ElementBody &b, size_t first, size_t last) {
    const uint8_t o = b.At(first);
    Coded(b, "Blind slot indication", kBlindSlotIndications, (o >> 5) & 0x03);
    std::string slots;
    for (const Flag &f : kBlindSlots6)
        if (o & f.mask) slots.append(slots.empty() ? "" : ", ").append(f.name);
    if (first + 1 <= last)
        for (const Flag &f : kBlindSlots6a)
            if (b.At(first + 1) & f.mask) slots.append(slots.empty() ? "" : ", ").append(f.name);
    b.Field("Blind slots", slots.empty() ? std::string_view("none") : std::string_view(slots));
    if (first + 2 <= last) b.Field("Octet group 6, further octets", HexDump(b.Data() + first + 2, last - first - 1));
}

}  // namespace

void DecodeTerminalCapability(ElementBody &b) {
    if (!b.Need(0, "tone and display capability (octet 3)")) return;
    Groups(b, 0, [&](int group, size_t first, size_t last) {
        switch (group) {
        case 0: DisplayAndAudio(b, first, last); break;
        case 1: Profiles(b, first, last); break;
        case 2: SecurityAndCharacters(b, first, last); break;
        case 3: BlindSlots(b, first, last); break;
        default: b.Field("Octet group " + Decimal(group + 3), HexDump(b.Data() + first, last - first + 1)); break;
        }
    });
}

}  // namespace vexa::dect
