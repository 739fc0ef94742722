#include "CallingNumberIndex.h"

#include <algorithm>
#include <functional>

namespace vexa::isdn {

namespace {
uint64_t HashOf(std::string_view number) { return std::hash<std::string_view>{}(number); }
}  // namespace

size_t CallingNumberIndex::SlotOf(std::string_view number, uint64_t hash) const {
    const size_t mask = m_slots.size() - 1;
    // The low bits of the hash choose the first slot, the high ones tell numbers apart
    // before their texts are compared.
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        const uint64_t slot = m_slots[at];
        if (slot == 0) return at;
        if ((slot & kHashBits) == (hash & kHashBits) && m_texts[(slot & kPlaceBits) - 1] == number) return at;
    }
}

void CallingNumberIndex::Grow() {
    std::vector<uint64_t> slots(std::max<size_t>(64, m_slots.size() * 2));
    const size_t mask = slots.size() - 1;
    for (size_t place = 0; place < m_hashes.size(); ++place) {
        size_t at = m_hashes[place] & mask;
        while (slots[at] != 0) at = (at + 1) & mask;
        slots[at] = (m_hashes[place] & kHashBits) | (place + 1);
    }
    m_slots.swap(slots);
}

bool CallingNumberIndex::Add(std::string_view number, int32_t index) {
    if ((m_texts.size() + 1) * 2 > m_slots.size()) Grow();
    const uint64_t hash = HashOf(number);
    const size_t at = SlotOf(number, hash);
    if (m_slots[at] != 0) return false;
    m_texts.emplace_back(number);
    m_hashes.push_back(hash);
    m_first.push_back(index);
    m_slots[at] = (hash & kHashBits) | m_texts.size();
    return true;
}

int32_t CallingNumberIndex::FirstWith(std::string_view number) const {
    if (m_slots.empty()) return -1;
    const uint64_t slot = m_slots[SlotOf(number, HashOf(number))];
    return slot == 0 ? -1 : m_first[(slot & kPlaceBits) - 1];
}

void CallingNumberIndex::Clear() {
    m_texts = {};
    m_hashes = {};
    m_first = {};
    m_slots = {};
}

}  // namespace vexa::isdn
