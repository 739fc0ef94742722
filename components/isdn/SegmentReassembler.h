// Message segmentation (Q.931 Annex H): a message too long for one data link frame is sent as
// SEGMENT messages, each carrying the segmented message element and the next octets of the
// message after its message type. The reassembler follows the segments of a trace and joins
// them when all of a message are there, in order.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::isdn {

inline constexpr uint8_t kMessageTypeSegment = 0x60;

// What a SEGMENT message says of itself (views into its octets).
struct SegmentHeader {
    std::span<const uint8_t> callReference;  // the call reference octets, flag included
    bool first = false;                      // first segment indicator
    unsigned remaining = 0;                  // number of segments remaining
    uint8_t messageType = 0;                 // segmented message type
    std::span<const uint8_t> octets;         // the octets of the segmented message it carries
};

// The header of a SEGMENT message whose segmented message element follows the message type
// whole; nothing for any other message.
std::optional<SegmentHeader> ReadSegmentHeader(std::span<const uint8_t> message);

// Where a segment stands among the segments of its message in the trace.
struct SegmentPlace {
    unsigned number = 0;  // 1 for the first segment; 0: the segments before it are not in the trace
    unsigned total = 0;   // segments of the message (its number and the segments remaining)
    bool tooLong = false; // the segments so far pass kMaxOctets: the message is not joined
    std::vector<uint8_t> whole;  // with the last segment: the message's octets after its message type

    bool Completes() const { return number != 0 && number == total && !tooLong; }
};

class SegmentReassembler {
public:
    // Largest message joined from segments (as large as one message of the trace).
    static constexpr size_t kMaxOctets = 65535;
    // Largest number of messages whose further segments are awaited at once.
    static constexpr size_t kMaxOpen = 1024;

    // The next SEGMENT message of the trace, sent on equipment `equ`. Segments of one message
    // have the same call reference on the same equipment and follow each other with one
    // segment fewer remaining each time (Q.931 H.2); a segment that does not follow ends the
    // message waiting for it.
    SegmentPlace Add(std::string_view equ, const SegmentHeader &segment);

    size_t OpenCount() const { return m_open.size(); }
    void Reset() { m_open.clear(); }

private:
    struct Open {
        uint8_t messageType = 0;
        unsigned nextRemaining = 0;  // the number of segments remaining the next segment says
        unsigned count = 0;          // segments so far
        std::vector<uint8_t> octets;
        bool tooLong = false;        // more than kMaxOctets: octets no longer kept
        uint64_t age = 0;            // when the first segment came, to drop the oldest
    };

    std::map<std::string, Open> m_open;  // by call reference and equipment
    uint64_t m_age = 0;
};

}  // namespace vexa::isdn
