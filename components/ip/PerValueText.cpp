#include "PerValueText.h"

#include "DecodedText.h"

#include <cstring>

namespace vexa::ip {

namespace {
const char kHexDigits[] = "0123456789abcdef";
}  // namespace

void AppendHex(std::string &s, const uint8_t *data, size_t size) {
    const size_t old = s.size();
    s.resize(old + 2 * size);
    char *p = s.data() + old;
    for (size_t i = 0; i < size; ++i) {
        *p++ = kHexDigits[data[i] >> 4];
        *p++ = kHexDigits[data[i] & 15];
    }
}

bool AppendOid(std::string &s, const uint8_t *data, size_t size) {
    if (size == 0 || (data[size - 1] & 0x80)) return false;
    uint64_t arc = 0;
    bool first = true;
    for (size_t i = 0; i < size; ++i) {
        if (arc >> 56) return false;
        arc = arc << 7 | (data[i] & 0x7F);
        if (data[i] & 0x80) continue;
        if (first) {
            const uint64_t top = arc < 40 ? 0 : arc < 80 ? 1 : 2;
            AppendNumber(s, top);
            s += '.';
            AppendNumber(s, arc - top * 40);
            first = false;
        } else {
            s += '.';
            AppendNumber(s, arc);
        }
        arc = 0;
    }
    return true;
}

void AppendQuoted(std::string &s, std::string_view text) {
    size_t nul = 0;
    while (nul < text.size() && text[text.size() - 1 - nul] == '\0') ++nul;
    text.remove_suffix(nul);
    s += '"';
    component::AppendSafeText(s, reinterpret_cast<const uint8_t *>(text.data()), text.size());
    s += '"';
    if (nul) {
        s += " and ";
        AppendNumber(s, nul);
        s += nul == 1 ? " NUL character" : " NUL characters";
    }
}

void AppendHexAndText(std::string &s, const uint8_t *data, size_t size) {
    AppendHex(s, data, size);
    size_t end = size;
    while (end > 0 && data[end - 1] == 0) --end;
    if (end < 2) return;
    for (size_t i = 0; i < end; ++i)
        if (data[i] < 0x20 || data[i] >= 0x7F) return;
    s += " (";
    AppendQuoted(s, std::string_view(reinterpret_cast<const char *>(data), size));
    s += ')';
}

void AppendCharacter(std::string &s, unsigned c) {
    if (c < 0x80) {
        s += static_cast<char>(c);
        return;
    }
    static const char digits[] = "0123456789ABCDEF";
    s += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) s += digits[(c >> shift) & 15];
}

void Join(std::string &out, std::string_view a, std::string_view b) {
    out.resize(a.size() + 2 + b.size());
    char *p = out.data();
    std::memcpy(p, a.data(), a.size());
    p[a.size()] = ':';
    p[a.size() + 1] = ' ';
    std::memcpy(p + a.size() + 2, b.data(), b.size());
}

std::string Hex(const uint8_t *data, size_t size) {
    std::string s;
    AppendHex(s, data, size);
    return s;
}

}  // namespace vexa::ip
