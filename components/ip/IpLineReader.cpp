#include "IpLineReader.h"

#include "HexText.h"
#include "TraceLine.h"

namespace vexa::ip {

using namespace component;

namespace {

// "a.b.c.d:port"; false when text is not one.
bool ReadEndpoint(std::string_view text, Endpoint &e) {
    uint32_t address = 0;
    for (int i = 0; i < 4; ++i) {
        long long part = 0;
        if (!ReadDecimal(text, 255, part)) return false;
        address = address << 8 | static_cast<uint32_t>(part);
        const char sep = i < 3 ? '.' : ':';
        if (text.empty() || text[0] != sep) return false;
        text.remove_prefix(1);
    }
    long long port = 0;
    if (!ReadDecimal(text, 65535, port) || !text.empty()) return false;
    e.address = address;
    e.port = static_cast<uint16_t>(port);
    return true;
}

// Splits off the next blank-separated word.
std::string_view Word(std::string_view &text) {
    text = TrimBlanks(text);
    size_t n = 0;
    while (n < text.size() && text[n] != ' ' && text[n] != '\t') ++n;
    std::string_view w = text.substr(0, n);
    text.remove_prefix(n);
    text = TrimBlanks(text);
    return w;
}

bool IsIpSignalName(std::string_view name) { return name == "IPSEND" || name == "IPRECV"; }

}  // namespace

std::string EndpointText(const Endpoint &e) {
    return std::to_string(e.address >> 24) + "." + std::to_string((e.address >> 16) & 255) + "." +
           std::to_string((e.address >> 8) & 255) + "." + std::to_string(e.address & 255) + ":" + std::to_string(e.port);
}

void IpLineReader::Reset() {
    m_signal = IpSignal();
    m_closed = IpSignal();
    m_open = false;
    m_midLine = false;
    m_dropped = 0;
    m_len = -1;
}

void IpLineReader::Problem(std::string text) {
    if (m_signal.problems.size() < kMaxProblems) m_signal.problems.push_back(std::move(text));
}

void IpLineReader::Open(std::string_view line) {
    RecordLine rec;
    ParseRecordLine(line, rec);
    m_signal = IpSignal();
    m_signal.sequence = rec.sequence;
    m_signal.time = rec.time;
    m_signal.direction = rec.direction;
    m_signal.signalName = rec.signalName;
    m_signal.originator = rec.originator;
    m_signal.destination = rec.destination;
    m_open = true;
    m_dropped = 0;
    m_len = -1;
}

void IpLineReader::Close() {
    if (m_dropped) Problem(std::to_string(m_dropped) + " octets beyond the largest signal of " + std::to_string(kMaxOctets) +
                           " octets are not shown");
    if (m_len >= 0 && static_cast<size_t>(m_len) != m_signal.octets.size() + m_dropped) {
        Problem("LEN " + std::to_string(m_len) + " but the DATA rows hold " + std::to_string(m_signal.octets.size() + m_dropped) +
                " octets");
    }
    if (!m_signal.lenSeen) Problem("LEN row missing: the signal may be cut short");
    if (m_signal.transport == Transport::None) Problem("UDP or TCP row missing: the transport of the signal is not known");
    m_closed = std::move(m_signal);
    m_signal = IpSignal();
    m_open = false;
}

void IpLineReader::TransportRow(std::string_view keyword, std::string_view rest) {
    Endpoint from, to;
    std::string_view a = Word(rest);
    std::string_view arrow = Word(rest);
    std::string_view b = Word(rest);
    if (!ReadEndpoint(a, from) || arrow != ">" || !ReadEndpoint(b, to)) {
        Problem(std::string(keyword) + " row not of the form a.b.c.d:port > e.f.g.h:port");
        return;
    }
    m_signal.transport = keyword == "UDP" ? Transport::Udp : Transport::Tcp;
    m_signal.source = from;
    m_signal.destinationEnd = to;
}

void IpLineReader::DataRow(std::string_view rest) {
    HexRowProblems problems;
    m_dropped += AppendHexOctets(rest, m_signal.octets, problems, kMaxOctets);
    if (problems.oddDigits) Problem("DATA row with an odd number of hex digits in an octet");
    if (problems.badCharacters) Problem("DATA row with characters that are not hex digits");
}

void IpLineReader::LenRow(std::string_view rest) {
    long long n = 0;
    std::string_view text = TrimBlanks(rest);
    if (!ReadDecimal(text, 1LL << 40, n) || !TrimBlanks(text).empty()) {
        Problem("LEN row without a number");
        n = -1;
    }
    m_len = n;
    m_signal.lenSeen = true;
}

IpLine IpLineReader::Feed(std::string_view piece) {
    IpLine result;
    const bool continuation = m_midLine;
    m_midLine = piece.empty() || piece.back() != '\n';
    if (continuation) return result;  // the rest of a line longer than a piece: free text
    std::string_view line = StripLineEnd(piece);
    RecordLine rec;
    if (ParseRecordLine(line, rec)) {
        if (m_open) {
            Close();
            result.closed = 2;
        }
        if (IsIpSignalName(rec.signalName)) {
            Open(line);
            result.kind = kRecordLine;
        }
        return result;
    }
    if (IsEndLine(line)) {
        if (m_open) {
            Close();
            result.closed = 1;
        }
        return result;
    }
    std::string_view keyword;
    if (!m_open || !SplitRow(line, keyword)) return result;
    std::string_view rest;
    if (TakeKeyword(keyword, "UDP", rest) || TakeKeyword(keyword, "TCP", rest)) {
        TransportRow(keyword.substr(0, 3), rest);
        result.kind = kTransportRow;
    } else if (TakeKeyword(keyword, "DATA", rest)) {
        DataRow(rest);
        result.kind = kDataRow;
    } else if (TakeKeyword(keyword, "LEN", rest)) {
        LenRow(rest);
        result.kind = kLenRow;
        Close();
        result.closed = 1;
    }
    return result;
}

}  // namespace vexa::ip
