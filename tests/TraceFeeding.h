// What the component tests share: feeding a whole trace to a component the way the program
// reads it, and the DATA rows of a signal they build.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::test {

// Whether a line begins as a record line does: with a time stamp hh.mm.ss.
inline bool IsRecordStart(std::string_view l) {
    auto d = [&](size_t i, char lo, char hi) { return i < l.size() && l[i] >= lo && l[i] <= hi; };
    return l.size() >= 10 && d(0, '0', '2') && d(1, '0', '9') && l[2] == '.' && d(3, '0', '5') && d(4, '0', '9') &&
           l[5] == '.' && d(6, '0', '5') && d(7, '0', '9') && l[8] == '.';
}

// Feeds a whole trace as the program does: the preamble before the first record line and
// empty lines skipped, CR LF read as LF, lines cut into pieces of 511 characters (a piece
// that holds only the line end is skipped), and "END" fed after the last line when no piece
// began with it; beforeEnd, when given, runs just before that "END".
inline void FeedTrace(std::string_view trace, const std::function<void(const std::string &)> &feed,
                      const std::function<void()> &beforeEnd = nullptr) {
    bool started = false, endSeen = false;
    size_t pos = 0;
    while (pos < trace.size()) {
        const size_t nl = trace.find('\n', pos);
        std::string line(trace.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos));
        pos = nl == std::string_view::npos ? trace.size() : nl + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (nl != std::string_view::npos) line += '\n';
        if (line.empty() || line == "\n") continue;
        if (!started && !IsRecordStart(line)) continue;
        started = true;
        for (size_t p = 0; p < line.size(); p += 511) {
            const std::string piece = line.substr(p, 511);
            if (piece == "\n") continue;
            if (piece.starts_with("END")) endSeen = true;
            feed(piece);
        }
    }
    if (!started || endSeen) return;
    if (beforeEnd) beforeEnd();
    feed("END");
}

// The DATA rows of octets given as hex texts, sixteen to a row, indented as the trace has them.
inline std::string DataRows(const std::vector<std::string> &octets) {
    std::string rows;
    for (size_t i = 0; i < octets.size(); i += 16) {
        rows += std::string(24, ' ') + "DATA";
        for (size_t k = i; k < octets.size() && k < i + 16; ++k) rows += " " + octets[k];
        rows += "\n";
    }
    return rows;
}

// The octets of a text of hex octets separated by blanks ("08 01 05"), as they stand.
inline std::vector<std::string> OctetTexts(const std::string &hex) {
    std::istringstream in(hex);
    std::vector<std::string> octets;
    for (std::string o; in >> o;) octets.push_back(o);
    return octets;
}

inline std::vector<std::string> OctetTexts(const std::vector<uint8_t> &octets) {
    std::vector<std::string> texts;
    for (uint8_t o : octets) {
        char b[3];
        std::snprintf(b, sizeof b, "%02X", o);
        texts.emplace_back(b);
    }
    return texts;
}

}  // namespace vexa::test
