// The calling party numbers of a trace in the order they first appeared, each with the
// first message that carried it: the filter lists them, and a chosen one finds its call.
// A trace of a million lines has a hundred thousand numbers and more, nearly all new when
// they come: the table is one flat array of slots, where a new number costs one probe of
// memory and a known one two.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::isdn {

class CallingNumberIndex {
public:
    // Records that message index carried number, unless an earlier message did; true when
    // the number is new.
    bool Add(std::string_view number, int32_t index);
    // The first message that carried number, or -1.
    int32_t FirstWith(std::string_view number) const;
    size_t Count() const { return m_texts.size(); }
    // The i-th number in the order of first appearance.
    const std::string &Number(size_t i) const { return m_texts[i]; }
    void Clear();

private:
    // A slot holds the high half of the number's hash and its place + 1; 0 is empty.
    static constexpr uint64_t kHashBits = 0xFFFFFFFF00000000ull;
    static constexpr uint64_t kPlaceBits = 0x00000000FFFFFFFFull;

    // The slot that holds number, or the empty slot where it would go.
    size_t SlotOf(std::string_view number, uint64_t hash) const;
    // Twice the slots (at least twice as many slots as numbers are kept).
    void Grow();

    std::deque<std::string> m_texts;  // never moved
    std::vector<uint64_t> m_hashes;   // by place: the slots are made again from them
    std::vector<int32_t> m_first;     // by place
    std::vector<uint64_t> m_slots;    // a power of two of them
};

}  // namespace vexa::isdn
