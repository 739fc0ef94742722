#include "HexText.h"

namespace vexa::component {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

const char kDigits[] = "0123456789ABCDEF";

}  // namespace

size_t AppendHexOctets(std::string_view text, std::vector<uint8_t> &out, HexRowProblems &problems,
                       size_t maxOctets) {
    size_t dropped = 0;
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        char c = text[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        // One token: up to the next blank.
        size_t start = i;
        while (i < n && text[i] != ' ' && text[i] != '\t' && text[i] != '\r' && text[i] != '\n') ++i;
        std::string_view token = text.substr(start, i - start);
        ++problems.tokens;
        size_t digits = 0;
        bool bad = false;
        for (char t : token) {
            if (HexValue(t) < 0) {
                bad = true;
                break;
            }
            ++digits;
        }
        if (bad) ++problems.badCharacters;
        if (digits % 2) ++problems.oddDigits;
        for (size_t k = 0; k + 1 < digits; k += 2) {
            uint8_t v = static_cast<uint8_t>(HexValue(token[k]) * 16 + HexValue(token[k + 1]));
            if (out.size() < maxOctets)
                out.push_back(v);
            else
                ++dropped;
        }
    }
    return dropped;
}

std::string HexByte(uint8_t value) {
    std::string s;
    AppendHexByte(s, value);
    return s;
}

void AppendHexByte(std::string &out, uint8_t value) {
    out += "H'";
    out += kDigits[value >> 4];
    out += kDigits[value & 15];
}

std::string HexDump(const uint8_t *data, size_t size) {
    std::string s;
    s.reserve(size * 3);
    for (size_t i = 0; i < size; ++i) {
        if (i) s += ' ';
        s += kDigits[data[i] >> 4];
        s += kDigits[data[i] & 15];
    }
    return s;
}

std::string HexByteList(const uint8_t *data, size_t size, std::string_view sep) {
    std::string s;
    for (size_t i = 0; i < size; ++i) {
        if (i) s += sep;
        AppendHexByte(s, data[i]);
    }
    return s;
}

bool ParseLooseHex(std::string_view text, std::vector<uint8_t> &out) {
    int pending = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if ((c == 'H' || c == 'h') && i + 1 < text.size() && text[i + 1] == '\'') {
            if (pending >= 0) return false;
            ++i;
            continue;
        }
        if (c == ' ' || c == '|' || c == '\t') {
            if (pending >= 0) return false;
            continue;
        }
        int v = HexValue(c);
        if (v < 0) return false;
        if (pending < 0) {
            pending = v;
        } else {
            out.push_back(static_cast<uint8_t>(pending * 16 + v));
            pending = -1;
        }
    }
    return pending < 0;
}

}  // namespace vexa::component
