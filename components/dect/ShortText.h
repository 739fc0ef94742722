// A short piece of a decoded line (a number, "H'0ABC", "IPUI-N IPEI 02748 0002137 6") put
// together in a buffer of its own, without taking memory: most field values of a DECT
// message are such pieces, and a message has dozens of them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace vexa::dect {

class ShortText {
public:
    static constexpr size_t kCapacity = 160;  // longer pieces are cut there

    ShortText() = default;
    explicit ShortText(std::string_view text) { Add(text); }

    ShortText &Add(std::string_view text) {
        const size_t n = std::min(text.size(), kCapacity - m_size);
        if (n) std::memcpy(m_text + m_size, text.data(), n);
        m_size += n;
        return *this;
    }
    ShortText &Add(char c) {
        if (m_size < kCapacity) m_text[m_size++] = c;
        return *this;
    }
    // v in decimal, with leading zeros up to minDigits.
    ShortText &AddDecimal(unsigned long long v, int minDigits = 1) {
        char buf[24];
        int n = 0;
        do {
            buf[n++] = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v || n < std::min(minDigits, 20));
        while (n) Add(buf[--n]);
        return *this;
    }
    // v in capital hex digits, at least `digits` of them (at most 16), without a prefix.
    ShortText &AddHexDigits(unsigned long long v, int digits) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        char buf[16];
        int n = 0;
        digits = std::min(digits, 16);
        do {
            buf[n++] = kDigits[v & 15];
            v >>= 4;
        } while ((v || n < digits) && n < 16);
        while (n) Add(buf[--n]);
        return *this;
    }
    // "H'" and v in capital hex digits, at least `digits` of them.
    ShortText &AddHex(unsigned long long v, int digits) { return Add("H'").AddHexDigits(v, digits); }

    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    operator std::string_view() const { return std::string_view(m_text, m_size); }
    std::string str() const { return std::string(m_text, m_size); }

private:
    char m_text[kCapacity];
    size_t m_size = 0;
};

inline ShortText Decimal(unsigned long long v) { return ShortText().AddDecimal(v); }
inline ShortText Hex(unsigned long long v, int digits) { return ShortText().AddHex(v, digits); }
inline ShortText HexOctet(uint8_t v) { return ShortText().AddHex(v, 2); }

// A piece followed by more text stays a piece; text in front of a piece makes a string.
inline ShortText operator+(ShortText a, std::string_view b) { return a.Add(b); }
inline std::string operator+(std::string a, const ShortText &b) { return a.append(std::string_view(b)); }

}  // namespace vexa::dect
