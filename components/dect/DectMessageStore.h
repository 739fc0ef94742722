// The decoded DECT messages of a run, by index (1-based, in completion order), with the
// lookups the program's members need: by sequence number, direction, SCP ID and
// transaction flag. A message's texts and octets are kept side by side in large blocks; the
// indexes for the find members are built when a find first needs them, so that reading a
// trace pays only for keeping what it read.
#pragma once

#include "LargeMemory.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

namespace vexa::dect {

// A message as added to the store, and as read back (then its views point into the store and
// stay valid until the next Clear).
struct StoredDect {
    int sequence = 0;
    int status = 0;
    bool valid = false;
    bool hasData = false;
    int transactionFlag = -1;  // 0, 1, or -1 for a station control message
    std::string_view direction, signalName, messageName, time, originator, destination;
    std::string_view discriminator, scpMessage, scpId, transactionValue, userPart;
    std::span<const uint8_t> octets;                // kept to decode the text again on request
    const std::vector<std::string> *problems = nullptr;  // what the line reader found
};

class DectMessageStore {
public:
    DectMessageStore() = default;

    // Adds a message; returns its index.
    int32_t Add(const StoredDect &message);
    // False when there is no message index.
    bool Get(int32_t index, StoredDect &out) const;
    int32_t Count() const { return m_count; }

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
    enum Text { kDirection, kSignalName, kMessageName, kOriginator, kDestination, kDiscriminator, kScpMessage,
                kScpId, kTransactionValue, kUserPart, kTexts };
    struct Compact {
        int16_t sequence;
        int8_t status;
        int8_t transactionFlag;
        bool valid;
        bool hasData;
        char time[11];
        uint16_t lengths[kTexts];  // the texts, one after the other, then the octets
        uint32_t chunk;            // in m_chunks
        uint32_t at;
        uint32_t octetCount;
    };
    // Records, texts and octets live in large pages where they are large (filling tens of
    // megabytes page by small page costs more than decoding). Text blocks never move: they
    // start small, for short traces, and double up to kBlock.
    static constexpr size_t kBlock = 2u << 20;
    static constexpr size_t kFirstBlock = 8u << 10;

    // Brings the find indexes up to date with the messages added since.
    void Index() const;
    static int32_t NextIn(const IndexList *list, int32_t after);
    static const IndexList *ListOf(const std::unordered_map<std::string, IndexList> &map, std::string_view key);

    // Records in pages of kRecordsPerPage that never move (a growing array would copy them,
    // and touch their memory twice over, each time it doubled).
    static constexpr size_t kRecordsPerPage = 32768;
    static_assert(std::is_trivially_copyable_v<Compact>, "records are copied into their pages");
    const Compact &Record(int32_t index) const {
        const size_t at = static_cast<size_t>(index - 1);
        return reinterpret_cast<const Compact *>(m_recordPages[at / kRecordsPerPage].get())[at % kRecordsPerPage];
    }
    std::vector<LargeBlock> m_recordPages;
    int32_t m_count = 0;
    std::vector<LargeBlock> m_chunks;  // texts and octets
    size_t m_chunkSize = 0;            // of the last chunk
    size_t m_chunkUsed = 0;            // characters used in it
    std::unordered_map<int32_t, std::vector<std::string>> m_problems;  // by index, only where there are some
    std::vector<int32_t> m_latestBySequence;  // by sequence number (as 16 bits), 0 for none; grows as needed

    // The find indexes, built on demand.
    mutable int32_t m_indexed = 0;  // messages 1..m_indexed are in the indexes
    mutable std::unordered_map<std::string, IndexList> m_byText;  // direction, message and signal name
    mutable std::unordered_map<std::string, IndexList> m_byScpId;
    mutable IndexList m_byFlag[2];
    mutable std::vector<std::string> m_scpIds;  // in order of first appearance
    mutable std::vector<int> m_flags;
};

}  // namespace vexa::dect
