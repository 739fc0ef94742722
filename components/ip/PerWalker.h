// Decodes a value of one ASN.1 type in the aligned variant of the Packed Encoding Rules
// (X.691) by walking the type tables of PerSchema.h, and writes every field with its ASN.1
// name and value, nested by indentation. Extension additions that the tables know are
// decoded; others are skipped by their open-type length. Octet strings that carry another
// encoded type (fastStart, h245Control) are decoded as that type.
//
// Bad input never leads further than the octets given: nesting is limited, every count is
// checked against the bits left, and the number of fields written per message is bounded.
#pragma once

#include "DecodedText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vexa::ip {

using component::DecodedText;

class PerWalker {
public:
    // Deepest nesting of types followed (the modules need about 30).
    static constexpr int kMaxDepth = 64;
    // Deepest nesting of calls, CHOICE alternatives included.
    static constexpr int kMaxNesting = 192;
    // Most values written for one message.
    static constexpr long kMaxValues = 20000;

    explicit PerWalker(DecodedText &out, int indent = 0) : m_out(out), m_baseIndent(indent) {}

    // Decodes size octets as a value of type (an index into kPerTypes) whose field is named
    // label. Returns false when anything was wrong (the text says what, in "!!!" marks).
    bool Decode(int32_t type, const uint8_t *data, size_t size, std::string_view label);

    // The alternatives chosen at the first levels of the value: "request", "terminalCapabilitySet".
    const std::string &FirstChoice() const { return m_choices[0]; }
    const std::string &SecondChoice() const { return m_choices[1]; }
    // Remembers the alternative first chosen for a CHOICE component named field
    // ("h323-message-body"), given by Watched() after Decode.
    void Watch(std::string field) { m_watch = std::move(field); }
    const std::string &Watched() const { return m_watched; }

private:
    struct Bits;
    bool Value(Bits &in, int32_t type, std::string_view label, int depth);
    bool Sequence(Bits &in, int32_t type, std::string_view label, int depth);
    bool Choice(Bits &in, int32_t type, std::string_view label, int depth);
    bool SequenceOf(Bits &in, int32_t type, std::string_view label, int depth);
    bool Integer(Bits &in, int32_t type, long long &value, std::string &text);
    bool CharString(Bits &in, int32_t type, std::string &text);
    bool OctetString(Bits &in, int32_t type, const uint8_t *&octets, size_t &count);
    bool BitString(Bits &in, int32_t type, std::string &text);
    bool Contained(int32_t type, const uint8_t *octets, size_t count, std::string_view label, int depth);
    bool Fail(Bits &in, std::string_view label, std::string_view what, int depth);
    void Line(int depth, std::string_view label, std::string_view value);
    void Heading(int depth, std::string_view label);

    DecodedText &m_out;
    int m_baseIndent;
    long m_values = 0;
    int m_nesting = 0;
    bool m_failed = false;
    static constexpr int kChainDone = 99;
    int m_chain = 0;  // how many CHOICEs the value began with so far (kChainDone: no more)
    std::string m_choices[2];
    std::string m_watch, m_watched;
    uint8_t m_unaligned[2] = {};
    const uint8_t *m_top = nullptr;  // the octets given to Decode
    size_t m_topSize = 0;
    std::string m_line;
};

}  // namespace vexa::ip
