// Drives a VexaDectParser.so the way the program does, through the program's own client of
// the component (vexa::CDectParser), and builds GDI traces for the tests.
#pragma once

#include "CDectParser.h"

#include <string>
#include <string_view>
#include <vector>

namespace vexa::dect::test {

// One line's answer.
struct LineAnswer {
    int status = 0;
    int kind = 0;
    int completion = 0;
};

// One completed signal as the program sees it.
struct Completion {
    int lineStatus = 0;
    int completion = 0;
    int32_t index = 0;
    int sequence = 0;
    int32_t count = 0;
    int messageStatus = 0;      // GetSequenceMessage's result for i = 1
    SequenceMessage message;    // strings 1 to 12 and the valid flag
    std::string userPart;       // GetUserPart
    const std::string &Text(int n) const { return message.Text(n); }
};

class DectClient {
public:
    DectClient();
    bool Loaded() const { return parser.HasDispatch(); }
    LineAnswer ParseLine(std::string_view line);
    // Feeds a whole trace as the program does: the preamble and empty lines skipped, lines cut
    // into pieces of 511 characters, "END" fed when the trace has no end line.
    std::vector<Completion> Run(std::string_view trace);
    // The list rows (GetMessage) of every message held.
    std::vector<MessageRecord> Rows();

    CDectParser parser;
};

// A GDI signal: record line, SCP row, USER PART row, DATA rows of hex (16 octets a row) and a
// LEN row (len < 0: the number of octets; len == kNoLen: no LEN row). Empty hex: no DATA rows.
inline constexpr int kNoLen = -1000;
std::string Gdi(int seq, const std::string &dir, const std::string &scp, const std::string &scpId,
                const std::string &hex, int len = -1, const std::string &userPart = "2345",
                const std::string &name = "");
// A record line of another signal, with one free-text row.
std::string Other(int seq, const std::string &name);

inline constexpr const char *kPreamble = "KORVAN SIGNAL TRACE   EXCHANGE HQ-01\nTRACE SET: DECT\n\n";

}  // namespace vexa::dect::test
