#include "TraceLine.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace vexa::component {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool TwoDigits(std::string_view s, size_t at, int max) {
    if (!IsDigit(s[at]) || !IsDigit(s[at + 1])) return false;
    return (s[at] - '0') * 10 + (s[at + 1] - '0') <= max;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The place of the first blank at or after pos, or the end: eight characters at a time
// while eight remain (a zero byte of the word xor'ed with blanks marks one; the lowest
// mark is always a true one).
size_t FindBlank(std::string_view text, size_t pos) {
    constexpr uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
    for (; pos + 8 <= text.size(); pos += 8) {
        uint64_t word;
        std::memcpy(&word, text.data() + pos, 8);
        const uint64_t spaces = word ^ (kOnes * ' '), tabs = word ^ (kOnes * '\t');
        const uint64_t marks = (((spaces - kOnes) & ~spaces) | ((tabs - kOnes) & ~tabs)) & kHighs;
        static_assert(std::endian::native == std::endian::little, "the first character is the lowest byte");
        if (marks) return pos + static_cast<size_t>(std::countr_zero(marks) >> 3);
    }
    while (pos < text.size() && !IsBlank(text[pos])) ++pos;
    return pos;
}

std::string_view NextWord(std::string_view text, size_t &pos) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    size_t start = pos;
    pos = FindBlank(text, pos);
    return text.substr(start, pos - start);
}

}  // namespace

std::string_view StripLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

std::string_view TrimBlanks(std::string_view text) {
    // Rows begin with 24 blanks: eight at a time first.
    static constexpr char kEightBlanks[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    while (text.size() >= 8 && std::memcmp(text.data(), kEightBlanks, 8) == 0) text.remove_prefix(8);
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool ParseRecordLine(std::string_view line, RecordLine &rec) {
    line = StripLineEnd(line);
    if (line.size() < 23) return false;
    if (!TwoDigits(line, 0, 23) || line[2] != '.' || !TwoDigits(line, 3, 59) || line[5] != '.' ||
        !TwoDigits(line, 6, 59) || line[8] != '.' || !TwoDigits(line, 9, 99) || line[11] != ' ')
        return false;
    int seq = 0;
    for (size_t i = 12; i < 17; ++i) {
        if (!IsDigit(line[i])) return false;
        seq = seq * 10 + (line[i] - '0');
    }
    if (seq > 32767) return false;
    rec.time = line.substr(0, 11);
    rec.sequence = seq;
    rec.direction = TrimBlanks(line.substr(19, 4));
    if (rec.direction.empty()) return false;
    rec.signalName = {};
    rec.originator = {};
    rec.destination = {};
    if (line.size() > kKeywordColumn && !IsBlank(line[kKeywordColumn])) {
        std::string_view rest = line.substr(kKeywordColumn);
        size_t pos = 0;
        rec.signalName = NextWord(rest, pos);
        rec.originator = NextWord(rest, pos);
        rec.destination = NextWord(rest, pos);
    }
    return true;
}

bool IsEndLine(std::string_view line) { return line.size() >= 3 && line.substr(0, 3) == "END"; }

bool SplitRow(std::string_view line, std::string_view &keyword) {
    line = StripLineEnd(line);
    if (line.empty() || !IsBlank(line[0])) return false;
    keyword = TrimBlanks(line);
    return true;
}

bool TakeKeyword(std::string_view text, std::string_view word, std::string_view &rest) {
    if (text.size() < word.size() || text.substr(0, word.size()) != word) return false;
    if (text.size() > word.size() && !IsBlank(text[word.size()])) return false;
    rest = text.substr(word.size());
    while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
    return true;
}

bool ReadDecimal(std::string_view &text, long long limit, long long &value) {
    size_t i = 0;
    long long v = 0;
    while (i < text.size() && IsDigit(text[i])) {
        v = v * 10 + (text[i] - '0');
        if (v > limit) return false;
        ++i;
    }
    if (i == 0) return false;
    value = v;
    text.remove_prefix(i);
    return true;
}

}  // namespace vexa::component

