// The ASN.1 types of H.225.0 (RAS and call signalling), H.235 and H.245 as tables that the
// aligned PER walker reads. The tables are generated at build time from the ITU-T modules
// by asn1_tables.py; this header says what their rows mean.
#pragma once

#include <cstdint>
#include <string_view>

namespace vexa::ip {

enum class PerKind : uint8_t {
    Null,
    Boolean,
    Integer,
    Enumerated,
    BitString,
    OctetString,
    CharString,   // IA5String, BMPString, NumericString, PrintableString, VisibleString
    GeneralString,
    ObjectId,
    Sequence,
    Choice,
    SequenceOf,
    OpenType,     // TYPE-IDENTIFIER.&Type: a length and octets, holding `element` when known
};

// Flags of a type.
enum PerFlag : uint16_t {
    kExtensible = 1 << 0,      // SEQUENCE, CHOICE, ENUMERATED with "..."
    kHasLower = 1 << 1,        // lower bound of the value or size range known
    kHasUpper = 1 << 2,        // upper bound known
    kRangeExtensible = 1 << 3, // the value or size constraint has "..."
    kIpAddress = 1 << 4,       // SEQUENCE of an IPv4 address (4 octets) and a port: shown a.b.c.d:port
    kIndexedAlphabet = 1 << 5, // characters are coded as their index in the permitted alphabet
};

// Flags of a SEQUENCE component.
enum PerComponentFlag : uint8_t {
    kOptional = 1 << 0,
};

struct PerType {
    std::string_view name; // the type's name in its module, or "" for a type written in place
    PerKind kind;
    uint8_t charBits;      // CharString: bits of one character in the aligned variant
    uint16_t flags;
    int64_t lower;         // INTEGER: the value range; strings and SEQUENCE OF: the size range
    int64_t upper;
    uint32_t first;        // SEQUENCE, CHOICE: first row in kPerComponents; ENUMERATED: first name
                           // in kPerNames; CharString: offset of the alphabet in kPerAlphabets
    uint16_t rootCount;    // root components, alternatives or enumerations (alphabet size for strings)
    uint16_t count;        // all known of them, extension additions included
    int32_t element;       // SEQUENCE OF: the element type; OCTET STRING and OpenType: the type its
                           // octets hold, or -1
};

struct PerComponent {
    std::string_view name;
    int32_t type;
    uint8_t flags;
};

extern const PerType kPerTypes[];
extern const uint32_t kPerTypeCount;
extern const PerComponent kPerComponents[];
extern const std::string_view kPerNames[];
extern const char kPerAlphabets[];

// The index of the named type of the modules, or -1.
int32_t FindPerType(std::string_view name);

}  // namespace vexa::ip
