#include "MessageStore.h"

#include "HexText.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace vexa::isdn {

namespace {

const std::vector<std::string> kNoProblems;

constexpr int kSequenceNumbers = 32768;
constexpr uint32_t kPoolTime = 0x80000000u;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "hh.mm.ss.cc" as four octets (one per pair of digits), or false.
bool PackTime(std::string_view t, uint32_t &packed) {
    if (t.size() != 11 || t[2] != '.' || t[5] != '.' || t[8] != '.') return false;
    uint32_t v = 0;
    for (size_t at = 0; at < 11; at += 3) {
        if (!IsDigit(t[at]) || !IsDigit(t[at + 1])) return false;
        v = v << 8 | static_cast<uint32_t>((t[at] - '0') * 10 + (t[at + 1] - '0'));
    }
    packed = v;
    return true;
}

void UnpackTime(uint32_t packed, char *out) {
    for (int pair = 0; pair < 4; ++pair) {
        unsigned v = (packed >> (8 * (3 - pair))) & 0xFF;
        out[pair * 3] = static_cast<char>('0' + v / 10);
        out[pair * 3 + 1] = static_cast<char>('0' + v % 10);
        if (pair < 3) out[pair * 3 + 2] = '.';
    }
}

}  // namespace

MessageStore::TextPool::TextPool() { Clear(); }

size_t MessageStore::TextPool::QuickHash(std::string_view text) {
    // The first and the last eight characters: equipment numbers differ in the middle of
    // their last eight ("001-0-04-05", "001-0-09-05"), names and words in their first.
    const size_t n = text.size();
    uint64_t h = n;
    if (n >= 8) {
        uint64_t head = 0, tail = 0;
        std::memcpy(&head, text.data(), 8);
        std::memcpy(&tail, text.data() + n - 8, 8);
        h ^= head * 0x9E3779B97F4A7C15ull ^ tail * 0xC2B2AE3D27D4EB4Full;
    } else {
        for (char c : text) h = h * 31 + static_cast<unsigned char>(c);
    }
    // Every bit of the characters to the low bits that pick the slot.
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    return static_cast<size_t>(h);
}

uint32_t MessageStore::TextPool::Intern(std::string_view text) {
    if (text.empty()) return 0;
    uint32_t &recent = m_recent[QuickHash(text) % m_recent.size()];
    if (m_views[recent] == text) return recent;
    auto it = m_ids.find(text);
    if (it != m_ids.end()) return recent = it->second;
    uint32_t id = static_cast<uint32_t>(m_texts.size());
    m_texts.emplace_back(text);
    m_views.push_back(m_texts.back());
    m_ids.emplace(m_views.back(), id);
    return recent = id;
}

int64_t MessageStore::TextPool::Find(std::string_view text) const {
    if (text.empty()) return 0;
    auto it = m_ids.find(text);
    return it == m_ids.end() ? -1 : static_cast<int64_t>(it->second);
}

void MessageStore::TextPool::Clear() {
    m_ids = {};
    m_texts = {};
    m_views = {};
    m_texts.emplace_back();
    m_views.push_back(m_texts.back());
    m_recent.fill(0);
}

MessageStore::MessageStore() = default;
MessageStore::~MessageStore() = default;

std::string MessageStore::CallReferenceKey(std::span<const uint8_t> octets) {
    std::string key(octets.begin(), octets.end());
    if (!key.empty()) key[0] = static_cast<char>(key[0] & 0x7F);
    return key;
}

bool MessageStore::PackedCallReference(std::span<const uint8_t> octets, uint64_t &key) {
    if (octets.size() > 7) return false;
    uint64_t v = static_cast<uint64_t>(octets.size()) << 56;
    for (size_t i = 0; i < octets.size(); ++i) {
        const uint8_t octet = i == 0 ? static_cast<uint8_t>(octets[0] & 0x7F) : octets[i];
        v |= static_cast<uint64_t>(octet) << (8 * i);
    }
    key = v;
    return true;
}

const MessageStore::IndexList *MessageStore::CallReferenceList(std::span<const uint8_t> octets) const {
    uint64_t key;
    if (PackedCallReference(octets, key)) return ListOf(m_byShortCallReference, key);
    return ListOf(m_byCallReference, CallReferenceKey(octets));
}

uint64_t MessageStore::KeepOctets(std::span<const uint8_t> octets) {
    if (octets.empty()) return 0;
    if (octets.size() > kOctetBlockSize - m_octetBlockUsed) {
        // A new block (a message never spans two); a message larger than a block gets
        // a block of its own size.
        m_octetBlocks.push_back(MakeLargeBlock(std::max(kOctetBlockSize, octets.size())));
        m_octetBlockUsed = 0;
    }
    uint64_t at = static_cast<uint64_t>(m_octetBlocks.size() - 1) << 32 | m_octetBlockUsed;
    std::memcpy(m_octetBlocks.back().get() + m_octetBlockUsed, octets.data(), octets.size());
    m_octetBlockUsed = std::min(kOctetBlockSize, m_octetBlockUsed + octets.size());
    return at;
}

void MessageStore::BeginCompletion() { m_completionFirst = m_count + 1; }

int32_t MessageStore::Add(const MessageToStore &m, std::vector<std::string> &&problems) {
    size_t slot = static_cast<size_t>(m_count);
    if (slot % kRecordsPerBlock == 0) m_records.push_back(MakeLargeBlock(kRecordsPerBlock * sizeof(Record)));
    Record &r = *new (m_records[slot / kRecordsPerBlock].get() + slot % kRecordsPerBlock * sizeof(Record)) Record;
    const int32_t index = ++m_count;

    r.octetsAt = KeepOctets(m.octets);
    r.octetCount = static_cast<uint32_t>(m.octets.size());
    if (!PackTime(m.time, r.time)) r.time = kPoolTime | m_pool.Intern(m.time);
    r.direction = m_pool.Intern(m.direction);
    r.signalName = m_pool.Intern(m.signalName);
    r.messageName = m_pool.Intern(m.messageName);
    r.originator = m_pool.Intern(m.originator);
    r.destination = m_pool.Intern(m.destination);
    r.discriminator = m_pool.Intern(m.discriminator);
    r.equ = m_pool.Intern(m.equ);
    r.sequence = m.sequence;
    r.status = static_cast<int8_t>(m.status);
    r.variant = static_cast<uint8_t>(m.variant);
    r.flags = (m.valid ? kValid : 0) | (m.callReferenceRead ? kCallReferenceRead : 0);
    if (!problems.empty()) {
        r.flags |= kHasProblems;
        m_problems.emplace(index, std::move(problems));
    }

    ListAt(m_byDirection, r.direction).push_back(index);
    ListAt(m_byName, r.messageName).push_back(index);
    if (m.callReferenceRead) {
        const size_t length = m.octets[1] & 0x0F;
        const std::span<const uint8_t> value = m.octets.subspan(2, length);
        uint64_t key;
        if (PackedCallReference(value, key))
            m_byShortCallReference[key].push_back(index);
        else
            m_byCallReference[CallReferenceKey(value)].push_back(index);
    }
    if (!m.equ.empty()) {
        ListAt(m_byEqu, r.equ).push_back(index);
        // The equipment number alone ("001-0-02-01") finds the same messages.
        std::string_view number = m.equ.substr(std::min<size_t>(6, m.equ.size()));
        while (!number.empty() && number.front() == ' ') number.remove_prefix(1);
        if (!number.empty() && number != m.equ) ListAt(m_byEqu, m_pool.Intern(number)).push_back(index);
    }
    if (m.hasCallingNumber) {
        // Calling party numbers are many: they have a table of their own, so that the pool
        // of the few record-line words and names stays small.
        m_calling.Add(m.callingNumber, index);
    }
    m_lastIndex = index;
    return index;
}

void MessageStore::EndCompletion() {
    if (m_count < m_completionFirst) return;
    SequenceGroup group{m_completionFirst, m_count - m_completionFirst + 1};
    int sequence = RecordAt(m_completionFirst)->sequence;
    if (sequence >= 0 && sequence < kSequenceNumbers) {
        if (m_latestBySequence.empty()) m_latestBySequence.resize(kSequenceNumbers);
        m_latestBySequence[sequence] = group;
    } else {
        m_latestByOtherSequence[sequence] = group;
    }
}

bool MessageStore::Get(int32_t index, StoredMessage &out) const {
    if (!Has(index)) return false;
    const Record &r = *RecordAt(index);
    out.sequence = r.sequence;
    out.status = r.status;
    out.valid = r.flags & kValid;
    out.variant = r.variant;
    out.direction = m_pool.Text(r.direction);
    out.signalName = m_pool.Text(r.signalName);
    out.messageName = m_pool.Text(r.messageName);
    out.originator = m_pool.Text(r.originator);
    out.destination = m_pool.Text(r.destination);
    out.discriminator = m_pool.Text(r.discriminator);
    out.equ = m_pool.Text(r.equ);
    out.octets = OctetsOf(r);
    out.problems = &kNoProblems;
    if (r.flags & kHasProblems) out.problems = &m_problems.find(index)->second;
    out.callReferenceRead = r.flags & kCallReferenceRead;
    out.callReference = CallReferenceIn(r, out.octets);
    if (r.time & kPoolTime) {
        out.m_packedTime = false;
        out.m_timeText = m_pool.Text(r.time & ~kPoolTime);
    } else {
        out.m_packedTime = true;
        UnpackTime(r.time, out.m_time);
    }
    return true;
}

std::span<const uint8_t> MessageStore::OctetsOf(const Record &r) const {
    if (!r.octetCount) return {};
    return std::span<const uint8_t>(
        reinterpret_cast<const uint8_t *>(m_octetBlocks[r.octetsAt >> 32].get()) + (r.octetsAt & 0xFFFFFFFFu),
        r.octetCount);
}

std::span<const uint8_t> MessageStore::CallReferenceOf(int32_t index) const {
    if (!Has(index)) return {};
    const Record &r = *RecordAt(index);
    return CallReferenceIn(r, OctetsOf(r));
}

int MessageStore::SequenceOf(int32_t index) const { return Has(index) ? RecordAt(index)->sequence : 0; }

int32_t MessageStore::SequenceCount(int sequence) const {
    if (sequence >= 0 && sequence < kSequenceNumbers)
        return m_latestBySequence.empty() ? 0 : m_latestBySequence[sequence].count;
    auto it = m_latestByOtherSequence.find(sequence);
    return it == m_latestByOtherSequence.end() ? 0 : it->second.count;
}

int32_t MessageStore::SequenceIndex(int sequence, int i) const {
    int32_t count = SequenceCount(sequence);
    if (i < 1 || i > count) return 0;
    if (sequence >= 0 && sequence < kSequenceNumbers) return m_latestBySequence[sequence].first + i - 1;
    return m_latestByOtherSequence.find(sequence)->second.first + i - 1;
}

int32_t MessageStore::NextIn(const IndexList *list, int32_t after) {
    if (!list) return -1;
    auto pos = std::upper_bound(list->begin(), list->end(), after);
    return pos == list->end() ? -1 : *pos;
}

int32_t MessageStore::FindNextByText(std::string_view text, int32_t after) const {
    int64_t id = m_pool.Find(text);
    if (id < 0) return -1;
    int32_t a = NextIn(ListAt(m_byDirection, static_cast<uint32_t>(id)), after);
    int32_t b = NextIn(ListAt(m_byName, static_cast<uint32_t>(id)), after);
    if (a < 0) return b;
    if (b < 0) return a;
    return std::min(a, b);
}

int32_t MessageStore::FindNextByCallReference(std::string_view text, int32_t after) const {
    std::vector<uint8_t> octets;
    if (!component::ParseLooseHex(text, octets)) return -1;
    return NextIn(CallReferenceList(octets), after);
}

int32_t MessageStore::FindNextByEqu(std::string_view text, int32_t after) const {
    int64_t id = m_pool.Find(text);
    if (id < 0) return -1;
    return NextIn(ListAt(m_byEqu, static_cast<uint32_t>(id)), after);
}

int32_t MessageStore::FindFirstByCallingNumber(std::string_view number) const {
    return m_calling.FirstWith(number);
}

int32_t MessageStore::NextCallingNumber(int32_t handle, std::string &number) const {
    int32_t next = handle < 0 ? 0 : handle + 1;
    if (next >= static_cast<int32_t>(m_calling.Count())) return -1;
    number = m_calling.Number(static_cast<size_t>(next));
    return next;
}

void MessageStore::Clear() {
    m_pool.Clear();
    std::vector<LargeBlock>().swap(m_records);
    std::vector<LargeBlock>().swap(m_octetBlocks);
    m_octetBlockUsed = kOctetBlockSize;
    m_problems = {};
    m_count = 0;
    m_lastIndex = 0;
    m_completionFirst = 0;
    m_latestBySequence = {};
    m_latestByOtherSequence = {};
    m_byDirection = {};
    m_byName = {};
    m_byShortCallReference = {};
    m_byCallReference = {};
    m_byEqu = {};
    m_calling.Clear();
}

}  // namespace vexa::isdn
