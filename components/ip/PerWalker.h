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
#include "PerBits.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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
    // Most octets put together from fragments for one message (fragments within fragments
    // are copied again).
    static constexpr size_t kMaxReassembled = 1u << 20;

    explicit PerWalker(DecodedText &out, int indent = 0);

    // Decodes size octets as a value of type (an index into kPerTypes) whose field is named
    // label. Returns false when anything was wrong (the text says what, in "!!!" marks).
    bool Decode(int32_t type, const uint8_t *data, size_t size, std::string_view label);

    // The alternatives chosen at the first levels of the value: "request", "terminalCapabilitySet".
    std::string_view FirstChoice() const { return m_choices[0]; }
    std::string_view SecondChoice() const { return m_choices[1]; }
    // Remembers the alternative first chosen for a CHOICE component named field
    // ("h323-message-body"), given by Watched() after Decode.
    void Watch(std::string_view field) { m_watch = field; }
    std::string_view Watched() const { return m_watched; }

private:
    using Bits = PerBits;
    bool Value(Bits &in, int32_t type, std::string_view label, int depth);
    bool Sequence(Bits &in, int32_t type, std::string_view label, int depth);
    bool Choice(Bits &in, int32_t type, std::string_view label, int depth);
    bool SequenceOf(Bits &in, int32_t type, std::string_view label, int depth);
    bool Items(Bits &in, int32_t element, size_t first, size_t count, int depth);
    bool FragmentedItems(Bits &in, int32_t element, size_t first, std::string_view label, int depth);
    bool Integer(Bits &in, int32_t type, std::string &text);
    bool CharString(Bits &in, int32_t type, std::string &text);
    bool OctetString(Bits &in, int32_t type, const uint8_t *&octets, size_t &count, std::string &why);
    bool BitString(Bits &in, int32_t type, std::string &text);
    // The units of a length determinant that may be fragmented: octets (unitBits 8), bits
    // or characters. units is what the determinant gave; when it is a fragment, the rest is
    // read and all are put together, and from is set to read them. False with why set when
    // anything is wrong.
    bool Units(Bits &in, size_t units, bool fragment, size_t unitBits, Bits &from, size_t &total, std::string &why);
    bool Contained(int32_t type, const uint8_t *octets, size_t count, std::string_view label, int depth);
    bool Fail(Bits &in, std::string_view label, std::string_view what, int depth);
    void Line(int depth, std::string_view label, std::string_view value) {
        m_out->IndentedLine(static_cast<size_t>(2 * (depth + m_baseIndent)), label, value);
    }
    void Heading(int depth, std::string_view label) { Line(depth, label, {}); }
    // A text of this call's own, kept while the values within are decoded (labels of
    // alternatives and items).
    std::string &Label() { return m_room.labels[static_cast<size_t>(m_nesting)]; }

    DecodedText *m_out;
    int m_baseIndent;
    long m_values = 0;
    int m_nesting = 0;
    bool m_failed = false;
    static constexpr int kChainDone = 99;
    int m_chain = 0;  // how many CHOICEs the value began with so far (kChainDone: no more)
    std::string_view m_choices[2];
    std::string_view m_watch, m_watched;
    uint8_t m_unaligned[2] = {};
    const uint8_t *m_top = nullptr;  // the octets given to Decode
    size_t m_topSize = 0;
    // Texts whose room is kept from one message to the next (one set per thread).
    struct Room {
        std::string value;  // the value of the line being written
        std::string chars;  // the characters of a string before they are made safe
        std::vector<std::string> labels = std::vector<std::string>(kMaxNesting + 2);
    };
    static Room &ThreadRoom();
    Room &m_room;
    std::string &m_value;
    std::vector<std::vector<uint8_t>> m_pieces;  // values put together from fragments
    size_t m_reassembled = 0;
};

}  // namespace vexa::ip
