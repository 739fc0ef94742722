// The decoded DECT messages of a run, by index (1-based, in completion order), with the
// lookups the program's members need: by sequence number, direction, SCP ID and
// transaction flag. A trace repeats the same few words (directions, names, SCP IDs, user
// parts) in every signal: each distinct text is kept once, and a message holds its numbers.
#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vexa::dect {

// What is kept of a message when it is added.
struct DectToStore {
    int sequence = 0;
    int status = 0;
    bool valid = false;
    bool hasData = false;
    int transactionFlag = -1;
    std::string_view direction, signalName, messageName, time, originator, destination;
    std::string_view discriminator, scpMessage, scpId, transactionValue, userPart;
    std::span<const uint8_t> octets;    // kept to decode the text again on request
    std::vector<std::string> problems;  // what the line reader found
};

// A stored message as read back: views into the store, valid until the next Add or Clear.
struct StoredDect {
    int sequence = 0;
    int status = 0;
    bool valid = false;
    bool hasData = false;
    int transactionFlag = -1;
    std::string_view direction, signalName, messageName, time, originator, destination;
    std::string_view discriminator, scpMessage, scpId, transactionValue, userPart;
    std::span<const uint8_t> octets;
    const std::vector<std::string> *problems = nullptr;
};

class DectMessageStore {
public:
    DectMessageStore();
    // Adds a message; returns its index.
    int32_t Add(DectToStore message);
    // False when there is no message index.
    bool Get(int32_t index, StoredDect &out) const;
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
    enum Word { kDirection, kSignalName, kMessageName, kOriginator, kDestination, kDiscriminator, kScpMessage,
                kScpId, kTransactionValue, kUserPart, kWords };
    struct Compact {
        int16_t sequence;
        int8_t status;
        int8_t transactionFlag;
        bool valid;
        bool hasData;
        char time[11];
        uint32_t words[kWords];  // texts by their number in m_texts
        uint32_t octetChunk;     // where the octets are: m_octets[octetChunk], from octetsAt
        uint32_t octetsAt;
        uint32_t octetCount;
    };

    uint32_t Intern(std::string_view text);
    static int32_t NextIn(const IndexList *list, int32_t after);
    static void Note(std::vector<IndexList> &lists, uint32_t word, int32_t index);
    const IndexList *ListOf(const std::vector<IndexList> &lists, std::string_view text) const;

    static constexpr uint32_t kNoText = 0xFFFFFFFF;
    static constexpr int kRecent = 16;
    uint32_t m_recent[kWords][kRecent];  // the latest texts of each kind (kNoText where none)
    // Kept in blocks, so that the store grows without copying what it holds.
    std::deque<Compact> m_messages;
    static constexpr size_t kOctetChunk = 1 << 20;
    std::vector<std::vector<uint8_t>> m_octets;  // chunks of at most kOctetChunk octets
    std::unordered_map<int32_t, std::vector<std::string>> m_problems;  // by index, only where there are some
    std::deque<std::string> m_texts;                           // the distinct texts
    std::unordered_map<std::string_view, uint32_t> m_textIds;  // views into m_texts' strings
    std::vector<int32_t> m_latestBySequence;  // by sequence number (0-65535, as 16 bits), 0 for none
    std::vector<IndexList> m_byText;   // by text number: messages with that direction, message or signal name
    std::vector<IndexList> m_byScpId;  // by text number
    IndexList m_byFlag[2];
    std::vector<uint32_t> m_scpIds;  // text numbers, in order of first appearance
    std::vector<int> m_flags;        // flags in order of first appearance
};

}  // namespace vexa::dect
