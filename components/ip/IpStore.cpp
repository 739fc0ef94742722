#include "IpStore.h"

#include <cstring>

namespace vexa::ip {

uint32_t TextPool::Intern(std::string_view text) {
    for (size_t i = 0; i < kRecent; ++i)
        if (m_recentTexts[i].size() == text.size() && m_recentTexts[i] == text && m_recentTexts[i].data()) return m_recentIds[i];
    uint32_t id = 0;
    if (auto it = m_ids.find(text); it != m_ids.end()) {
        id = it->second;
    } else {
        id = static_cast<uint32_t>(m_texts.size());
        m_texts.emplace_back(text);
        m_ids.emplace(m_texts.back(), id);
    }
    m_recentTexts[m_nextRecent] = m_texts[id];
    m_recentIds[m_nextRecent] = id;
    m_nextRecent = (m_nextRecent + 1) % kRecent;
    return id;
}

void TextPool::Clear() {
    for (std::string_view &t : m_recentTexts) t = {};
    m_nextRecent = 0;
    m_ids.clear();
    m_texts.clear();
}

std::span<const uint8_t> OctetArena::Add(const uint8_t *data, size_t size) {
    if (size == 0) return {};
    if (size > kBlock) {
        m_large.emplace_back(new uint8_t[size]);
        std::memcpy(m_large.back().get(), data, size);
        return {m_large.back().get(), size};
    }
    if (kBlock - m_used < size) {
        m_blocks.push_back(MakeLargeBlock(kBlock));
        m_used = 0;
    }
    uint8_t *p = reinterpret_cast<uint8_t *>(m_blocks.back().get()) + m_used;
    std::memcpy(p, data, size);
    m_used += size;
    return {p, size};
}

void OctetArena::Clear() {
    m_blocks.clear();
    m_large.clear();
    m_used = kBlock;
}

}  // namespace vexa::ip
