#include "DectMessageStore.h"

#include <algorithm>
#include <cstring>

namespace vexa::dect {

int32_t DectMessageStore::Add(const StoredDect &m) {
    Compact c{};
    c.sequence = static_cast<int16_t>(m.sequence);
    c.status = static_cast<int8_t>(m.status);
    c.transactionFlag = static_cast<int8_t>(m.transactionFlag);
    c.valid = m.valid;
    c.hasData = m.hasData;
    std::memset(c.time, ' ', sizeof c.time);
    std::memcpy(c.time, m.time.data(), std::min(m.time.size(), sizeof c.time));
    std::string_view texts[kTexts] = {m.direction,  m.signalName,    m.messageName, m.originator,
                                      m.destination, m.discriminator, m.scpMessage,  m.scpId,
                                      m.transactionValue, m.userPart};
    size_t need = m.octets.size();
    for (int i = 0; i < kTexts; ++i) {
        texts[i] = texts[i].substr(0, std::min<size_t>(texts[i].size(), 0xFFFF));
        c.lengths[i] = static_cast<uint16_t>(texts[i].size());
        need += texts[i].size();
    }
    if (m_chunkUsed + need > m_chunkSize) {
        m_chunkSize = std::max(need, m_chunks.empty() ? kFirstBlock : std::min(kBlock, 2 * m_chunkSize));
        m_chunks.push_back(MakeLargeBlock(m_chunkSize));
        m_chunkUsed = 0;
    }
    char *to = m_chunks.back().get() + m_chunkUsed;
    c.chunk = static_cast<uint32_t>(m_chunks.size() - 1);
    c.at = static_cast<uint32_t>(m_chunkUsed);
    c.octetCount = static_cast<uint32_t>(m.octets.size());
    for (std::string_view t : texts) {
        if (!t.empty()) std::memcpy(to, t.data(), t.size());
        to += t.size();
    }
    if (!m.octets.empty()) std::memcpy(to, m.octets.data(), m.octets.size());
    m_chunkUsed += need;
    const size_t slot = static_cast<size_t>(m_count) % kRecordsPerPage;
    if (slot == 0) m_recordPages.push_back(MakeLargeBlock(kRecordsPerPage * sizeof(Compact)));
    std::memcpy(m_recordPages.back().get() + slot * sizeof(Compact), &c, sizeof c);
    const int32_t index = ++m_count;
    if (m.problems && !m.problems->empty()) m_problems.emplace(index, *m.problems);
    const uint16_t seq = static_cast<uint16_t>(m.sequence);
    if (seq >= m_latestBySequence.size()) m_latestBySequence.resize(std::max<size_t>(seq + 1u, 2 * m_latestBySequence.size()), 0);
    m_latestBySequence[seq] = index;
    return index;
}

bool DectMessageStore::Get(int32_t index, StoredDect &out) const {
    if (index < 1 || index > Count()) return false;
    const Compact &c = Record(index);
    out.sequence = c.sequence;
    out.status = c.status;
    out.valid = c.valid;
    out.hasData = c.hasData;
    out.transactionFlag = c.transactionFlag;
    out.time = std::string_view(c.time, sizeof c.time);
    const char *p = m_chunks[c.chunk].get() + c.at;
    std::string_view *texts[kTexts] = {&out.direction,  &out.signalName,    &out.messageName, &out.originator,
                                       &out.destination, &out.discriminator, &out.scpMessage,  &out.scpId,
                                       &out.transactionValue, &out.userPart};
    for (int i = 0; i < kTexts; ++i) {
        *texts[i] = std::string_view(p, c.lengths[i]);
        p += c.lengths[i];
    }
    out.octets = std::span<const uint8_t>(reinterpret_cast<const uint8_t *>(p), c.octetCount);
    static const std::vector<std::string> kNone;
    auto found = m_problems.find(index);
    out.problems = found == m_problems.end() ? &kNone : &found->second;
    return true;
}

int32_t DectMessageStore::LatestOfSequence(int seq) const {
    const uint16_t at = static_cast<uint16_t>(seq);
    return at < m_latestBySequence.size() ? m_latestBySequence[at] : 0;
}

void DectMessageStore::Index() const {
    StoredDect m;
    auto note = [](IndexList &list, int32_t index) {
        if (list.empty() || list.back() != index) list.push_back(index);
    };
    for (; m_indexed < Count(); ++m_indexed) {
        const int32_t index = m_indexed + 1;
        Get(index, m);
        note(m_byText[std::string(m.direction)], index);
        note(m_byText[std::string(m.messageName)], index);
        note(m_byText[std::string(m.signalName)], index);
        if (!m.scpId.empty()) {
            auto [it, added] = m_byScpId.try_emplace(std::string(m.scpId));
            if (added) m_scpIds.push_back(it->first);
            note(it->second, index);
        }
        if (m.transactionFlag == 0 || m.transactionFlag == 1) {
            if (m_byFlag[m.transactionFlag].empty()) m_flags.push_back(m.transactionFlag);
            m_byFlag[m.transactionFlag].push_back(index);
        }
    }
}

int32_t DectMessageStore::NextIn(const IndexList *list, int32_t after) {
    if (!list) return -1;
    auto pos = std::upper_bound(list->begin(), list->end(), after);
    return pos == list->end() ? -1 : *pos;
}

const DectMessageStore::IndexList *DectMessageStore::ListOf(const std::unordered_map<std::string, IndexList> &map,
                                                            std::string_view key) {
    auto it = map.find(std::string(key));
    return it == map.end() ? nullptr : &it->second;
}

int32_t DectMessageStore::FindNextByText(std::string_view text, int32_t after) const {
    Index();
    return NextIn(ListOf(m_byText, text), after);
}

int32_t DectMessageStore::FindNextByScpId(std::string_view id, int32_t after) const {
    if (id.empty()) return -1;
    Index();
    return NextIn(ListOf(m_byScpId, id), after);
}

int32_t DectMessageStore::FindNextByTransactionFlag(std::string_view flag, int32_t after) const {
    if (flag != "0" && flag != "1") return -1;
    Index();
    return NextIn(&m_byFlag[flag == "1" ? 1 : 0], after);
}

int32_t DectMessageStore::NextScpId(int32_t previous, std::string &id) const {
    Index();
    const int32_t next = previous < 0 ? 0 : previous + 1;
    if (next >= static_cast<int32_t>(m_scpIds.size())) return -1;
    id = m_scpIds[static_cast<size_t>(next)];
    return next;
}

int32_t DectMessageStore::NextTransactionFlag(int32_t previous, std::string &flag) const {
    Index();
    const int32_t next = previous < 0 ? 0 : previous + 1;
    if (next >= static_cast<int32_t>(m_flags.size())) return -1;
    flag = std::to_string(m_flags[static_cast<size_t>(next)]);
    return next;
}

void DectMessageStore::Clear() {
    m_recordPages.clear();
    m_count = 0;
    m_chunks.clear();
    m_chunkSize = 0;
    m_chunkUsed = 0;
    m_problems.clear();
    m_latestBySequence.clear();
    m_indexed = 0;
    m_byText.clear();
    m_byScpId.clear();
    m_byFlag[0].clear();
    m_byFlag[1].clear();
    m_scpIds.clear();
    m_flags.clear();
}

}  // namespace vexa::dect
