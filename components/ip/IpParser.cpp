#include "IpParser.h"

#include "DecodedText.h"
#include "DispatchIds.h"
#include "HexText.h"
#include "Tpkt.h"
#include "TraceLine.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

namespace vexa::ip {

using component::Call;
using component::Member;

namespace {

constexpr uint16_t kRasPort = 1719;
constexpr uint16_t kRasDiscoveryPort = 1718;
constexpr uint16_t kCallSignallingPort = 1720;

bool Either(const IpSignal &s, uint16_t port) { return s.source.port == port || s.destinationEnd.port == port; }

uint8_t ProtocolOf(const IpSignal &s) {
    if (s.transport == Transport::Udp) return Either(s, kRasPort) || Either(s, kRasDiscoveryPort) ? kRas : kOtherIp;
    if (s.transport == Transport::Tcp) return Either(s, kCallSignallingPort) ? kCallSignalling : kH245;
    return kOtherIp;
}

bool SameConnection(const IpSignal &a, const IpSignal &b) {
    return a.transport == Transport::Tcp && b.transport == Transport::Tcp && a.source == b.source &&
           a.destinationEnd == b.destinationEnd;
}

std::string TransportText(const IpSignal &s) {
    char text[64];
    std::memcpy(text, s.transport == Transport::Udp ? "UDP " : "TCP ", 4);
    char *p = PutEndpoint(text + 4, s.source);
    std::memcpy(p, " > ", 3);
    p = PutEndpoint(p + 3, s.destinationEnd);
    return std::string(text, p);
}

// "transport, N octets" and the like: the first line of a decoded message's text.
const std::string &Header(std::string &room, const std::string &transport, const char *before, size_t n, const char *after) {
    room = transport;
    room += before;
    char digits[24];
    room.append(digits, std::to_chars(digits, digits + sizeof digits, n).ptr);
    room += after;
    return room;
}

const char *ProtocolTitle(uint8_t protocol) {
    switch (protocol) {
    case kRas: return "H.225.0 RAS";
    case kCallSignalling: return "H.225.0 call signalling";
    case kH245: return "H.245";
    }
    return "IP";
}

std::string Sequence5(int sequence) {
    std::string s = std::to_string(sequence);
    return std::string(s.size() < 5 ? 5 - s.size() : 0, '0') + s;
}

}  // namespace

std::span<const Member<IpParser>> IpParser::Members() {
    constexpr const ParserDispIds &ids = kIpDispIds;
    using P = IpParser;
    // clang-format off
    static constexpr Member<IpParser> kMembers[] = {
        {ids.ParseLine,               "ParseLine",               "sHH:h",        &P::ParseLine},
        {ids.GetLastMessageIndex,     "GetLastMessageIndex",     ":l",           &P::GetLastMessageIndex},
        {ids.GetSequenceNumber,       "GetSequenceNumber",       "l:h",          &P::GetSequenceNumber},
        {ids.GetSequenceMessageCount, "GetSequenceMessageCount", "h:l",          &P::GetSequenceMessageCount},
        {ids.GetSequenceMessage,      "GetSequenceMessage",      "hhSSSSSSSV:h", &P::GetSequenceMessage},
        {ids.GetMessage,              "GetMessage",              "lHSSSSSSSV:b", &P::GetMessage},
        {ids.GetMessageCount,         "GetMessageCount",         "L:b",          &P::GetMessageCount},
        {ids.FindFirstMessage,        "FindFirstMessage",        "s:l",          &P::FindFirstMessage},
        {ids.FindNextMessage,         "FindNextMessage",         "sl:l",         &P::FindNextMessage},
        {ids.Reset,                   "Reset",                   ":b",           &P::Reset},
        {ids.FindFirstByProtocol,     "FindFirstByProtocol",     "s:l",          &P::FindFirstByProtocol},
        {ids.FindNextByProtocol,      "FindNextByProtocol",      "sl:l",         &P::FindNextByProtocol},
    };
    // clang-format on
    return kMembers;
}

IpParser::IpParser(const VexaHost *host) : ComponentObject(host) {}

int32_t IpParser::Invoke(int32_t dispid, Call &call) { return component::DispatchMember(*this, Members(), dispid, call); }

void IpParser::ParseLine(Call &call) {
    int kind = 0, completion = 0, status = 0;
    if (m_scanning)
        ScanLine(call.text(0), kind, completion, status);
    else
        Line(call.text(0), kind, completion, status);
    call.setNumber(1, kind);
    call.setNumber(2, completion);
    call.returnShort(status);
}

void IpParser::Line(std::string_view line, int &kind, int &completion, int &status) {
    ++m_lineNo;
    ++m_read;
    const uint64_t record = m_recordLine;
    const IpLine r = m_reader.Feed(line);
    if (r.kind == kRecordLine) m_recordLine = m_lineNo;
    kind = r.kind;
    if (!r.closed) return;
    if (Messages(m_reader.Closed(), record, r.kind == kLenRow)) {
        status = kMark;
        m_markLine = m_lineNo;
        return;
    }
    Commit();
    completion = r.closed;
    status = 1;
}

void IpParser::ScanLine(std::string_view line, int &kind, int &completion, int &status) {
    ++m_lineNo;
    ++m_scanned;
    const uint64_t record = m_recordLine;
    const IpLine r = m_reader.Feed(line);
    if (r.kind == kRecordLine) m_recordLine = m_lineNo;
    kind = kOther;
    std::string problem;
    bool done = false;
    if (r.closed && SameConnection(m_reader.Closed(), m_first)) {
        const IpSignal &s = m_reader.Closed();
        size_t skip = 0;
        if (auto it = m_used.find(record); it != m_used.end()) skip = std::min(it->second.octets, s.octets.size());
        const uint8_t *p = s.octets.data() + skip;
        const size_t available = s.octets.size() - skip;
        size_t taken = 0;
        while (m_span.size() < 4 && taken < available) m_span.push_back(p[taken++]);
        if (m_spanTotal == 0 && m_span.size() == 4) {
            m_spanTotal = TpktTotal(m_span.data());
            if (m_spanTotal == 0) problem = "the TPKT header completed by signal " + Sequence5(s.sequence) + " is not valid";
        }
        if (m_spanTotal) {
            const size_t n = std::min(m_spanTotal - m_span.size(), available - taken);
            m_span.insert(m_span.end(), p + taken, p + taken + n);
            taken += n;
        }
        if (taken) {
            m_spanUsed.emplace_back(record, skip + taken);
            m_spanSegments.push_back("Segment " + std::to_string(m_spanSegments.size() + 1) + ": signal " +
                                     Sequence5(s.sequence) + " at " + s.time + ", " + std::to_string(taken) +
                                     (taken == 1 ? " octet" : " octets"));
        }
        done = !problem.empty() || (m_spanTotal && m_span.size() == m_spanTotal);
    }
    if (!done && component::IsEndLine(component::StripLineEnd(line))) {
        problem = "the trace ends before the rest of the TPKT packet";
        done = true;
    }
    if (!done && m_lineNo - m_markLine >= kMaxScanLines) {
        problem = "the rest of the TPKT packet is not within " + std::to_string(kMaxScanLines) + " lines of its start";
        done = true;
    }
    if (!done) return;
    FinishScan(std::move(problem));
    completion = 1;
    status = kRewindAndDrop;
}

bool IpParser::Messages(IpSignal &s, uint64_t recordLine, bool canSpan) {
    m_pending.clear();
    m_pendingTexts.clear();
    size_t skip = 0;
    Used used;
    if (auto it = m_used.find(recordLine); it != m_used.end()) {
        used = it->second;
        skip = std::min(used.octets, s.octets.size());
        m_used.erase(it);
    }
    const uint8_t protocol = ProtocolOf(s);
    std::vector<std::string> problems = std::move(s.problems);
    component::DecodedText out;
    if (s.transport == Transport::None) {
        out.BeginPart("IP signal");
        for (const std::string &p : problems) out.Error(p);
        if (!s.octets.empty()) out.Field("Octets", component::HexDump(s.octets.data(), s.octets.size()));
        Add(s, "IP signal", kOtherIp, false, out.Take());
        return false;
    }
    const std::string transport = TransportText(s);
    if (s.transport == Transport::Udp) {
        if (protocol == kRas) {
            AddDecoded(s, kRas, s.octets.data(), s.octets.size(), std::move(problems),
                       Header(m_header, transport, ", ", s.octets.size(), s.octets.size() == 1 ? " octet" : " octets"));
            return false;
        }
        out.BeginPart(transport + ": not H.225.0 RAS (ports 1719 and 1718)");
        for (const std::string &p : problems) out.Error(p);
        out.Field("Octets", component::HexDump(s.octets.data(), s.octets.size()));
        Add(s, "UDP datagram", kOtherIp, !out.HasErrors(), out.Take());
        return false;
    }
    const uint8_t *data = s.octets.data() + skip;
    const size_t size = s.octets.size() - skip;
    if (skip) {
        out.BeginPart(transport);
        for (const std::string &p : problems) out.Error(p);
        problems.clear();
        out.Line("Octets 1-" + std::to_string(skip) + " of this segment end the " + used.name +
                 " that signal " + Sequence5(used.sequence) + " shows whole");
        Add(s, "continuation of " + used.name, protocol, !out.HasErrors(), out.Take());
    }
    const TpktSplit split = SplitTpkt(data, size);
    for (const TpktPiece &piece : split.pieces) {
        if (!piece.problem.empty()) {
            out.Clear();
            out.BeginPart(transport);
            for (const std::string &p : problems) out.Error(p);
            problems.clear();
            out.Error(piece.problem);
            out.Field("Octets", component::HexDump(data + piece.offset, piece.size));
            Add(s, "TPKT error", protocol, false, out.Take());
            continue;
        }
        AddDecoded(s, protocol, data + piece.offset, piece.size, std::move(problems),
                   Header(m_header, transport, ", TPKT of ", piece.size + 4, " octets"));
        problems.clear();
    }
    if (split.unfinished) {
        if (canSpan && m_scanned < 2 * m_read + kScanAllowance) {
            // The packet goes on in later segments: collect them, then have the program
            // read the lines after this one again.
            m_first = s;
            m_first.problems = std::move(problems);
            m_first.octets.clear();
            m_spanProtocol = protocol;
            m_span.assign(data + split.unfinishedStart, data + size);
            m_spanTotal = split.unfinishedTotal;
            m_spanUsed.clear();
            m_spanSegments.assign(1, "Segment 1: signal " + Sequence5(s.sequence) + " at " + s.time + ", " +
                                         std::to_string(m_span.size()) + (m_span.size() == 1 ? " octet" : " octets"));
            m_scanning = true;
            return true;
        }
        const size_t have = size - split.unfinishedStart;
        problems.push_back("TPKT packet cut short: " +
                           (split.unfinishedTotal ? std::to_string(split.unfinishedTotal) + " octets announced, "
                                                  : std::string("its header is not complete, ")) +
                           std::to_string(have) + " in the segment");
        const size_t payload = have > 4 ? have - 4 : 0;
        AddDecoded(s, protocol, data + size - payload, payload, std::move(problems), transport + ", TPKT cut short");
        problems.clear();
    }
    if (m_pending.empty()) {
        out.Clear();
        out.BeginPart(transport);
        for (const std::string &p : problems) out.Error(p);
        out.Line("No octets: the segment carries no TPKT packet");
        Add(s, "TCP segment without data", protocol, !out.HasErrors(), out.Take());
    }
    return false;
}

void IpParser::FinishScan(std::string problem) {
    std::vector<std::string> problems = std::move(m_first.problems);
    if (!problem.empty()) problems.push_back("Spanning TPKT packet not complete: " + problem);
    std::string header = TransportText(m_first) + ", TPKT of " +
                         (m_spanTotal ? std::to_string(m_spanTotal) : std::string("?")) + " octets in " +
                         std::to_string(m_spanSegments.size()) + " segments";
    for (const std::string &segment : m_spanSegments) header += "\n" + segment;
    const size_t payload = m_span.size() > 4 ? m_span.size() - 4 : 0;
    AddDecoded(m_first, m_spanProtocol, payload ? m_span.data() + 4 : m_span.data(), payload, std::move(problems), header);
    const IpMessage &spanning = m_pending.back();
    for (const auto &[line, octets] : m_spanUsed) m_used[line] = Used{octets, std::string(m_pool.Get(spanning.name)), m_first.sequence};
    Commit();
    m_lineNo = m_markLine;
    m_reader.Reset();
    m_scanning = false;
    m_span.clear();
    m_spanTotal = 0;
    m_spanUsed.clear();
    m_spanSegments.clear();
}

void IpParser::FromSignal(const IpSignal &s, IpMessage &m) {
    m.sequence = static_cast<int16_t>(s.sequence);
    m.direction = m_pool.Intern(s.direction);
    m.signalName = m_pool.Intern(s.signalName);
    m.originator = m_pool.Intern(s.originator);
    m.destination = m_pool.Intern(s.destination);
    m.timeLength = static_cast<uint8_t>(std::min(s.time.size(), sizeof m.time));
    std::memcpy(m.time, s.time.data(), m.timeLength);
}

void IpParser::Add(const IpSignal &s, std::string name, uint8_t protocol, bool valid, std::string text) {
    IpMessage m;
    FromSignal(s, m);
    m.name = m_pool.Intern(name);
    m.text = text;
    m.valid = valid;
    m.protocol = protocol;
    m_pending.push_back(std::move(m));
    m_pendingTexts.push_back(std::move(text));
}

std::string IpParser::Decoded(const IpMessage &m, H323Message &d) const {
    const H323Protocol p = m.protocol == kRas ? H323Protocol::Ras
                           : m.protocol == kCallSignalling ? H323Protocol::CallSignalling
                                                           : H323Protocol::H245;
    std::string title = ProtocolTitle(m.protocol);
    title += ", ";
    title.append(reinterpret_cast<const char *>(m.header.data()), m.header.size());
    d = H323Decoder::Decode(p, m.payload.data(), m.payload.size(), m.problems, title);
    return std::move(d.text);
}

void IpParser::AddDecoded(const IpSignal &s, uint8_t protocol, const uint8_t *data, size_t size,
                          std::vector<std::string> problems, const std::string &header) {
    IpMessage m;
    m.protocol = protocol;
    m.header = m_arena.Add(reinterpret_cast<const uint8_t *>(header.data()), header.size());
    m.payload = m_arena.Add(data, size);
    m.problems = std::move(problems);
    m.decodedAgain = true;
    H323Message d;
    std::string text = Decoded(m, d);
    FromSignal(s, m);
    m.name = m_pool.Intern(d.name);
    m.valid = d.valid;
    m_pending.push_back(std::move(m));
    m_pendingTexts.push_back(std::move(text));
}

const std::string &IpParser::TextOf(int32_t index) {
    const int32_t recent = index - m_recentFirst;
    if (recent >= 0 && recent < static_cast<int32_t>(m_recentTexts.size())) return m_recentTexts[recent];
    const IpMessage &m = m_messages[index - 1];
    if (!m.decodedAgain) return m.text;
    if (m_cachedIndex != index) {
        H323Message d;
        m_cachedText = Decoded(m, d);
        m_cachedIndex = index;
    }
    return m_cachedText;
}

void IpParser::Commit() {
    if (m_pending.empty()) return;
    const int32_t first = static_cast<int32_t>(m_messages.size()) + 1;
    const int sequence = m_pending.front().sequence;
    const int32_t count = static_cast<int32_t>(m_pending.size());
    for (IpMessage &m : m_pending) m_messages.push_back(std::move(m));
    m_pending.clear();
    m_recentFirst = first;
    m_recentTexts.swap(m_pendingTexts);
    m_pendingTexts.clear();
    m_bySequence[static_cast<uint16_t>(sequence)] = {first, count};
}

void IpParser::GetLastMessageIndex(Call &call) {
    call.returnLong(m_messages.empty() ? -1 : static_cast<int32_t>(m_messages.size()));
}

void IpParser::GetSequenceNumber(Call &call) {
    const int32_t index = call.number(0);
    if (index < 1 || index > static_cast<int32_t>(m_messages.size())) {
        call.returnShort(0);
        return;
    }
    call.returnShort(m_messages[index - 1].sequence);
}

void IpParser::GetSequenceMessageCount(Call &call) {
    call.returnLong(m_bySequence[static_cast<uint16_t>(call.shortNumber(0))].second);
}

void IpParser::PutMessage(Call &call, int first, int32_t index, const IpMessage &m) {
    call.setText(first + 0, m_pool.Get(m.direction));
    call.setText(first + 1, m_pool.Get(m.signalName));
    call.setText(first + 2, m_pool.Get(m.name));
    call.setText(first + 3, m.Time());
    call.setText(first + 4, m_pool.Get(m.originator));
    call.setText(first + 5, m_pool.Get(m.destination));
    // The program's list does not ask for the text (it passes no sink for it).
    const VexaHost *h = host();
    if (h && h->setText && call.arg(first + 6).sink) call.setText(first + 6, TextOf(index));
    call.setFlag(first + 7, m.valid);
}

void IpParser::GetSequenceMessage(Call &call) {
    const int i = call.shortNumber(0);
    const std::pair<int32_t, int32_t> &found = m_bySequence[static_cast<uint16_t>(call.shortNumber(1))];
    if (i < 1 || i > found.second) {
        call.setFlag(9, false);
        call.returnShort(0);
        return;
    }
    const int32_t index = found.first + i - 1;
    PutMessage(call, 2, index, m_messages[index - 1]);
    call.returnShort(1);
}

void IpParser::GetMessage(Call &call) {
    const int32_t index = call.number(0);
    if (index < 1 || index > static_cast<int32_t>(m_messages.size())) {
        call.setNumber(1, 0);
        call.setFlag(9, false);
        call.returnBool(false);
        return;
    }
    const IpMessage &m = m_messages[index - 1];
    call.setNumber(1, m.sequence);
    PutMessage(call, 2, index, m);
    call.returnBool(true);
}

void IpParser::GetMessageCount(Call &call) {
    call.setNumber(0, static_cast<int32_t>(m_messages.size()));
    call.returnBool(true);
}

int32_t IpParser::FindNext(std::string_view text, int32_t after, bool byProtocol) const {
    const int32_t count = static_cast<int32_t>(m_messages.size());
    for (int32_t i = std::max(after, 0) + 1; i <= count; ++i) {
        const IpMessage &m = m_messages[i - 1];
        if (byProtocol) {
            if (text.empty() || (m.protocol != kOtherIp && text == ProtocolText(static_cast<H323Protocol>(m.protocol))))
                return i;
        } else if (const std::string_view direction = m_pool.Get(m.direction);
                   text == direction || (text == "HWSW" && direction != "SWHW") || text == m_pool.Get(m.name)) {
            return i;
        }
    }
    return -1;
}

void IpParser::FindFirstMessage(Call &call) { call.returnLong(FindNext(call.text(0), 0, false)); }

void IpParser::FindNextMessage(Call &call) { call.returnLong(FindNext(call.text(0), call.number(1), false)); }

void IpParser::FindFirstByProtocol(Call &call) { call.returnLong(FindNext(call.text(0), 0, true)); }

void IpParser::FindNextByProtocol(Call &call) { call.returnLong(FindNext(call.text(0), call.number(1), true)); }

void IpParser::Reset(Call &call) {
    m_reader.Reset();
    m_messages.clear();
    m_pool.Clear();
    m_arena.Clear();
    m_pending.clear();
    m_pendingTexts.clear();
    m_recentFirst = 0;
    m_recentTexts.clear();
    m_cachedIndex = 0;
    m_cachedText.clear();
    std::fill(m_bySequence.begin(), m_bySequence.end(), std::pair<int32_t, int32_t>{});
    m_used.clear();
    m_lineNo = 0;
    m_recordLine = 0;
    m_scanning = false;
    m_scanned = 0;
    m_read = 0;
    m_span.clear();
    m_spanTotal = 0;
    m_spanUsed.clear();
    m_spanSegments.clear();
    call.returnBool(true);
}

}  // namespace vexa::ip

VEXA_EXPORT_COMPONENT("VexaIpParser", vexa::ip::IpParser)
