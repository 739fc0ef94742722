#include "DectClient.h"

#include "TraceFeeding.h"

#include <cstdio>

namespace vexa::dect::test {

namespace {

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
    vexa::test::FeedTrace(trace, [&](const std::string &piece) {
        LineAnswer a = ParseLine(piece);
        if (!a.completion) return;
        Completion c;
        c.lineStatus = a.status;
        c.completion = a.completion;
        c.index = parser.GetLastMessageIndex();
        c.sequence = parser.GetSequenceNumber(c.index);
        c.count = parser.GetSequenceMessageCount(static_cast<int16_t>(c.sequence));
        c.messageStatus = parser.GetSequenceMessage(1, static_cast<int16_t>(c.sequence), c.message);
        parser.GetUserPart(static_cast<int16_t>(c.sequence), c.userPart);
        out.push_back(std::move(c));
    });
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
    const std::vector<std::string> octets = vexa::test::OctetTexts(hex);
    s += vexa::test::DataRows(octets);
    if (len != kNoLen) s += pad + "LEN " + std::to_string(len < 0 ? static_cast<int>(octets.size()) : len) + "\n";
    return s;
}

std::string Other(int seq, const std::string &name) {
    return Record(seq, "SWSW", name, "GDICP-01", "CALLCTL-01") + std::string(24, ' ') + "B-CHANNEL 1 SEIZED\n";
}

}  // namespace vexa::dect::test
