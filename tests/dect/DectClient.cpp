#include "DectClient.h"

#include <cstdio>
#include <sstream>

namespace vexa::dect::test {

namespace {

bool IsRecordStart(std::string_view l) {
    auto d = [&](size_t i, char lo, char hi) { return i < l.size() && l[i] >= lo && l[i] <= hi; };
    return l.size() >= 10 && d(0, '0', '2') && d(1, '0', '9') && l[2] == '.' && d(3, '0', '5') && d(4, '0', '9') &&
           l[5] == '.' && d(6, '0', '5') && d(7, '0', '9') && l[8] == '.';
}

std::string Record(int seq, const std::string &dir, const std::string &name, const std::string &from,
                   const std::string &to) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "10.02.11.%02d %05d  %s %-12s %-10s %s\n", seq % 100, seq, dir.c_str(),
                  name.c_str(), from.c_str(), to.c_str());
    return buf;
}

}  // namespace

DectClient::DectClient() {
    if (!parser.CreateDispatchFrom(VEXA_DECT_COMPONENT, kDectProgId))
        std::fprintf(stderr, "cannot load %s: %s\n", VEXA_DECT_COMPONENT, parser.LastError().c_str());
}

LineAnswer DectClient::ParseLine(std::string_view line) {
    int16_t kind = 0, completion = 0;
    LineAnswer a;
    a.status = parser.ParseLine(line, kind, completion);
    a.kind = kind;
    a.completion = completion;
    return a;
}

std::vector<Completion> DectClient::Run(std::string_view trace) {
    std::vector<Completion> out;
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < trace.size()) {
        size_t nl = trace.find('\n', pos);
        std::string line(trace.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (nl != std::string_view::npos) line += '\n';
        lines.push_back(std::move(line));
        pos = nl == std::string_view::npos ? trace.size() : nl + 1;
    }
    bool started = false, endSeen = false;
    auto feed = [&](const std::string &piece) {
        LineAnswer a = ParseLine(piece);
        if (a.completion) {
            Completion c;
            c.lineStatus = a.status;
            c.completion = a.completion;
            c.index = parser.GetLastMessageIndex();
            c.sequence = parser.GetSequenceNumber(c.index);
            c.count = parser.GetSequenceMessageCount(static_cast<int16_t>(c.sequence));
            c.messageStatus = parser.GetSequenceMessage(1, static_cast<int16_t>(c.sequence), c.message);
            parser.GetUserPart(static_cast<int16_t>(c.sequence), c.userPart);
            out.push_back(std::move(c));
        }
        if (piece.rfind("END", 0) == 0) endSeen = true;
    };
    for (const std::string &line : lines) {
        if (!started) {
            if (!IsRecordStart(line)) continue;
            started = true;
        } else if (line.empty() || line == "\n") {
            continue;
        }
        for (size_t p = 0; p < line.size(); p += 511)
            if (const std::string piece = line.substr(p, 511); piece != "\n") feed(piece);
    }
    if (started && !endSeen) feed("END");
    return out;
}

std::vector<MessageRecord> DectClient::Rows() {
    std::vector<MessageRecord> rows;
    int32_t count = 0;
    parser.GetMessageCount(count);
    for (int32_t i = 1; i <= count; ++i) {
        MessageRecord r;
        parser.GetMessage(i, r);
        rows.push_back(std::move(r));
    }
    return rows;
}

std::string Gdi(int seq, const std::string &dir, const std::string &scp, const std::string &scpId,
                const std::string &hex, int len, const std::string &userPart, const std::string &name) {
    const bool req = dir == "SWHW";
    std::string s = Record(seq, dir, name.empty() ? (req ? "GDIREQ" : "GDIIND") : name, req ? "GDICP-01" : "DECT-01",
                           req ? "DECT-01" : "GDICP-01");
    const std::string pad(24, ' ');
    if (!scp.empty()) s += pad + "SCP " + scp + "  ID " + scpId + "\n";
    if (!userPart.empty()) s += pad + "USER PART " + userPart + "\n";
    std::istringstream in(hex);
    std::vector<std::string> octets;
    for (std::string o; in >> o;) octets.push_back(o);
    for (size_t i = 0; i < octets.size(); i += 16) {
        s += pad + "DATA";
        for (size_t k = i; k < octets.size() && k < i + 16; ++k) s += " " + octets[k];
        s += "\n";
    }
    if (len != kNoLen) s += pad + "LEN " + std::to_string(len < 0 ? static_cast<int>(octets.size()) : len) + "\n";
    return s;
}

std::string Other(int seq, const std::string &name) {
    return Record(seq, "SWSW", name, "GDICP-01", "CALLCTL-01") + std::string(24, ' ') + "B-CHANNEL 1 SEIZED\n";
}

}  // namespace vexa::dect::test
