#include "DectMessageStore.h"

#include <algorithm>

namespace vexa::dect {

void DectMessageStore::Note(std::unordered_map<std::string, IndexList> &map, std::vector<std::string> *order,
                            const std::string &key, int32_t index) {
    auto [it, added] = map.try_emplace(key);
    if (added && order) order->push_back(key);
    if (it->second.empty() || it->second.back() != index) it->second.push_back(index);
}

int32_t DectMessageStore::Add(StoredDect message) {
    m_messages.push_back(std::move(message));
    const int32_t index = Count();
    const StoredDect &m = m_messages.back();
    m_latestBySequence[m.sequence] = index;
    Note(m_byText, nullptr, m.direction, index);
    if (m.messageName != m.direction) Note(m_byText, nullptr, m.messageName, index);
    if (m.signalName != m.direction && m.signalName != m.messageName) Note(m_byText, nullptr, m.signalName, index);
    if (!m.scpId.empty()) Note(m_byScpId, &m_scpIds, m.scpId, index);
    if (m.transactionFlag >= 0) Note(m_byFlag, &m_flags, std::to_string(m.transactionFlag), index);
    return index;
}

const StoredDect *DectMessageStore::Get(int32_t index) const {
    if (index < 1 || index > Count()) return nullptr;
    return &m_messages[static_cast<size_t>(index - 1)];
}

int32_t DectMessageStore::LatestOfSequence(int seq) const {
    auto it = m_latestBySequence.find(seq);
    return it == m_latestBySequence.end() ? 0 : it->second;
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
    return NextIn(ListOf(m_byText, text), after);
}

int32_t DectMessageStore::FindNextByScpId(std::string_view id, int32_t after) const {
    return NextIn(ListOf(m_byScpId, id), after);
}

int32_t DectMessageStore::FindNextByTransactionFlag(std::string_view flag, int32_t after) const {
    return NextIn(ListOf(m_byFlag, flag), after);
}

int32_t DectMessageStore::NextScpId(int32_t previous, std::string &id) const {
    const int32_t next = previous < 0 ? 0 : previous + 1;
    if (next >= static_cast<int32_t>(m_scpIds.size())) return -1;
    id = m_scpIds[static_cast<size_t>(next)];
    return next;
}

int32_t DectMessageStore::NextTransactionFlag(int32_t previous, std::string &flag) const {
    const int32_t next = previous < 0 ? 0 : previous + 1;
    if (next >= static_cast<int32_t>(m_flags.size())) return -1;
    flag = m_flags[static_cast<size_t>(next)];
    return next;
}

void DectMessageStore::Clear() {
    m_messages.clear();
    m_latestBySequence.clear();
    m_byText.clear();
    m_byScpId.clear();
    m_byFlag.clear();
    m_scpIds.clear();
    m_flags.clear();
}

}  // namespace vexa::dect
