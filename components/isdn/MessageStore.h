// The decoded messages of one run, by index (1 upwards, in the order they were completed),
// with the indexes that the program's lookups need: by signal sequence number, direction,
// message name, call reference (flag bit ignored), equipment and calling party number.
//
// A run of a million trace lines completes some 200,000 messages, so a message is kept
// small: its octets (in large shared blocks), the record-line words as numbers of texts
// kept once, the time packed in four octets, and what the first decoding found (status,
// valid flag, message name, discriminator). The decoded text is not kept: it is made
// again from the octets when it is asked for.
#pragma once

#include "CallingNumberIndex.h"
#include "LargeMemory.h"

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vexa::isdn {

// What the store is given for one completed message.
struct MessageToStore {
    int sequence = 0;
    int status = 1;
    bool valid = true;
    int variant = 1;
    std::string_view direction, signalName, messageName, time, originator, destination;
    std::string_view discriminator;  // string 8; empty for H'08 (Q.931)
    std::string_view equ;
    std::span<const uint8_t> octets;
    bool callReferenceRead = false;  // the call reference is octets 3 on (length in octet 2)
    bool hasCallingNumber = false;
    std::string_view callingNumber;
};

// A stored message as read back; the views stay valid until the store is cleared (time
// points into the StoredMessage itself).
struct StoredMessage {
    int sequence = 0;
    int status = 1;
    bool valid = true;
    int variant = 1;
    std::string_view direction, signalName, messageName, originator, destination;
    std::string_view discriminator;  // empty for H'08 (Q.931)
    std::string_view equ;
    std::span<const uint8_t> octets;
    const std::vector<std::string> *problems = nullptr;  // what the line reader found (never null)
    bool callReferenceRead = false;
    std::span<const uint8_t> callReference;  // the call reference value octets as read
    std::string_view time() const { return m_packedTime ? std::string_view(m_time, 11) : m_timeText; }

private:
    friend class MessageStore;
    bool m_packedTime = false;
    char m_time[11] = {};
    std::string_view m_timeText;  // a time not of the form hh.mm.ss.cc (never from a record line)
};

class MessageStore {
public:
    MessageStore();
    ~MessageStore();
    MessageStore(const MessageStore &) = delete;
    MessageStore &operator=(const MessageStore &) = delete;

    // The messages of one signal's completion are added between BeginCompletion and
    // EndCompletion; Add returns the index of the message.
    void BeginCompletion();
    int32_t Add(const MessageToStore &m, std::vector<std::string> &&problems);
    void EndCompletion();

    int32_t Count() const { return m_count; }
    int32_t LastIndex() const { return m_lastIndex; }
    // False when index is not 1..Count().
    bool Get(int32_t index, StoredMessage &out) const;
    bool Has(int32_t index) const { return index >= 1 && index <= m_count; }
    // The call reference value octets of message index as read (empty when the message
    // had none), without the rest of the message: asked for every message of a run.
    std::span<const uint8_t> CallReferenceOf(int32_t index) const;
    // Sequence number of message index (0 when there is none).
    int SequenceOf(int32_t index) const;

    // The messages of the latest completion of the signal with this sequence number.
    int32_t SequenceCount(int sequence) const;
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
    static std::string CallReferenceKey(std::span<const uint8_t> octets);
    // The same packed in a number where the value has at most seven octets (the length in
    // the top octet), else false.
    static bool PackedCallReference(std::span<const uint8_t> octets, uint64_t &key);

    void Clear();

private:
    // Texts kept once each (directions, names, originators, equipment); 0 is the empty text.
    class TextPool {
    public:
        TextPool();
        uint32_t Intern(std::string_view text);
        // The number of text, or -1 when it is not in the pool.
        int64_t Find(std::string_view text) const;
        std::string_view Text(uint32_t id) const { return m_views[id]; }
        void Clear();

    private:
        static size_t QuickHash(std::string_view text);
        std::deque<std::string> m_texts;       // never moved: the views stay valid
        std::vector<std::string_view> m_views;  // by number
        std::unordered_map<std::string_view, uint32_t> m_ids;
        // The numbers of recently kept texts by a cheap hash: most texts of a message are
        // those of the messages before it.
        std::array<uint32_t, 1024> m_recent{};
    };

    // One message: 56 octets.
    struct Record {
        uint64_t octetsAt = 0;  // block << 32 | offset in the block
        uint32_t octetCount = 0;
        uint32_t time = 0;  // four pairs of digits, one per octet; bit 31: a pool text instead
        uint32_t direction = 0, signalName = 0, messageName = 0, originator = 0, destination = 0;
        uint32_t discriminator = 0, equ = 0;
        int32_t sequence = 0;
        int8_t status = 0;
        uint8_t variant = 1;
        uint8_t flags = 0;
    };
    static constexpr uint8_t kValid = 1, kCallReferenceRead = 2, kHasProblems = 4;

    // Records and octets are kept in blocks of large pages: a store of 200,000 messages
    // filled page by small page spends more on the pages than on the messages.
    static constexpr size_t kRecordsPerBlock = 32768;
    static constexpr size_t kOctetBlockSize = 2 << 20;

    using IndexList = std::vector<int32_t>;
    struct SequenceGroup {
        int32_t first = 0;
        int32_t count = 0;
    };

    const Record *RecordAt(int32_t index) const {
        size_t i = static_cast<size_t>(index - 1);
        return reinterpret_cast<const Record *>(m_records[i / kRecordsPerBlock].get()) + i % kRecordsPerBlock;
    }
    uint64_t KeepOctets(std::span<const uint8_t> octets);
    std::span<const uint8_t> OctetsOf(const Record &r) const;
    static std::span<const uint8_t> CallReferenceIn(const Record &r, std::span<const uint8_t> octets) {
        return (r.flags & kCallReferenceRead) ? octets.subspan(2, octets[1] & 0x0F) : std::span<const uint8_t>();
    }
    static int32_t NextIn(const IndexList *list, int32_t after);
    template <class Map, class Key>
    static const IndexList *ListOf(const Map &map, const Key &key) {
        auto it = map.find(key);
        return it == map.end() ? nullptr : &it->second;
    }
    // The list of a pool text's number in lists by number, made when missing.
    static IndexList &ListAt(std::vector<IndexList> &lists, uint32_t id) {
        if (id >= lists.size()) lists.resize(id + 1);
        return lists[id];
    }
    static const IndexList *ListAt(const std::vector<IndexList> &lists, uint32_t id) {
        return id < lists.size() ? &lists[id] : nullptr;
    }
    const IndexList *CallReferenceList(std::span<const uint8_t> octets) const;

    TextPool m_pool;
    std::vector<LargeBlock> m_records;  // kRecordsPerBlock records each
    std::vector<LargeBlock> m_octetBlocks;
    size_t m_octetBlockUsed = kOctetBlockSize;  // room left in the last block: none
    std::unordered_map<int32_t, std::vector<std::string>> m_problems;
    int32_t m_count = 0;
    int32_t m_lastIndex = 0;
    int32_t m_completionFirst = 0;
    std::vector<SequenceGroup> m_latestBySequence;  // by sequence number 0-32767
    std::unordered_map<int, SequenceGroup> m_latestByOtherSequence;
    // Lists of messages by the number of a pool text: the texts are few.
    std::vector<IndexList> m_byDirection;
    std::vector<IndexList> m_byName;
    std::vector<IndexList> m_byEqu;  // the EQU NO text and the bare number
    // By call reference: most values fit in a number; the longer ones are kept as texts.
    std::unordered_map<uint64_t, IndexList> m_byShortCallReference;
    std::unordered_map<std::string, IndexList> m_byCallReference;
    CallingNumberIndex m_calling;
};

}  // namespace vexa::isdn
