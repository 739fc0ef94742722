// Reads the IP signals of a trace line by line: the record line of an IPSEND or IPRECV
// signal, its UDP or TCP row, its DATA rows and its LEN row. A signal is closed by its LEN
// row, by the next record line or by an end line; the closed signal is handed back whole.
#pragma once

#include "TraceLine.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::ip {

enum LineKind : int { kOther = 0, kRecordLine = 1, kTransportRow = 2, kLenRow = 3, kDataRow = 4 };

enum class Transport : uint8_t { None, Udp, Tcp };

struct Endpoint {
    uint32_t address = 0;
    uint16_t port = 0;
    bool operator==(const Endpoint &) const = default;
};

std::string EndpointText(const Endpoint &e);  // "10.0.0.1:1720"
void AppendEndpoint(std::string &s, const Endpoint &e);
// Writes "10.0.0.1:1720" at p (21 characters at most); returns its end.
char *PutEndpoint(char *p, const Endpoint &e);

// One IP signal as the trace gave it.
struct IpSignal {
    int sequence = 0;
    std::string time, direction, signalName, originator, destination;
    Transport transport = Transport::None;
    Endpoint source, destinationEnd;
    std::vector<uint8_t> octets;
    std::vector<std::string> problems;  // what was wrong with its rows
    bool lenSeen = false;
};

struct IpLine {
    int kind = kOther;
    // A signal closed: 1 by this line (its LEN row or an end line), 2 by this line, which
    // starts something else (a record line), 0 none.
    int closed = 0;
};

class IpLineReader {
public:
    // Most octets kept for one signal; the rest are counted and reported.
    static constexpr size_t kMaxOctets = 65535 + 4;
    static constexpr size_t kMaxProblems = 16;

    // Reads one line (or one piece of a long line). When it closes a signal, the signal is
    // in Closed() until the next call.
    IpLine Feed(std::string_view line);
    IpLineReader() = default;
    IpLineReader(const IpLineReader &) = delete;
    IpLineReader &operator=(const IpLineReader &) = delete;

    IpSignal &Closed() { return *m_closed; }
    bool InSignal() const { return m_open; }
    void Reset();

private:
    void Open(const component::RecordLine &rec);
    static void Clear(IpSignal &s);
    void Close();
    void Problem(std::string text);
    void TransportRow(std::string_view keyword, std::string_view rest);
    void DataRow(std::string_view rest);
    void LenRow(std::string_view rest);

    // The signal being read and the one closed last: two that change places, so that the
    // room of their octets is kept.
    IpSignal m_signals[2];
    IpSignal *m_signal = &m_signals[0];
    IpSignal *m_closed = &m_signals[1];
    bool m_open = false;
    bool m_midLine = false;  // the last piece did not end its line
    size_t m_dropped = 0;
    long long m_len = -1;
};

}  // namespace vexa::ip
