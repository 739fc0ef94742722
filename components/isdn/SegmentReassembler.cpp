#include "SegmentReassembler.h"

#include "Q931Tables.h"

namespace vexa::isdn {

std::optional<SegmentHeader> ReadSegmentHeader(std::span<const uint8_t> message) {
    // Protocol discriminator, call reference, message type SEGMENT.
    if (message.size() < 3 || message[0] != kProtocolDiscriminatorQ931 || (message[1] & 0xF0)) return std::nullopt;
    const size_t crLen = message[1] & 0x0F;
    size_t pos = 2 + crLen;
    if (pos >= message.size() || message[pos] != kMessageTypeSegment) return std::nullopt;
    ++pos;
    // The segmented message element comes first, with at least its octets 3 and 4.
    if (pos + 2 > message.size() || message[pos] != ie::kSegmentedMessage) return std::nullopt;
    const size_t len = message[pos + 1];
    if (len < 2 || pos + 2 + len > message.size()) return std::nullopt;
    SegmentHeader h;
    h.callReference = message.subspan(2, crLen);
    h.first = message[pos + 2] & 0x80;
    h.remaining = message[pos + 2] & 0x7F;
    h.messageType = message[pos + 3] & 0x7F;
    h.octets = message.subspan(pos + 2 + len);
    return h;
}

SegmentPlace SegmentReassembler::Add(std::string_view equ, const SegmentHeader &segment) {
    // The key: the call reference (its length first), then the equipment text.
    std::string key(1, static_cast<char>(segment.callReference.size()));
    key.append(segment.callReference.begin(), segment.callReference.end());
    key.append(equ);

    SegmentPlace place;
    auto it = m_open.find(key);
    if (segment.first) {
        // A first segment begins a message; one still waiting on the same call reference
        // will not be completed any more.
        if (it != m_open.end()) m_open.erase(it);
        place.number = 1;
        place.total = segment.remaining + 1;
        if (segment.remaining == 0) {
            place.whole.assign(segment.octets.begin(), segment.octets.end());
            return place;
        }
        if (m_open.size() >= kMaxOpen) {
            auto oldest = m_open.begin();
            for (auto o = m_open.begin(); o != m_open.end(); ++o)
                if (o->second.age < oldest->second.age) oldest = o;
            m_open.erase(oldest);
        }
        Open &open = m_open[key];
        open.messageType = segment.messageType;
        open.nextRemaining = segment.remaining - 1;
        open.count = 1;
        open.octets.assign(segment.octets.begin(), segment.octets.end());
        open.age = m_age++;
        return place;
    }
    if (it == m_open.end() || it->second.messageType != segment.messageType ||
        it->second.nextRemaining != segment.remaining) {
        // The segments before this one are not in the trace (or not in order): the message
        // cannot be joined, and one waiting on this call reference is given up.
        if (it != m_open.end()) m_open.erase(it);
        return place;
    }
    Open &open = it->second;
    place.number = ++open.count;
    place.total = open.count + segment.remaining;
    if (!open.tooLong && open.octets.size() + segment.octets.size() > kMaxOctets) {
        // Too long to join: the further segments are still followed, their octets not kept.
        open.tooLong = true;
        open.octets = {};
    }
    if (!open.tooLong) open.octets.insert(open.octets.end(), segment.octets.begin(), segment.octets.end());
    place.tooLong = open.tooLong;
    if (segment.remaining == 0) {
        place.whole = std::move(open.octets);
        m_open.erase(it);
    } else {
        open.nextRemaining = segment.remaining - 1;
    }
    return place;
}

}  // namespace vexa::isdn
