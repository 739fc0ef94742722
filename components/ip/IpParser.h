// The VexaIpParser component: the IP parser the program drives for protocol 6. It reads
// IPSEND and IPRECV signals, splits TCP segments into TPKT packets, reassembles packets
// that span several segments of one connection, and decodes H.225.0 RAS, H.225.0 call
// signalling and H.245.
#pragma once

#include "ComponentObject.h"
#include "H323Decoder.h"
#include "IpLineReader.h"
#include "IpStore.h"

#include <cstdint>
#include <deque>
#include <map>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace vexa::ip {

// Protocol of a stored message: the three H.323 protocols, or something else on IP.
enum StoredProtocol : uint8_t { kRas = 0, kCallSignalling = 1, kH245 = 2, kOtherIp = 3 };

// A message as kept until Reset. The decoded text of an H.323 message is not kept: it is
// made again from the payload when it is asked for after its completion (the texts of a
// trace can be several times the trace's size). Other messages keep their short text.
// Texts that repeat are numbers in the parser's pool.
struct IpMessage {
    std::span<const uint8_t> payload;   // decoded again: the message's octets (in the arena)
    std::vector<std::string> problems;  // decoded again: what the line reader found
    std::string text;                   // messages that are not decoded again
    uint32_t direction = 0, signalName = 0, name = 0, originator = 0, destination = 0;
    std::span<const uint8_t> header;    // decoded again: the first line of the text (in the arena)
    int16_t sequence = 0;
    char time[11] = {};
    uint8_t timeLength = 0;
    bool valid = true;
    bool decodedAgain = false;
    uint8_t protocol = kOtherIp;
    std::string_view Time() const { return std::string_view(time, timeLength); }
};

class IpParser : public component::ComponentObject {
public:
    explicit IpParser(const VexaHost *host);

    static std::span<const component::Member<IpParser>> Members();

    // A spanning packet is looked for in at most this many lines after its first segment.
    static constexpr uint64_t kMaxScanLines = 5000;
    // Lines read ahead in all, at most twice the lines read otherwise and this many more:
    // a trace full of packets that never finish is not read over and over again.
    static constexpr uint64_t kScanAllowance = 50000;

    // Statuses of ParseLine that steer the program's re-reading of the trace.
    static constexpr int kMark = -100;
    static constexpr int kRewindAndDrop = 300;

protected:
    int32_t Invoke(int32_t dispid, component::Call &call) override;

private:
    void ParseLine(component::Call &call);
    void GetLastMessageIndex(component::Call &call);
    void GetSequenceNumber(component::Call &call);
    void GetSequenceMessageCount(component::Call &call);
    void GetSequenceMessage(component::Call &call);
    void GetMessage(component::Call &call);
    void GetMessageCount(component::Call &call);
    void FindFirstMessage(component::Call &call);
    void FindNextMessage(component::Call &call);
    void Reset(component::Call &call);
    void FindFirstByProtocol(component::Call &call);
    void FindNextByProtocol(component::Call &call);

    // One line outside a scan: kind, completion, status.
    void Line(std::string_view line, int &kind, int &completion, int &status);
    // One line while a spanning packet is collected.
    void ScanLine(std::string_view line, int &kind, int &completion, int &status);
    // The messages of a closed signal; true when its last packet goes on in later segments
    // and a scan begins (nothing is stored then).
    bool Messages(IpSignal &signal, uint64_t recordLine, bool canSpan);
    // Adds the pending messages as one completion.
    void Commit();
    // Ends a scan: the spanning packet (whole, or cut short) joins its first segment's messages.
    void FinishScan(std::string problem);
    void Add(const IpSignal &s, std::string name, uint8_t protocol, bool valid, std::string text);
    void AddDecoded(const IpSignal &s, uint8_t protocol, const uint8_t *data, size_t size,
                    std::vector<std::string> problems, const std::string &header);
    void PutMessage(component::Call &call, int first, int32_t index, const IpMessage &m);
    // The decoded text of message index (1 upwards).
    const std::string &TextOf(int32_t index);
    std::string Decoded(const IpMessage &m, H323Message &d) const;
    // The parts of m that come from the record line of s.
    void FromSignal(const IpSignal &s, IpMessage &m);
    int32_t FindNext(std::string_view text, int32_t after, bool byProtocol) const;

    IpLineReader m_reader;
    std::deque<IpMessage> m_messages;       // index i + 1 (a deque: never moved as it grows)
    TextPool m_pool;
    OctetArena m_arena;
    std::vector<IpMessage> m_pending;       // of the signal being completed
    std::vector<std::string> m_pendingTexts;
    std::string m_header;                   // room for the first line of a message
    int32_t m_recentFirst = 0;              // index of the latest completion's first message
    std::vector<std::string> m_recentTexts; // its texts
    int32_t m_cachedIndex = 0;              // a text decoded again on request
    std::string m_cachedText;
    // First index and count of the messages of each sequence number (count 0: none).
    std::vector<std::pair<int32_t, int32_t>> m_bySequence = std::vector<std::pair<int32_t, int32_t>>(65536);
    uint64_t m_lineNo = 0;                  // ParseLine calls, set back at a rewind
    uint64_t m_recordLine = 0;              // line number of the latest record line

    // Octets at the start of a later segment that a spanning packet used, by the line number
    // of that segment's record line.
    struct Used {
        size_t octets = 0;
        std::string name;  // of the message they ended
        int sequence = 0;  // of the signal that shows it
    };
    std::map<uint64_t, Used> m_used;

    // The scan for the rest of a spanning packet.
    bool m_scanning = false;
    uint64_t m_scanned = 0;  // lines read ahead so far
    uint64_t m_read = 0;     // lines read otherwise
    uint64_t m_markLine = 0;
    IpSignal m_first;                   // its first segment
    uint8_t m_spanProtocol = kOtherIp;
    std::vector<uint8_t> m_span;        // the packet so far, from its TPKT header on
    size_t m_spanTotal = 0;             // the whole packet's size (0 until its header is there)
    std::vector<std::pair<uint64_t, size_t>> m_spanUsed;  // later segments used: line, octets
    std::vector<std::string> m_spanSegments;              // where each part came from
};

}  // namespace vexa::ip
