#include "DectElements.h"

#include "DectElementFields.h"
#include "DectTables.h"
#include "HexText.h"
#include "ShortText.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <span>

namespace vexa::dect {

using component::DecodedText;
using component::HexByte;
using component::HexDump;
using component::SafeText;

bool ElementBody::Need(size_t i, const char *what) {
    if (i < m_size) return true;
    m_out.Error(std::string("Element too short: ") + what + " missing");
    return false;
}

void ElementBody::HexFrom(size_t from, std::string_view name) {
    if (from < m_size) m_out.Field(name, HexDump(m_data + from, m_size - from));
}

namespace fields {

void Coded(ElementBody &b, std::string_view field, std::span<const ValueName> table, unsigned value) {
    if (const char *name = NameOf(table, value)) {
        b.Field(field, name);
        return;
    }
    b.Field(field, Hex(value, 2) + " (reserved)");
    b.Error(ShortText(field) + ": reserved value " + Hex(value, 2));
}

void Listed(ElementBody &b, std::string_view field, std::span<const ValueName> table, unsigned value) {
    if (const char *name = NameOf(table, value)) b.Field(field, name);
    else b.Field(field, Hex(value, 2) + " (not listed)");
}

void LastOfGroup(ElementBody &b, size_t i, const char *octet) {
    if (!(b.At(i) & 0x80)) b.Error(std::string("Extension bit of ") + octet + " is 0: further octets are not expected");
}

void Flags(ElementBody &b, std::string_view field, std::span<const Flag> flags, uint8_t octet) {
    std::string names;
    for (const Flag &f : flags) {
        if (!(octet & f.mask)) continue;
        if (!names.empty()) names += ", ";
        names += f.name;
    }
    b.Field(field, names.empty() ? std::string_view("none") : std::string_view(names));
}

}  // namespace fields

namespace {

using namespace fields;

// Reads a bit string from the front (bit 8 of the first octet first).
class Bits {
public:
    Bits(const uint8_t *data, size_t bits) : m_data(data), m_bits(bits) {}
    size_t Left() const { return m_bits - m_pos; }
    // The next n bits (at most 64) as a number; past the end, as many as are left.
    uint64_t Take(size_t n) {
        n = std::min({n, Left(), size_t{64}});
        uint64_t v = 0;
        while (n) {
            // From the octet under the position: the bits left in it, or fewer.
            const size_t offset = m_pos % 8, take = std::min(n, 8 - offset);
            const unsigned octet = m_data[m_pos / 8];
            v = v << take | ((octet >> (8 - offset - take)) & ((1u << take) - 1));
            m_pos += take;
            n -= take;
        }
        return v;
    }

private:
    const uint8_t *m_data;
    size_t m_bits;
    size_t m_pos = 0;
};

// Digits coded four bits each (BCD); F ends the number early.
std::string Bcd(Bits &bits, bool &bad) {
    std::string s;
    while (bits.Left() >= 4) {
        unsigned d = static_cast<unsigned>(bits.Take(4));
        if (d == 0xF) break;
        if (d > 9) {
            bad = true;
            s += '?';
        } else {
            s += static_cast<char>('0' + d);
        }
    }
    return s;
}

// The identity bits of a PORTABLE-IDENTITY or FIXED-IDENTITY element: octet 4 gives their
// number; the octets after it hold them.
bool IdentityBits(ElementBody &b, size_t &bits) {
    if (!b.Need(1, "identity length (octet 4)")) return false;
    LastOfGroup(b, 0, "octet 3");
    LastOfGroup(b, 1, "octet 4");
    bits = b.At(1) & 0x7F;
    b.Field("Identity length", Decimal(bits) + " bits");
    const size_t have = (b.Size() - 2) * 8;
    if (bits > have) {
        b.Error("Identity length " + Decimal(bits) + " bits runs past the element (" + Decimal(have) + " bits)");
        bits = have;
    } else if ((bits + 7) / 8 < b.Size() - 2) {
        b.Error("Element longer than its identity of " + Decimal(bits) + " bits");
    }
    return true;
}

// EMC and PSN of an IPEI; returns the IPEI as printed on the equipment (shown in the block's
// header): EMC in five digits, PSN in seven, and a check digit: the sum of each of the twelve
// digits times its place (1 to 12) modulo 11, "*" for 10.
ShortText Ipei(Bits &bits, ElementBody &b) {
    const uint64_t emc = bits.Take(16), psn = bits.Take(20);
    b.Field("EMC", Hex(emc, 4) + " (" + ShortText().AddDecimal(emc, 5) + ")");
    b.Field("PSN", Hex(psn, 5) + " (" + ShortText().AddDecimal(psn, 7) + ")");
    ShortText printed;
    printed.AddDecimal(emc % 100000, 5).Add(' ').AddDecimal(psn % 10000000, 7);
    const std::string_view digits = printed;
    unsigned sum = 0, place = 1;
    for (char c : digits)
        if (c != ' ') sum += static_cast<unsigned>(c - '0') * place++;
    const unsigned check = sum % 11;
    return printed.Add(' ').Add(check == 10 ? '*' : static_cast<char>('0' + check));
}

void PortableIdentity(ElementBody &b) {
    if (!b.Need(0, "type of identity (octet 3)")) return;
    const unsigned type = b.At(0) & 0x7F;
    Coded(b, "Type of identity", kPortableIdentityTypes, type);
    size_t length = 0;
    if (!IdentityBits(b, length)) return;
    Bits bits(b.Data() + 2, length);
    bool bad = false;
    if (type == 0x00) {  // IPUI
        if (length < 4) return b.Error("IPUI shorter than its type (4 bits)");
        const unsigned put = static_cast<unsigned>(bits.Take(4));
        Coded(b, "Portable user identity type", kPortableUserIdentityTypes, put);
        ShortText summary;
        summary.Add("IPUI-").Add(static_cast<char>('N' + std::min(put, 8u)));
        switch (put) {
        case 0x0:
            if (length != 40) b.Error("IPUI-N of " + Decimal(length) + " bits (40 expected)");
            summary.Add(" IPEI ").Add(Ipei(bits, b));
            break;
        case 0x1: {
            uint64_t number = bits.Take(std::min<size_t>(bits.Left(), 60));
            b.Field("Private number", Decimal(number));
            summary.Add(' ').AddDecimal(number);
            break;
        }
        case 0x2: {
            uint64_t poc = bits.Take(16);
            b.Field("Public operator code (POC)", Hex(poc, 4));
            std::string acc = Bcd(bits, bad);
            b.Field("Account number (ACC)", acc);
            summary.Add(" POC ").AddHex(poc, 4).Add(" ACC ").Add(acc);
            break;
        }
        case 0x6: {
            uint64_t eic = bits.Take(16);
            b.Field("Equipment installer's code (EIC)", Hex(eic, 4));
            std::string number = Bcd(bits, bad);
            b.Field("Number", number);
            summary.Add(" EIC ").AddHex(eic, 4).Add(' ').Add(number);
            break;
        }
        default: {
            static const char *const kNumberNames[] = {"", "", "", "Bank account number (BACN)", "IMSI",
                                                       "PSTN/ISDN number", "", "Credit card account number (CACN)"};
            std::string digits = Bcd(bits, bad);
            b.Field(put < 8 ? kNumberNames[put] : "Number", digits);
            summary.Add(' ').Add(digits);
        }
        }
        if (bad) b.Error("IPUI digits with values above 9");
        b.identitySummary = summary;
    } else if (type == 0x10) {  // IPEI
        if (length != 36) b.Error("IPEI of " + Decimal(length) + " bits (36 expected)");
        b.identitySummary = ShortText("IPEI ").Add(Ipei(bits, b));
    } else if (type == 0x20) {  // TPUI
        if (length != 20) b.Error("TPUI of " + Decimal(length) + " bits (20 expected)");
        uint64_t tpui = bits.Take(20);
        const unsigned lead = static_cast<unsigned>(tpui >> 16);
        const char *kind = lead <= 0xB ? "Assigned individual TPUI"
                           : lead == 0xC ? "Connectionless group TPUI"
                           : lead == 0xD ? "Call group TPUI"
                           : lead == 0xE ? "Default individual TPUI"
                                         : "Emergency TPUI";
        b.Field("TPUI type", kind);
        b.Field("TPUI value", Hex(tpui, 5));
        b.identitySummary = ShortText("TPUI ").AddHex(tpui, 5);
    }
}

// The access rights identity of a FIXED-IDENTITY element: its class and the class's fields.
void Ari(ElementBody &b, Bits &bits, size_t length) {
    if (length < 3) return b.Error("ARI shorter than its class (3 bits)");
    const unsigned arc = static_cast<unsigned>(bits.Take(3));
    Coded(b, "Access rights class (ARC)", kAccessRightsClasses, arc);
    switch (arc) {
    case 0:
        b.Field("Equipment manufacturer's code (EMC)", Hex(bits.Take(16), 4));
        b.Field("Fixed part number (FPN)", Hex(bits.Take(17), 5));
        break;
    case 1:
        b.Field("Equipment installer's code (EIC)", Hex(bits.Take(16), 4));
        b.Field("Fixed part number (FPN)", Hex(bits.Take(8), 2));
        b.Field("Fixed part sub-number (FPS)", Hex(bits.Take(4), 1));
        break;
    case 2:
        b.Field("Public operator code (POC)", Hex(bits.Take(16), 4));
        b.Field("Fixed part number (FPN)", Hex(bits.Take(8), 2));
        b.Field("Fixed part sub-number (FPS)", Hex(bits.Take(4), 1));
        break;
    case 3:
        b.Field("GSM operator code (GOP)", Hex(bits.Take(20), 5));
        b.Field("Fixed part number (FPN)", Hex(bits.Take(8), 2));
        break;
    case 4:
        b.Field("Fixed part identity (FIL)", Hex(bits.Take(16), 4));
        b.Field("Fixed part number (FPN)", Hex(bits.Take(12), 3));
        break;
    default: break;
    }
}

void FixedIdentity(ElementBody &b) {
    if (!b.Need(0, "type of identity (octet 3)")) return;
    const unsigned type = b.At(0) & 0x7F;
    Coded(b, "Type of identity", kFixedIdentityTypes, type);
    size_t length = 0;
    if (!IdentityBits(b, length)) return;
    Bits bits(b.Data() + 2, length);
    if (type == 0x20) {
        b.Field("PARK length indicator", Decimal(length) + " bits");
        Ari(b, bits, length);
        return;
    }
    Ari(b, bits, length);
    if ((type == 0x01 || type == 0x02) && bits.Left() > 0)
        b.Field(type == 0x01 ? "Radio fixed part number (RPN)" : "RPN for WRS", Hex(bits.Take(bits.Left()), 2));
}

void LocationArea(ElementBody &b) {
    if (!b.Need(0, "location area level (octet 3)")) return;
    const unsigned li = b.At(0) >> 6;
    Coded(b, "LI-Type", kLocationInfoTypes, li);
    if (li & 1) b.Field("Location area level", Decimal(b.At(0) & 0x3F));
    if (li & 2) {
        if (!b.Need(1, "extended location information (octet 4)")) return;
        b.Field("ELI-Type", Hex(b.At(1) >> 4, 1));
        b.HexFrom(2, "Location information");
    }
}

void NwkAssignedIdentity(ElementBody &b) {
    if (!b.Need(0, "type of identity (octet 3)")) return;
    Coded(b, "Type of identity", kNwkIdentityTypes, b.At(0) & 0x7F);
    size_t length = 0;
    if (!IdentityBits(b, length)) return;
    Bits bits(b.Data() + 2, length);
    if (length <= 64) b.Field("Identity value", Hex(bits.Take(length), static_cast<int>((length + 3) / 4)));
    else b.HexFrom(2, "Identity value");
}

// Octet 3 and 3a of AUTH-TYPE and ALLOCATION-TYPE; returns the next octet.
size_t AuthAlgorithm(ElementBody &b) {
    const unsigned algorithm = b.At(0) & 0x7F;
    Coded(b, "Authentication algorithm", kAuthAlgorithms, algorithm);
    if (algorithm != 0x7F) return 1;
    if (!b.Need(1, "proprietary algorithm identifier (octet 3a)")) return 2;
    b.Field("Proprietary algorithm identifier", HexByte(b.At(1)));
    return 2;
}

void AuthType(ElementBody &b) {
    if (!b.Need(0, "authentication algorithm (octet 3)")) return;
    size_t i = AuthAlgorithm(b);
    if (!b.Need(i, "authentication key type (octet 4)")) return;
    Coded(b, "Authentication key type", kAuthKeyTypes, b.At(i) >> 4);
    b.Field("Authentication key number", Decimal(b.At(i) & 0x0F));
    if (!b.Need(++i, "cipher key number (octet 5)")) return;
    const uint8_t o = b.At(i);
    b.Field("INC", (o & 0x80) ? "Increment the value of the ZAP field" : "Do not increment the ZAP field");
    b.Field("DEF", (o & 0x40) ? "Use the derived cipher key as default cipher key" : "No default cipher key");
    b.Field("TXC", (o & 0x20) ? "Transmit the derived cipher key" : "Do not transmit the cipher key");
    b.Field("UPC", (o & 0x10) ? "Store the cipher key with the UPI" : "Do not store the cipher key with the UPI");
    b.Field("Cipher key number", Decimal(o & 0x0F));
    ++i;
    if (o & 0x40) {
        if (!b.Need(i + 1, "default cipher key index (octets 5a, 5b)")) return;
        b.Field("Default cipher key index", Hex(b.At(i) << 8 | b.At(i + 1), 4));
        i += 2;
    }
    b.HexFrom(i, "Further octets");
}

void AllocationType(ElementBody &b) {
    if (!b.Need(0, "authentication algorithm (octet 3)")) return;
    size_t i = AuthAlgorithm(b);
    if (!b.Need(i, "key numbers (octet 4)")) return;
    b.Field("UAK number", Decimal(b.At(i) >> 4));
    b.Field("AC number", Decimal(b.At(i) & 0x0F));
}

// RAND, RES, RS: a number of octets.
void Number(ElementBody &b, size_t expected, const char *name) {
    if (b.Size() == 0) return b.Error(std::string(name) + " without octets");
    b.Field("Value", HexDump(b.Data(), b.Size()));
    if (b.Size() != expected && b.Size() != 2 * expected)
        b.Error(std::string(name) + " of " + Decimal(b.Size()) + " octets (" + Decimal(expected) + " expected)");
}
void Rand(ElementBody &b) { Number(b, 8, "RAND"); }
void Res(ElementBody &b) { Number(b, 4, "RES"); }
void Rs(ElementBody &b) { Number(b, 8, "RS"); }

void CipherInfo(ElementBody &b) {
    if (!b.Need(0, "cipher algorithm (octet 3)")) return;
    b.Field("Y/N", (b.At(0) & 0x80) ? "Enable ciphering" : "Disable ciphering");
    const unsigned algorithm = b.At(0) & 0x7F;
    Coded(b, "Cipher algorithm", kCipherAlgorithms, algorithm);
    size_t i = 1;
    if (algorithm == 0x7F) {
        if (!b.Need(1, "proprietary algorithm identifier (octet 3a)")) return;
        b.Field("Proprietary algorithm identifier", HexByte(b.At(1)));
        i = 2;
    }
    if (!b.Need(i, "cipher key type (octet 4)")) return;
    Coded(b, "Cipher key type", kCipherKeyTypes, b.At(i) >> 4);
    b.Field("Cipher key number", Decimal(b.At(i) & 0x0F));
}

void IdentityType(ElementBody &b) {
    if (!b.Need(0, "identity group (octet 3)")) return;
    const unsigned group = b.At(0) & 0x0F;
    Coded(b, "Identity group", kIdentityGroups, group);
    if (!b.Need(1, "type (octet 4)")) return;
    const unsigned type = b.At(1) & 0x7F;
    if (group == 0x0) Coded(b, "Type", kPortableIdentityTypes, type);
    else if (group == 0x4) Coded(b, "Type", kFixedIdentityTypes, type);
    else if (group == 0x1) Coded(b, "Type", kNwkIdentityTypes, type);
    else b.Field("Type", HexByte(static_cast<uint8_t>(type)));
}

void InfoType(ElementBody &b) {
    if (b.Size() == 0) return b.Error("INFO-TYPE without a parameter type");
    for (size_t i = 0; i < b.Size(); ++i) {
        Listed(b, "Parameter type", kInfoParameterTypes, b.At(i) & 0x7F);
        if ((b.At(i) & 0x80) && i + 1 < b.Size()) {
            b.Error("Parameter types after the last one (extension bit 1)");
            break;
        }
    }
}

void Characters(ElementBody &b) { b.Field("Characters", "\"" + SafeText(b.Data(), b.Size()) + "\""); }

void PartyNumber(ElementBody &b, bool calling) {
    if (!b.Need(0, "type of number (octet 3)")) return;
    const uint8_t o = b.At(0);
    Coded(b, "Type of number", kNumberTypes, (o >> 4) & 0x07);
    Coded(b, "Numbering plan identification", kNumberingPlans, o & 0x0F);
    size_t i = 1;
    if (!(o & 0x80)) {
        if (!calling) {
            b.Error("Extension bit of octet 3 is 0: no octet 3a in this element");
        } else if (b.Need(1, "presentation and screening (octet 3a)")) {
            Coded(b, "Presentation indicator", kPresentationIndicators, (b.At(1) >> 5) & 0x03);
            Coded(b, "Screening indicator", kScreeningIndicators, b.At(1) & 0x03);
            LastOfGroup(b, 1, "octet 3a");
        }
        i = 2;
    }
    if (i <= b.Size()) b.Field("Number digits", "\"" + SafeText(b.Data() + i, b.Size() - std::min(i, b.Size())) + "\"");
}
void CalledPartyNumber(ElementBody &b) { PartyNumber(b, false); }
void CallingPartyNumber(ElementBody &b) { PartyNumber(b, true); }

void PartyName(ElementBody &b) {
    if (!b.Need(0, "presentation, alphabet and screening (octet 3)")) return;
    const uint8_t o = b.At(0);
    Coded(b, "Presentation indicator", kNamePresentationIndicators, (o >> 5) & 0x03);
    Listed(b, "Used alphabet", kAlphabets, (o >> 2) & 0x07);
    Coded(b, "Screening indicator", kScreeningIndicators, o & 0x03);
    b.Field("Name", "\"" + SafeText(b.Data() + 1, b.Size() - 1) + "\"");
}

void ProgressIndicator(ElementBody &b) {
    if (!b.Need(0, "coding standard and location (octet 3)")) return;
    Coded(b, "Coding standard", kProgressCodingStandards, (b.At(0) >> 5) & 0x03);
    Coded(b, "Location", kProgressLocations, b.At(0) & 0x0F);
    if (!b.Need(1, "progress description (octet 4)")) return;
    Listed(b, "Progress description", kProgressDescriptions, b.At(1) & 0x7F);
}

void Facility(ElementBody &b) {
    if (!b.Need(0, "service discriminator (octet 3)")) return;
    Listed(b, "Service discriminator", kServiceDiscriminators, b.At(0) & 0x1F);
    b.HexFrom(1, "Components");
}

void RejectReason(ElementBody &b) {
    if (!b.Need(0, "reject reason code (octet 3)")) return;
    Coded(b, "Reject reason", kRejectReasons, b.At(0));
}

void ModelIdentifier(ElementBody &b) {
    if (!b.Need(2, "model code (MODIC)")) return;
    b.Field("Manufacturer code (MANIC)", Hex(b.At(0) << 8 | b.At(1), 4));
    b.Field("Model code (MODIC)", HexByte(b.At(2)));
    b.HexFrom(3, "Further octets");
}

void EscapeToProprietary(ElementBody &b) {
    if (!b.Need(0, "discriminator type (octet 3)")) return;
    const unsigned type = b.At(0) & 0x7F;
    if (type != 0x01) {
        b.Field("Discriminator type", Hex(type, 2) + " (reserved)");
        b.Error("Discriminator type: reserved value " + Hex(type, 2));
        return b.HexFrom(1, "Contents");
    }
    b.Field("Discriminator type", "EMC");
    if (!b.Need(2, "equipment manufacturer's code (octets 4, 5)")) return;
    b.Field("Equipment manufacturer's code (EMC)", Hex(b.At(1) << 8 | b.At(2), 4));
    b.HexFrom(3, "Contents");
}

void CodecList(ElementBody &b) {
    if (!b.Need(0, "negotiation indicator (octet 3)")) return;
    Coded(b, "Negotiation indicator", kNegotiationIndicators, (b.At(0) >> 4) & 0x07);
    size_t i = 1;
    int n = 0;
    for (; i + 2 < b.Size(); i += 3) {
        ++n;
        b.Field("Codec " + Decimal(n), "");
        Listed(b, "  Codec identifier", kCodecs, b.At(i) & 0x7F);
        Coded(b, "  MAC and DLC service", kCodecServices, b.At(i + 1) & 0x0F);
        Coded(b, "  C-plane routing", kCodecRouting, (b.At(i + 2) >> 4) & 0x07);
        Coded(b, "  Slot size", kSlotSizes, b.At(i + 2) & 0x0F);
        if (b.At(i + 2) & 0x80) {
            i += 3;
            break;
        }
    }
    if (n == 0) b.Error("CODEC-LIST without a codec");
    if (i < b.Size()) {
        b.Error("Codec description cut short or octets after the last codec");
        b.HexFrom(i, "Further octets");
    }
}

void EventsNotification(ElementBody &b) {
    size_t i = 0;
    int n = 0;
    while (i < b.Size()) {
        ++n;
        Listed(b, "Event type", kEventTypes, b.At(i) & 0x7F);
        if (!b.Need(i + 1, "event sub type")) return;
        b.Field("Event sub type", Decimal(b.At(i + 1) & 0x7F));
        if (!b.Need(i + 2, "event multiplicity")) return;
        b.Field("Event multiplicity", Decimal(b.At(i + 2) & 0x7F));
        i += 3;
    }
    if (n == 0) b.Error("EVENTS-NOTIFICATION without an event");
}

void SetupCapability(ElementBody &b) {
    if (!b.Need(0, "setup capability (octet 3)")) return;
    Listed(b, "Page capability", kPageCapabilities, (b.At(0) >> 2) & 0x03);
    Coded(b, "Setup capability", kSetupCapabilities, b.At(0) & 0x03);
    b.HexFrom(1, "Further octets");
}

void IwuToIwu(ElementBody &b) {
    if (!b.Need(0, "protocol discriminator (octet 3)")) return;
    b.Field("S/R", (b.At(0) & 0x40) ? "Transmission of message" : "Rejection of message");
    Listed(b, "Protocol discriminator", kIwuDiscriminators, b.At(0) & 0x3F);
    b.HexFrom(1, "Information");
}

void FeatureActivate(ElementBody &b) {
    if (!b.Need(0, "feature (octet 3)")) return;
    Listed(b, "Feature", kFeatures, b.At(0) & 0x7F);
    b.HexFrom(1, "Parameters");
}

void FeatureIndicate(ElementBody &b) {
    if (!b.Need(0, "feature (octet 3)")) return;
    Listed(b, "Feature", kFeatures, b.At(0) & 0x7F);
    if (!b.Need(1, "status indicator (octet 4)")) return;
    b.Field("Status indicator", HexByte(b.At(1)));
    b.HexFrom(2, "Parameters");
}

// CALL-ATTRIBUTES: the attributes of the call's C-plane and U-plane. The network layer
// attributes and the C-plane class are shown as their numbers.
void CallAttributes(ElementBody &b) {
    static constexpr ValueName kCodingStandards[] = {{0x0, "DECT standard coding"}};
    static constexpr ValueName kSymmetries[] = {{0x0, "Symmetric"}, {0x2, "Asymmetric"}};
    if (!b.Need(0, "coding standard (octet 3)")) return;
    Listed(b, "Coding standard", kCodingStandards, (b.At(0) >> 5) & 0x03);
    b.Field("Network layer attributes", Decimal(b.At(0) & 0x1F));
    if (!b.Need(1, "C-plane class and routing (octet 4)")) return;
    b.Field("C-plane class", Decimal((b.At(1) >> 4) & 0x07));
    Listed(b, "C-plane routing", kCodecRouting, b.At(1) & 0x0F);
    if (!b.Need(2, "U-plane symmetry and LU identification (octet 5)")) return;
    Listed(b, "U-plane symmetry", kSymmetries, (b.At(2) >> 5) & 0x03);
    // The DLC service: LU1 to LU16 by their number.
    const unsigned lu = b.At(2) & 0x1F;
    if (lu >= 1 && lu <= 16) b.Field("LU identification", ShortText("LU").AddDecimal(lu));
    else b.Field("LU identification", Hex(lu, 2) + " (not listed)");
    b.HexFrom(3, "Further octets");
}

void ConnectionAttributes(ElementBody &b) {
    if (!b.Need(0, "symmetry and connection identity (octet 3)")) return;
    b.Field("Symmetry", Decimal((b.At(0) >> 4) & 0x07));
    b.Field("Connection identity", Decimal(b.At(0) & 0x0F));
    b.HexFrom(1, "Further octets");
}

void ServiceChangeInfo(ElementBody &b) {
    if (!b.Need(0, "change mode (octet 3)")) return;
    b.Field("Coding standard", Decimal((b.At(0) >> 5) & 0x03));
    b.Field("M (master)", (b.At(0) & 0x10) ? "Receiving side" : "Initiating side");
    b.Field("Change mode", Hex(b.At(0) & 0x0F, 1));
    b.HexFrom(1, "Further octets");
}

void WindowSize(ElementBody &b) {
    if (!b.Need(0, "window size (octet 3)")) return;
    b.Field("Window size value (forward)", Decimal(b.At(0) & 0x7F));
    b.HexFrom(1, "Further octets");
}

void TransitDelay(ElementBody &b) {
    if (!b.Need(0, "forward delay (octet 3)")) return;
    b.Field("Forward delay", Decimal(b.At(0)));
    if (b.Size() > 1) b.Field("Backward delay", Decimal(b.At(1)));
    b.HexFrom(2, "Further octets");
}

void Duration(ElementBody &b) {
    if (!b.Need(0, "lock and time limits (octet 3)")) return;
    Listed(b, "Lock limits", kLockLimits, (b.At(0) >> 4) & 0x07);
    Listed(b, "Time limits", kTimeLimits, b.At(0) & 0x0F);
    if (b.Size() > 1) b.Field("Time duration", Decimal(b.At(1)));
    b.HexFrom(2, "Further octets");
}

// TIME-DATE: octet 3 says what follows (time, date or both) and what it means; the date is
// year, month and day, the time hour, minute, second and time zone, one octet each in
// semi-octets (the first digit in bits 4-1, the second in bits 8-5). The time zone counts
// quarters of an hour from GMT; bit 4 is its sign.
void TimeDate(ElementBody &b) {
    if (!b.Need(0, "coding and interpretation (octet 3)")) return;
    const unsigned coding = b.At(0) >> 6;
    const unsigned meaning = b.At(0) & 0x3F;
    Coded(b, "Coding", kTimeDateCodings, coding);
    Listed(b, "Interpretation", kTimeDateInterpretations, meaning);
    const bool duration = meaning == 0x01;
    size_t i = 1;
    // One semi-octet pair as a number of two digits; limits apply to a point in time only.
    auto pair = [&](const char *name, unsigned first, unsigned last) {
        const uint8_t o = b.At(i++);
        const unsigned low = o & 0x0F, high = o >> 4;
        if (low > 9 || high > 9) {
            b.Field(name, Hex(o, 2) + " (not two decimal digits)");
            b.Error(ShortText(name) + ": " + Hex(o, 2) + " is not two decimal digits");
            return;
        }
        const unsigned v = low * 10 + high;
        b.Field(name, ShortText().AddDecimal(v, 2));
        if (!duration && (v < first || v > last))
            b.Error(ShortText(name) + " " + ShortText().AddDecimal(v, 2) + " out of range (" + Decimal(first) + " to " +
                    Decimal(last) + ")");
    };
    if (coding & 0x2) {
        if (!b.Need(i + 2, "date (year, month, day)")) return;
        pair("Year", 0, 99);
        pair("Month", 1, 12);
        pair("Day", 1, 31);
    }
    if (coding & 0x1) {
        if (!b.Need(i + 3, "time (hour, minute, second, time zone)")) return;
        pair("Hour", 0, 23);
        pair("Minute", 0, 59);
        pair("Second", 0, 59);
        const uint8_t zone = b.At(i++);
        const unsigned tens = zone & 0x07, units = zone >> 4;
        if (units > 9) {
            b.Field("Time zone", Hex(zone, 2) + " (not decimal)");
            b.Error("Time zone: " + Hex(zone, 2).str() + " is not a number of quarters of an hour");
        } else {
            const unsigned quarters = tens * 10 + units;
            ShortText text("GMT");
            text.Add(zone & 0x08 ? '-' : '+').AddDecimal(quarters / 4, 2).Add(':').AddDecimal(quarters % 4 * 15, 2);
            b.Field("Time zone", text.Add(" (").AddDecimal(quarters).Add(" quarters of an hour)"));
        }
    }
    b.HexFrom(i, "Further octets");
}

void CallIdentity(ElementBody &b) { b.Field("Identity", HexDump(b.Data(), b.Size())); }

void ConnectionIdentity(ElementBody &b) {
    for (size_t i = 0; i < b.Size(); ++i)
        b.Field("Connection " + Decimal(i + 1), "U-plane link " + Decimal(b.At(i) >> 4) + ", connection " +
                                                    Decimal(b.At(i) & 0x0F));
}

// NETWORK-PARAMETER: a discriminator octet naming the parameter, then the parameter.
void NetworkParameter(ElementBody &b) {
    if (!b.Need(0, "discriminator (octet 3)")) return;
    Listed(b, "Discriminator", kNetworkParameters, b.At(0));
    b.HexFrom(1, "Data");
}

void OctetsOnly(ElementBody &b) { b.HexFrom(0, "Octets"); }

using Decoder = void (*)(ElementBody &);
struct ElementDecoder {
    uint8_t id;
    Decoder decode;
};

// clang-format off
constexpr ElementDecoder kDecoders[] = {
    {0x01, InfoType}, {0x02, IdentityType}, {0x05, PortableIdentity}, {0x06, FixedIdentity},
    {0x07, LocationArea}, {0x09, NwkAssignedIdentity}, {0x0A, AuthType}, {0x0B, AllocationType},
    {0x0C, Rand}, {0x0D, Res}, {0x0E, Rs}, {0x12, OctetsOnly}, {0x13, CallAttributes},
    {0x16, ServiceChangeInfo}, {0x17, ConnectionAttributes}, {0x19, CipherInfo}, {0x1A, CallIdentity},
    {0x1B, ConnectionIdentity}, {0x1C, Facility}, {0x1E, ProgressIndicator}, {0x23, TimeDate},
    {0x28, Characters}, {0x2C, Characters}, {0x38, FeatureActivate}, {0x39, FeatureIndicate},
    {0x41, NetworkParameter}, {0x60, RejectReason}, {0x62, SetupCapability}, {0x63, DecodeTerminalCapability},
    {0x64, OctetsOnly}, {0x65, OctetsOnly}, {0x66, TransitDelay}, {0x67, WindowSize},
    {0x6C, CallingPartyNumber}, {0x6D, PartyName}, {0x70, CalledPartyNumber}, {0x72, Duration},
    {0x73, PartyName}, {0x76, OctetsOnly}, {0x77, IwuToIwu}, {0x78, ModelIdentifier}, {0x7A, OctetsOnly},
    {0x7B, EscapeToProprietary}, {0x7C, CodecList}, {0x7D, EventsNotification}, {0x7E, OctetsOnly},
};
// clang-format on

// The decoders by identifier, looked up once per element.
constexpr auto kDecoderIndex = [] {
    std::array<Decoder, 128> index{};
    for (const ElementDecoder &d : kDecoders) index[d.id & 0x7F] = d.decode;
    return index;
}();

}  // namespace

bool DecodeVariableElement(uint8_t id, ElementBody &body) {
    const Decoder decode = id < 0x80 ? kDecoderIndex[id] : nullptr;
    if (!decode) return false;
    decode(body);
    return true;
}

void DecodeDoubleOctetElement(uint8_t id, uint8_t value, DecodedText &out) {
    ElementBody b(&value, 1, out);
    switch (id) {
    case kBasicService:
        Coded(b, "Call class", kCallClasses, value >> 4);
        Coded(b, "Basic service", kBasicServices, value & 0x0F);
        break;
    case kReleaseReason: Coded(b, "Release reason", kReleaseReasons, value); break;
    case kSignal: Coded(b, "Signal value", kSignals, value); break;
    case kTimerRestart: Coded(b, "Restart value", kTimerRestarts, value); break;
    case kTestHookControl: Coded(b, "Hook value", kTestHookControls, value); break;
    case kSingleDisplay:
    case kSingleKeypad: Characters(b); break;
    default: b.Field("Contents", HexByte(value)); break;
    }
}

}  // namespace vexa::dect
