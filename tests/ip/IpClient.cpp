#include "IpClient.h"

#include "TraceFeeding.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace vexa::ip::test {

IpClient::IpClient() {
    if (!m_parser.CreateDispatchFrom(VEXA_IP_COMPONENT, kIpProgId))
        std::fprintf(stderr, "cannot load %s: %s\n", VEXA_IP_COMPONENT, m_parser.LastError().c_str());
}

Answer IpClient::ParseLine(std::string_view line) {
    int16_t kind = 0, completion = 0;
    Answer a;
    a.line = std::string(line);
    a.status = m_parser.ParseLine(line, kind, completion);
    a.kind = kind;
    a.completion = completion;
    return a;
}

Message IpClient::Get(int32_t index) {
    MessageRecord r;
    Message m;
    m_parser.GetMessage(index, r);
    m.sequence = r.sequence;
    m.direction = r.Text(1);
    m.signalName = r.Text(2);
    m.name = r.Text(3);
    m.time = r.Text(4);
    m.originator = r.Text(5);
    m.destination = r.Text(6);
    m.valid = r.valid;
    return m;
}

std::vector<int32_t> IpClient::FindByProtocol(std::string_view protocol) {
    std::vector<int32_t> found;
    for (int32_t i = m_parser.FindFirstByProtocol(protocol); i > 0 && found.size() < 100000;
         i = m_parser.FindNextByProtocol(protocol, i))
        found.push_back(i);
    return found;
}

std::vector<Completion> IpClient::Run(const std::string &trace, size_t maxCalls) {
    std::vector<std::string> lines;
    std::stringstream ss(trace);
    for (std::string l; std::getline(ss, l);) lines.push_back(l + "\n");
    size_t at = 0;
    while (at < lines.size() && !vexa::test::IsRecordStart(lines[at])) ++at;
    std::vector<Completion> out;
    m_answers.clear();
    size_t mark = 0;
    bool markOpen = false, endFed = false;
    for (size_t calls = 0; calls < maxCalls; ++calls) {
        std::string line;
        if (at < lines.size()) {
            line = lines[at++];
        } else if (!endFed) {
            line = "END";
            endFed = true;
        } else {
            break;
        }
        if (line == "\n") continue;
        Answer a = ParseLine(line);
        m_answers.push_back(a);
        if (line.starts_with("END") && line != "END") endFed = true;
        if (a.status == -100) {
            mark = at;
            markOpen = true;
        } else if ((a.status == 100 || a.status == 300) && markOpen) {
            at = mark;
            markOpen = false;
        }
        if (a.completion == 0) continue;
        Completion c;
        c.line = line;
        c.status = a.status;
        c.completion = a.completion;
        const int32_t index = m_parser.GetLastMessageIndex();
        c.sequence = m_parser.GetSequenceNumber(index);
        const int32_t count = m_parser.GetSequenceMessageCount(static_cast<int16_t>(c.sequence));
        for (int16_t i = 1; i <= count; ++i) {
            SequenceMessage s;
            if (m_parser.GetSequenceMessage(i, static_cast<int16_t>(c.sequence), s) == 0) break;
            Message m;
            m.sequence = c.sequence;
            m.direction = s.Text(1);
            m.signalName = s.Text(2);
            m.name = s.Text(3);
            m.time = s.Text(4);
            m.originator = s.Text(5);
            m.destination = s.Text(6);
            m.text = s.Text(7);
            m.valid = s.valid;
            c.messages.push_back(std::move(m));
        }
        out.push_back(std::move(c));
    }
    return out;
}

std::string Signal(int sequence, bool send, std::string_view transport, const std::vector<uint8_t> &octets,
                   const char *time, bool withLen) {
    char head[128];
    std::snprintf(head, sizeof head, "%s %05d  %s %-12s %-10s %s\n", time, sequence, send ? "SWHW" : "HWSW",
                  send ? "IPSEND" : "IPRECV", send ? "H323-01" : "IPGW-01", send ? "IPGW-01" : "H323-01");
    std::string s = head;
    s += std::string(24, ' ') + std::string(transport) + "\n";
    s += vexa::test::DataRows(vexa::test::OctetTexts(octets));
    if (withLen) s += std::string(24, ' ') + "LEN " + std::to_string(octets.size()) + "\n";
    return s;
}

std::vector<uint8_t> Tpkt(const std::vector<uint8_t> &payload) {
    const size_t n = payload.size() + 4;
    std::vector<uint8_t> out(n);
    out[0] = 3;
    out[2] = static_cast<uint8_t>(n >> 8);
    out[3] = static_cast<uint8_t>(n & 255);
    std::copy(payload.begin(), payload.end(), out.begin() + 4);
    return out;
}

std::vector<uint8_t> Hex(std::string_view hex) {
    std::vector<uint8_t> out;
    std::string digits;
    for (char c : hex)
        if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
    for (size_t i = 0; i + 1 < digits.size(); i += 2) out.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return out;
}

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace vexa::ip::test
