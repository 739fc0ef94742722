#include "IpLineReader.h"

#include "HexText.h"
#include "TraceLine.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vexa::ip {

using namespace component;

namespace {

// Writes the decimal digits of v (below 100,000).
char *PutDecimal(char *p, unsigned v) {
    if (v >= 10000) *p++ = static_cast<char>('0' + v / 10000);
    if (v >= 1000) *p++ = static_cast<char>('0' + v / 1000 % 10);
    if (v >= 100) *p++ = static_cast<char>('0' + v / 100 % 10);
    if (v >= 10) *p++ = static_cast<char>('0' + v / 10 % 10);
    *p++ = static_cast<char>('0' + v % 10);
    return p;
}

// A number of at most limit from the front of text at i, its digits taken.
bool TakeNumber(std::string_view text, size_t &i, uint32_t limit, uint32_t &value) {
    const size_t start = i;
    uint32_t v = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        v = v * 10 + static_cast<uint32_t>(text[i] - '0');
        if (v > limit || i - start > 5) return false;
        ++i;
    }
    value = v;
    return i > start;
}

// "a.b.c.d:port" at text's position i; false when there is none.
bool TakeEndpoint(std::string_view text, size_t &i, Endpoint &e) {
    uint32_t address = 0, part = 0;
    for (int k = 0; k < 4; ++k) {
        if (!TakeNumber(text, i, 255, part) || i >= text.size() || text[i] != (k < 3 ? '.' : ':')) return false;
        address = address << 8 | part;
        ++i;
    }
    if (!TakeNumber(text, i, 65535, part)) return false;
    e.address = address;
    e.port = static_cast<uint16_t>(part);
    return true;
}

// "a.b.c.d:port > e.f.g.h:port" with one blank each side of the arrow, as the exchange
// writes it; false for anything else, which the general reader takes.
bool ReadPlainEndpoints(std::string_view text, Endpoint &from, Endpoint &to) {
    size_t i = 0;
    if (!TakeEndpoint(text, i, from) || text.substr(i, 3) != " > ") return false;
    i += 3;
    return TakeEndpoint(text, i, to) && i == text.size();
}

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

bool IsBlankCharacter(char c) { return c == ' ' || c == '\t'; }

// The keyword of a row and what follows it. The exchange writes it at column 24 after
// blanks: taken there at once; any other row is split the general way.
bool RowKeyword(std::string_view line, std::string_view &keyword) {
    static constexpr char kBlanks[kKeywordColumn + 1] = "                        ";
    if (line.size() > kKeywordColumn && !IsBlankCharacter(line[kKeywordColumn]) &&
        std::memcmp(line.data(), kBlanks, kKeywordColumn) == 0) {
        keyword = line.substr(kKeywordColumn);
        while (IsBlankCharacter(keyword.back())) keyword.remove_suffix(1);
        return true;
    }
    return SplitRow(line, keyword);
}

// The value of a hex digit, or 16 for any other character.
constexpr std::array<uint8_t, 256> kHexValue = [] {
    std::array<uint8_t, 256> t{};
    for (auto &v : t) v = 16;
    for (int c = '0'; c <= '9'; ++c) t[c] = static_cast<uint8_t>(c - '0');
    for (int c = 'A'; c <= 'F'; ++c) t[c] = static_cast<uint8_t>(c - 'A' + 10);
    for (int c = 'a'; c <= 'f'; ++c) t[c] = static_cast<uint8_t>(c - 'a' + 10);
    return t;
}();

// The octet of two hex digits, by the two characters (the first in the high byte), or 256
// when they are not two hex digits. Filled when the library is loaded (too many steps for
// some compilers' constant evaluation).
const std::array<uint16_t, 65536> kHexPair = [] {
    std::array<uint16_t, 65536> t{};
    for (unsigned i = 0; i < 65536; ++i) {
        const unsigned high = kHexValue[i >> 8], low = kHexValue[i & 255];
        t[i] = static_cast<uint16_t>(high < 16 && low < 16 ? high << 4 | low : 256);
    }
    return t;
}();

// Octets of a DATA row as the exchange writes them, "08 02 00 01": two hex digits each, one
// blank between. False (nothing appended) for any other form, which the general reader takes.
bool AppendPlainHexRow(std::string_view text, std::vector<uint8_t> &out, size_t maxOctets) {
    const size_t n = text.size();
    if (n < 2 || (n + 1) % 3 != 0) return false;
    const size_t count = (n + 1) / 3;
    if (out.size() + count > maxOctets) return false;
    const auto *c = reinterpret_cast<const unsigned char *>(text.data());
    const size_t old = out.size();
    if (out.capacity() < old + count) out.reserve(std::max(old + count, 2 * out.capacity()));
    out.resize(old + count);
    uint8_t *octet = out.data() + old;
    for (size_t i = 0; i < count; ++i, c += 3) {
        const unsigned value = kHexPair[static_cast<unsigned>(c[0]) << 8 | c[1]];
        if (value > 255 || (i + 1 < count && c[2] != ' ')) {
            out.resize(old);
            return false;
        }
        octet[i] = static_cast<uint8_t>(value);
    }
    return true;
}

}  // namespace

std::string EndpointText(const Endpoint &e) {
    std::string s;
    AppendEndpoint(s, e);
    return s;
}

void AppendEndpoint(std::string &s, const Endpoint &e) {
    char text[24];
    s.append(text, PutEndpoint(text, e));
}

char *PutEndpoint(char *p, const Endpoint &e) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        p = PutDecimal(p, (e.address >> shift) & 255);
        *p++ = shift ? '.' : ':';
    }
    return PutDecimal(p, e.port);
}

void IpLineReader::Reset() {
    Clear(*m_signal);
    Clear(*m_closed);
    m_open = false;
    m_midLine = false;
    m_dropped = 0;
    m_len = -1;
}

void IpLineReader::Problem(std::string text) {
    if (m_signal->problems.size() < kMaxProblems) m_signal->problems.push_back(std::move(text));
}

void IpLineReader::Clear(IpSignal &s) {
    // The room of the octets and texts is kept for the next signal.
    s.sequence = 0;
    s.time.clear();
    s.direction.clear();
    s.signalName.clear();
    s.originator.clear();
    s.destination.clear();
    s.transport = Transport::None;
    s.source = s.destinationEnd = Endpoint();
    s.octets.clear();
    s.problems.clear();
    s.lenSeen = false;
}

void IpLineReader::Open(const RecordLine &rec) {
    Clear(*m_signal);
    m_signal->sequence = rec.sequence;
    m_signal->time = rec.time;
    m_signal->direction = rec.direction;
    m_signal->signalName = rec.signalName;
    m_signal->originator = rec.originator;
    m_signal->destination = rec.destination;
    m_open = true;
    m_dropped = 0;
    m_len = -1;
}

void IpLineReader::Close() {
    if (m_dropped) Problem(std::to_string(m_dropped) + " octets beyond the largest signal of " + std::to_string(kMaxOctets) +
                           " octets are not shown");
    if (m_len >= 0 && static_cast<size_t>(m_len) != m_signal->octets.size() + m_dropped) {
        Problem("LEN " + std::to_string(m_len) + " but the DATA rows hold " + std::to_string(m_signal->octets.size() + m_dropped) +
                " octets");
    }
    if (!m_signal->lenSeen) Problem("LEN row missing: the signal may be cut short");
    if (m_signal->transport == Transport::None) Problem("UDP or TCP row missing: the transport of the signal is not known");
    std::swap(m_closed, m_signal);
    Clear(*m_signal);
    m_open = false;
}

void IpLineReader::TransportRow(std::string_view keyword, std::string_view rest) {
    Endpoint from, to;
    if (ReadPlainEndpoints(rest, from, to)) {
        m_signal->transport = keyword == "UDP" ? Transport::Udp : Transport::Tcp;
        m_signal->source = from;
        m_signal->destinationEnd = to;
        return;
    }
    std::string_view a = Word(rest);
    std::string_view arrow = Word(rest);
    std::string_view b = Word(rest);
    if (!ReadEndpoint(a, from) || arrow != ">" || !ReadEndpoint(b, to)) {
        Problem(std::string(keyword) + " row not of the form a.b.c.d:port > e.f.g.h:port");
        return;
    }
    m_signal->transport = keyword == "UDP" ? Transport::Udp : Transport::Tcp;
    m_signal->source = from;
    m_signal->destinationEnd = to;
}

void IpLineReader::DataRow(std::string_view rest) {
    if (AppendPlainHexRow(rest, m_signal->octets, kMaxOctets)) return;
    HexRowProblems problems;
    m_dropped += AppendHexOctets(rest, m_signal->octets, problems, kMaxOctets);
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
    m_signal->lenSeen = true;
}

IpLine IpLineReader::Feed(std::string_view piece) {
    IpLine result;
    const bool continuation = m_midLine;
    m_midLine = piece.empty() || piece.back() != '\n';
    if (continuation) return result;  // the rest of a line longer than a piece: free text
    std::string_view line = StripLineEnd(piece);
    RecordLine rec;
    // A record line begins with the time's first digit, a row with a blank.
    if (!line.empty() && line[0] >= '0' && line[0] <= '9' && ParseRecordLine(line, rec)) {
        if (m_open) {
            Close();
            result.closed = 2;
        }
        if (IsIpSignalName(rec.signalName)) {
            Open(rec);
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
    if (!m_open || !RowKeyword(line, keyword)) return result;
    std::string_view rest;
    if (TakeKeyword(keyword, "DATA", rest)) {
        DataRow(rest);
        result.kind = kDataRow;
    } else if (TakeKeyword(keyword, "UDP", rest) || TakeKeyword(keyword, "TCP", rest)) {
        TransportRow(keyword.substr(0, 3), rest);
        result.kind = kTransportRow;
    } else if (TakeKeyword(keyword, "LEN", rest)) {
        LenRow(rest);
        result.kind = kLenRow;
        Close();
        result.closed = 1;
    }
    return result;
}

}  // namespace vexa::ip
