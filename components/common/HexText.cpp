#include "HexText.h"

#include <algorithm>
#include <array>

namespace vexa::component {

namespace {

// What a character of a DATA row is: 0-15 a hex digit, kSeparator a blank between
// tokens, kOther anything else.
constexpr uint8_t kSeparator = 16, kOther = 17;
constexpr std::array<uint8_t, 256> kCharClass = [] {
    std::array<uint8_t, 256> t{};
    for (auto &v : t) v = kOther;
    for (int c = '0'; c <= '9'; ++c) t[c] = static_cast<uint8_t>(c - '0');
    for (int c = 'A'; c <= 'F'; ++c) t[c] = static_cast<uint8_t>(c - 'A' + 10);
    for (int c = 'a'; c <= 'f'; ++c) t[c] = static_cast<uint8_t>(c - 'a' + 10);
    t[' '] = t['\t'] = t['\r'] = t['\n'] = kSeparator;
    return t;
}();

uint8_t ClassOf(char c) { return kCharClass[static_cast<unsigned char>(c)]; }

int HexValue(char c) {
    uint8_t v = ClassOf(c);
    return v < 16 ? v : -1;
}

const char kDigits[] = "0123456789ABCDEF";

}  // namespace

size_t AppendHexOctets(std::string_view text, std::vector<uint8_t> &out, HexRowProblems &problems,
                       size_t maxOctets) {
    size_t dropped = 0;
    size_t i = 0;
    const size_t n = text.size();
    // At most one octet per two characters; the room grows by halves at least, so that
    // the rows of a long message do not move the octets once per row.
    if (out.size() < maxOctets) {
        const size_t wanted = std::min(maxOctets, out.size() + n / 2);
        if (wanted > out.capacity()) out.reserve(std::max(wanted, out.capacity() + out.capacity() / 2));
    }
    while (i < n) {
        if (ClassOf(text[i]) == kSeparator) {
            ++i;
            continue;
        }
        // One token: up to the next blank. Its octets are the pairs of hex digits in front
        // of the first character that is not one.
        ++problems.tokens;
        // Nearly every token is one octet, two digits and a blank: taken in one step.
        if (i + 1 < n) {
            const uint8_t high = ClassOf(text[i]), low = ClassOf(text[i + 1]);
            if ((high | low) < 16 && (i + 2 == n || ClassOf(text[i + 2]) == kSeparator)) {
                if (out.size() < maxOctets)
                    out.push_back(static_cast<uint8_t>(high << 4 | low));
                else
                    ++dropped;
                i += 2;
                continue;
            }
        }
        size_t digits = 0;
        uint8_t v = ClassOf(text[i]);
        while (v < 16) {
            ++digits;
            if (digits % 2 == 0) {
                uint8_t octet = static_cast<uint8_t>(ClassOf(text[i - 1]) << 4 | v);
                if (out.size() < maxOctets)
                    out.push_back(octet);
                else
                    ++dropped;
            }
            if (++i == n) break;
            v = ClassOf(text[i]);
        }
        if (i < n && v != kSeparator) {
            ++problems.badCharacters;
            while (i < n && ClassOf(text[i]) != kSeparator) ++i;
        }
        if (digits % 2) ++problems.oddDigits;
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
