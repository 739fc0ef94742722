// The decoded DECT messages of a run, by index (1-based, in completion order), with the
// lookups the program's members need: by sequence number, direction, SCP ID and
// transaction flag.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vexa::dect {

struct StoredDect {
    int sequence = 0;
    int status = 0;
    bool valid = false;
    bool hasData = false;
    int transactionFlag = -1;
    std::string direction, signalName, messageName, time, originator, destination;
    std::string discriminator, scpMessage, scpId, transactionValue, extraLine, userPart;
    std::vector<uint8_t> octets;        // kept to decode the text again on request
    std::vector<std::string> problems;  // what the line reader found
};

class DectMessageStore {
public:
    // Adds a message; returns its index.
    int32_t Add(StoredDect message);
    const StoredDect *Get(int32_t index) const;
    int32_t Count() const { return static_cast<int32_t>(m_messages.size()); }

    // The latest message of sequence number seq (0 when none).
    int32_t LatestOfSequence(int seq) const;

    // The first message above `after` whose direction, message name or signal name is text.
    int32_t FindNextByText(std::string_view text, int32_t after) const;
    int32_t FindNextByScpId(std::string_view id, int32_t after) const;
    int32_t FindNextByTransactionFlag(std::string_view flag, int32_t after) const;

    // Distinct SCP IDs and transaction flags ("0", "1") in order of first appearance: the
    // handle is the position in that list; start with -1; -1 when there are no more.
    int32_t NextScpId(int32_t previous, std::string &id) const;
    int32_t NextTransactionFlag(int32_t previous, std::string &flag) const;

    void Clear();

private:
    using IndexList = std::vector<int32_t>;
    static int32_t NextIn(const IndexList *list, int32_t after);
    static void Note(std::unordered_map<std::string, IndexList> &map, std::vector<std::string> *order,
                     const std::string &key, int32_t index);
    static const IndexList *ListOf(const std::unordered_map<std::string, IndexList> &map, std::string_view key);

    std::vector<StoredDect> m_messages;
    std::unordered_map<int, int32_t> m_latestBySequence;
    std::unordered_map<std::string, IndexList> m_byText;  // direction, message name, signal name
    std::unordered_map<std::string, IndexList> m_byScpId;
    std::unordered_map<std::string, IndexList> m_byFlag;
    std::vector<std::string> m_scpIds;  // in order of first appearance
    std::vector<std::string> m_flags;
};

}  // namespace vexa::dect
