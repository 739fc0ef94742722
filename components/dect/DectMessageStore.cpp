#include "DectMessageStore.h"

#include <algorithm>
#include <cstring>

namespace vexa::dect {

DectMessageStore::DectMessageStore() {
    for (auto &recent : m_recent) std::fill(std::begin(recent), std::end(recent), kNoText);
}

uint32_t DectMessageStore::Intern(std::string_view text) {
    auto it = m_textIds.find(text);
    if (it != m_textIds.end()) return it->second;
    const uint32_t id = static_cast<uint32_t>(m_texts.size());
    // A deque never moves its strings, so the map's key can view the kept one.
    m_texts.emplace_back(text);
    m_textIds.emplace(m_texts.back(), id);
    return id;
}

void DectMessageStore::Note(std::vector<IndexList> &lists, uint32_t word, int32_t index) {
    if (lists.size() <= word) lists.resize(word + 1);
    IndexList &list = lists[word];
    if (list.empty() || list.back() != index) list.push_back(index);
}

int32_t DectMessageStore::Add(DectToStore m) {
    Compact c{};
    c.sequence = static_cast<int16_t>(m.sequence);
    c.status = static_cast<int8_t>(m.status);
    c.transactionFlag = static_cast<int8_t>(m.transactionFlag);
    c.valid = m.valid;
    c.hasData = m.hasData;
    std::memset(c.time, ' ', sizeof c.time);
    std::memcpy(c.time, m.time.data(), std::min(m.time.size(), sizeof c.time));
    const std::string_view words[kWords] = {m.direction,  m.signalName,    m.messageName, m.originator,
                                            m.destination, m.discriminator, m.scpMessage,  m.scpId,
                                            m.transactionValue, m.userPart};
    for (int i = 0; i < kWords; ++i) {
        // Most words repeat one of the last few of their kind: compared before hashing.
        // The one found moves to the front, so the list keeps the most used.
        uint32_t *recent = m_recent[i];
        int k = 0;
        while (k < kRecent && recent[k] != kNoText && m_texts[recent[k]] != words[i]) ++k;
        uint32_t id;
        if (k < kRecent && recent[k] != kNoText) {
            id = recent[k];
        } else {
            id = Intern(words[i]);
            k = kRecent - 1;
        }
        std::copy_backward(recent, recent + k, recent + k + 1);
        recent[0] = id;
        c.words[i] = id;
    }
    if (m_octets.empty() || m_octets.back().size() + m.octets.size() > m_octets.back().capacity()) {
        // Chunks start small (a short trace needs little) and double up to kOctetChunk.
        const size_t room = m_octets.empty() ? 4096 : std::min(kOctetChunk, 2 * m_octets.back().capacity());
        m_octets.emplace_back();
        m_octets.back().reserve(std::max(room, m.octets.size()));
    }
    std::vector<uint8_t> &chunk = m_octets.back();
    c.octetChunk = static_cast<uint32_t>(m_octets.size() - 1);
    c.octetsAt = static_cast<uint32_t>(chunk.size());
    c.octetCount = static_cast<uint32_t>(m.octets.size());
    chunk.insert(chunk.end(), m.octets.begin(), m.octets.end());
    m_messages.push_back(c);
    const int32_t index = Count();
    if (!m.problems.empty()) m_problems.emplace(index, std::move(m.problems));
    if (m_latestBySequence.empty()) m_latestBySequence.assign(65536, 0);
    m_latestBySequence[static_cast<uint16_t>(m.sequence)] = index;
    Note(m_byText, c.words[kDirection], index);
    Note(m_byText, c.words[kMessageName], index);
    Note(m_byText, c.words[kSignalName], index);
    if (!m.scpId.empty()) {
        if (m_byScpId.size() <= c.words[kScpId] || m_byScpId[c.words[kScpId]].empty()) m_scpIds.push_back(c.words[kScpId]);
        Note(m_byScpId, c.words[kScpId], index);
    }
    if (m.transactionFlag == 0 || m.transactionFlag == 1) {
        if (m_byFlag[m.transactionFlag].empty()) m_flags.push_back(m.transactionFlag);
        m_byFlag[m.transactionFlag].push_back(index);
    }
    return index;
}

bool DectMessageStore::Get(int32_t index, StoredDect &out) const {
    if (index < 1 || index > Count()) return false;
    const Compact &c = m_messages[static_cast<size_t>(index - 1)];
    out.sequence = c.sequence;
    out.status = c.status;
    out.valid = c.valid;
    out.hasData = c.hasData;
    out.transactionFlag = c.transactionFlag;
    out.time = std::string_view(c.time, sizeof c.time);
    out.direction = m_texts[c.words[kDirection]];
    out.signalName = m_texts[c.words[kSignalName]];
    out.messageName = m_texts[c.words[kMessageName]];
    out.originator = m_texts[c.words[kOriginator]];
    out.destination = m_texts[c.words[kDestination]];
    out.discriminator = m_texts[c.words[kDiscriminator]];
    out.scpMessage = m_texts[c.words[kScpMessage]];
    out.scpId = m_texts[c.words[kScpId]];
    out.transactionValue = m_texts[c.words[kTransactionValue]];
    out.userPart = m_texts[c.words[kUserPart]];
    out.octets = std::span<const uint8_t>(m_octets[c.octetChunk].data() + c.octetsAt, c.octetCount);
    auto p = m_problems.find(index);
    static const std::vector<std::string> kNone;
    out.problems = p == m_problems.end() ? &kNone : &p->second;
    return true;
}

int32_t DectMessageStore::LatestOfSequence(int seq) const {
    return m_latestBySequence.empty() ? 0 : m_latestBySequence[static_cast<uint16_t>(seq)];
}

int32_t DectMessageStore::NextIn(const IndexList *list, int32_t after) {
    if (!list) return -1;
    auto pos = std::upper_bound(list->begin(), list->end(), after);
    return pos == list->end() ? -1 : *pos;
}

const DectMessageStore::IndexList *DectMessageStore::ListOf(const std::vector<IndexList> &lists,
                                                            std::string_view text) const {
    auto it = m_textIds.find(text);
    if (it == m_textIds.end() || it->second >= lists.size()) return nullptr;
    return &lists[it->second];
}

int32_t DectMessageStore::FindNextByText(std::string_view text, int32_t after) const {
    return NextIn(ListOf(m_byText, text), after);
}

int32_t DectMessageStore::FindNextByScpId(std::string_view id, int32_t after) const {
    if (id.empty()) return -1;
    return NextIn(ListOf(m_byScpId, id), after);
}

int32_t DectMessageStore::FindNextByTransactionFlag(std::string_view flag, int32_t after) const {
    if (flag != "0" && flag != "1") return -1;
    return NextIn(&m_byFlag[flag == "1" ? 1 : 0], after);
}

int32_t DectMessageStore::NextScpId(int32_t previous, std::string &id) const {
    const int32_t next = previous < 0 ? 0 : previous + 1;
    if (next >= static_cast<int32_t>(m_scpIds.size())) return -1;
    id = m_texts[m_scpIds[static_cast<size_t>(next)]];
    return next;
}

int32_t DectMessageStore::NextTransactionFlag(int32_t previous, std::string &flag) const {
    const int32_t next = previous < 0 ? 0 : previous + 1;
    if (next >= static_cast<int32_t>(m_flags.size())) return -1;
    flag = std::to_string(m_flags[static_cast<size_t>(next)]);
    return next;
}

void DectMessageStore::Clear() {
    for (auto &recent : m_recent) std::fill(std::begin(recent), std::end(recent), kNoText);
    m_messages.clear();
    m_octets.clear();
    m_problems.clear();
    m_texts.clear();
    m_textIds.clear();
    m_latestBySequence.clear();
    m_byText.clear();
    m_byScpId.clear();
    m_byFlag[0].clear();
    m_byFlag[1].clear();
    m_scpIds.clear();
    m_flags.clear();
}

}  // namespace vexa::dect
