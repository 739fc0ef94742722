#include "MessageStore.h"

#include "HexText.h"

#include <algorithm>

namespace vexa::isdn {

std::string MessageStore::CallReferenceKey(const std::vector<uint8_t> &octets) {
    std::string key;
    key.reserve(octets.size() * 2);
    for (size_t i = 0; i < octets.size(); ++i) {
        uint8_t o = i == 0 ? octets[i] & 0x7F : octets[i];
        key += static_cast<char>('a' + (o >> 4));
        key += static_cast<char>('a' + (o & 15));
    }
    return key;
}

int32_t MessageStore::AddCompletion(std::vector<StoredMessage> messages) {
    if (messages.empty()) return m_lastIndex;
    IndexList group;
    int sequence = messages.front().sequence;
    for (StoredMessage &m : messages) {
        m_messages.push_back(std::move(m));
        const StoredMessage &s = m_messages.back();
        int32_t index = static_cast<int32_t>(m_messages.size());
        group.push_back(index);
        m_byDirection[s.direction].push_back(index);
        m_byName[s.messageName].push_back(index);
        if (s.callReferenceRead) m_byCallReference[CallReferenceKey(s.callReference)].push_back(index);
        if (!s.equ.empty()) {
            m_byEqu[s.equ].push_back(index);
            // The equipment number alone ("001-0-02-01") finds the same messages.
            std::string_view number = std::string_view(s.equ).substr(6);
            while (!number.empty() && number.front() == ' ') number.remove_prefix(1);
            if (!number.empty() && number != s.equ) m_byEqu[std::string(number)].push_back(index);
        }
        if (s.hasCallingNumber && m_firstByCalling.emplace(s.callingNumber, index).second)
            m_callingNumbers.push_back(s.callingNumber);
        m_lastIndex = index;
    }
    m_latestBySequence[sequence] = std::move(group);
    return m_lastIndex;
}

const StoredMessage *MessageStore::Get(int32_t index) const {
    if (index < 1 || index > Count()) return nullptr;
    return &m_messages[index - 1];
}

int32_t MessageStore::SequenceCount(int sequence) const {
    auto it = m_latestBySequence.find(sequence);
    return it == m_latestBySequence.end() ? 0 : static_cast<int32_t>(it->second.size());
}

const StoredMessage *MessageStore::SequenceMessage(int sequence, int i) const {
    return Get(SequenceIndex(sequence, i));
}

int32_t MessageStore::SequenceIndex(int sequence, int i) const {
    auto it = m_latestBySequence.find(sequence);
    if (it == m_latestBySequence.end() || i < 1 || i > static_cast<int>(it->second.size())) return 0;
    return it->second[i - 1];
}

int32_t MessageStore::NextIn(const std::unordered_map<std::string, IndexList> &map, const std::string &key,
                             int32_t after) {
    auto it = map.find(key);
    if (it == map.end()) return -1;
    auto pos = std::upper_bound(it->second.begin(), it->second.end(), after);
    return pos == it->second.end() ? -1 : *pos;
}

int32_t MessageStore::FindNextByText(std::string_view text, int32_t after) const {
    std::string key(text);
    int32_t a = NextIn(m_byDirection, key, after);
    int32_t b = NextIn(m_byName, key, after);
    if (a < 0) return b;
    if (b < 0) return a;
    return std::min(a, b);
}

int32_t MessageStore::FindNextByCallReference(std::string_view text, int32_t after) const {
    std::vector<uint8_t> octets;
    if (!component::ParseLooseHex(text, octets)) return -1;
    return NextIn(m_byCallReference, CallReferenceKey(octets), after);
}

int32_t MessageStore::FindNextByEqu(std::string_view text, int32_t after) const {
    return NextIn(m_byEqu, std::string(text), after);
}

int32_t MessageStore::FindFirstByCallingNumber(std::string_view number) const {
    auto it = m_firstByCalling.find(std::string(number));
    return it == m_firstByCalling.end() ? -1 : it->second;
}

int32_t MessageStore::NextCallingNumber(int32_t handle, std::string &number) const {
    int32_t next = handle < 0 ? 0 : handle + 1;
    if (next >= static_cast<int32_t>(m_callingNumbers.size())) return -1;
    number = m_callingNumbers[next];
    return next;
}

void MessageStore::Clear() { *this = MessageStore(); }

}  // namespace vexa::isdn
