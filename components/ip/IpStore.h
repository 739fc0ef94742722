// Storage of the IP component's messages for a whole run: the texts that repeat (directions,
// signal names, message names, equipment, transport lines) kept once each, and the payload
// octets in large shared blocks, so that a run of a million lines keeps its messages small.
#pragma once

#include "LargeMemory.h"

#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vexa::ip {

// Texts kept once, by number.
class TextPool {
public:
    uint32_t Intern(std::string_view text);
    std::string_view Get(uint32_t id) const { return m_texts[id]; }
    void Clear();

private:
    std::deque<std::string> m_texts;  // never moved: the map's keys point into them
    std::unordered_map<std::string_view, uint32_t> m_ids;
    // The texts asked for last (a signal's direction, name and equipment repeat), looked at
    // before the map.
    static constexpr size_t kRecent = 8;
    std::string_view m_recentTexts[kRecent];
    uint32_t m_recentIds[kRecent] = {};
    size_t m_nextRecent = 0;
};

// Octets kept until Clear, in blocks of a few megabytes.
class OctetArena {
public:
    std::span<const uint8_t> Add(const uint8_t *data, size_t size);
    void Clear();

private:
    static constexpr size_t kBlock = 4u << 20;
    std::vector<LargeBlock> m_blocks;
    std::vector<std::unique_ptr<uint8_t[]>> m_large;  // payloads bigger than a block
    size_t m_used = kBlock;
};

}  // namespace vexa::ip
