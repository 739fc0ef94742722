// Drives a VexaIpParser.so through the program's own client (vexa::CIpParser), and feeds
// whole traces the way the interpretation run does, following the component's mark and
// rewind statuses.
#pragma once

#include "CIpParser.h"

#include <string>
#include <string_view>
#include <vector>

namespace vexa::ip::test {

struct Message {
    int sequence = 0;
    std::string direction, signalName, name, time, originator, destination, text;
    bool valid = false;
};

// One completion as the program sees it.
struct Completion {
    std::string line;  // the line that completed it
    int status = 0;
    int completion = 0;
    int sequence = 0;
    std::vector<Message> messages;
};

// The answer to one line.
struct Answer {
    std::string line;
    int status = 0, kind = 0, completion = 0;
};

class IpClient {
public:
    IpClient();
    bool Loaded() const { return m_parser.HasDispatch(); }
    CIpParser &Parser() { return m_parser; }

    Answer ParseLine(std::string_view line);
    // Feeds a trace from its first record line, following marks and rewinds (at most
    // `maxCalls` ParseLine calls), feeding "END" when it has no end line.
    std::vector<Completion> Run(const std::string &trace, size_t maxCalls = 1000000);
    // Every answer of the latest Run, in call order.
    const std::vector<Answer> &Answers() const { return m_answers; }
    Message Get(int32_t index);
    std::vector<int32_t> FindByProtocol(std::string_view protocol);

private:
    CIpParser m_parser;
    std::vector<Answer> m_answers;
};

// "hh.mm.ss.cc 00042  SWHW IPSEND       H323-01    IPGW-01" and its rows.
std::string Signal(int sequence, bool send, std::string_view transport, const std::vector<uint8_t> &octets,
                   const char *time = "09.41.07.25", bool withLen = true);
std::vector<uint8_t> Tpkt(const std::vector<uint8_t> &payload);
std::vector<uint8_t> Hex(std::string_view hex);
std::string ReadFile(const std::string &path);

// The component's allowance of lines read ahead beyond twice the lines read otherwise, with
// the longest single scan.
inline constexpr size_t kScanAllowanceForTests = 50000 + 5000;

}  // namespace vexa::ip::test
