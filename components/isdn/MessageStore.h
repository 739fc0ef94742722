// The decoded messages of one run, by index (1 upwards, in the order they were completed),
// with the indexes that the program's lookups need: by signal sequence number, direction,
// message name, call reference (flag bit ignored), equipment and calling party number.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vexa::isdn {

struct StoredMessage {
    int sequence = 0;
    int status = 1;
    bool valid = true;
    std::string direction, signalName, messageName, time, originator, destination;
    // The message's octets and what the line reader found: the decoded text is made again
    // from them when it is asked for, so that a run of a million lines keeps only these.
    std::vector<uint8_t> octets;
    std::vector<std::string> problems;
    int variant = 1;
    std::string discriminator;  // string 8; empty for H'08 (Q.931)
    std::string equ;
    bool callReferenceRead = false;
    std::vector<uint8_t> callReference;
    bool hasCallingNumber = false;
    std::string callingNumber;
};

class MessageStore {
public:
    // Adds the messages one signal completed; returns the index of the last one.
    int32_t AddCompletion(std::vector<StoredMessage> messages);

    int32_t Count() const { return static_cast<int32_t>(m_messages.size()); }
    int32_t LastIndex() const { return m_lastIndex; }
    // nullptr when index is not 1..Count().
    const StoredMessage *Get(int32_t index) const;

    // The messages of the latest completion of the signal with this sequence number.
    int32_t SequenceCount(int sequence) const;
    const StoredMessage *SequenceMessage(int sequence, int i) const;
    // Index of that message, or 0.
    int32_t SequenceIndex(int sequence, int i) const;

    // First index above `after` whose direction or message name is text; -1 when none.
    int32_t FindNextByText(std::string_view text, int32_t after) const;
    int32_t FindNextByCallReference(std::string_view text, int32_t after) const;
    int32_t FindNextByEqu(std::string_view text, int32_t after) const;
    int32_t FindFirstByCallingNumber(std::string_view number) const;
    // Distinct calling party numbers in order of first appearance: handle -1 starts.
    int32_t NextCallingNumber(int32_t handle, std::string &number) const;

    // The key of a call reference for lookups: the octets with the flag bit cleared.
    static std::string CallReferenceKey(const std::vector<uint8_t> &octets);

    void Clear();

private:
    using IndexList = std::vector<int32_t>;
    static int32_t NextIn(const std::unordered_map<std::string, IndexList> &map, const std::string &key, int32_t after);

    std::vector<StoredMessage> m_messages;
    int32_t m_lastIndex = 0;
    std::unordered_map<int, IndexList> m_latestBySequence;
    std::unordered_map<std::string, IndexList> m_byDirection;
    std::unordered_map<std::string, IndexList> m_byName;
    std::unordered_map<std::string, IndexList> m_byCallReference;
    std::unordered_map<std::string, IndexList> m_byEqu;
    std::unordered_map<std::string, int32_t> m_firstByCalling;
    std::vector<std::string> m_callingNumbers;
};

}  // namespace vexa::isdn
