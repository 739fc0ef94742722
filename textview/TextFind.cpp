#include "TextFind.h"

#include <algorithm>
#include <cstring>

namespace vexa {

namespace {

bool IsWordChar(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0xC0;
}

}  // namespace

TextFinder::TextFinder(std::string_view pattern, FindOptions options) : m_pattern(pattern), m_options(options) {
    for (int c = 0; c < 256; ++c) {
        int folded = c;
        // A to Z, and the Latin-1 capitals but the multiplication sign.
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) folded = c + 32;
        m_fold[static_cast<size_t>(c)] = static_cast<unsigned char>(options.matchCase ? c : folded);
    }
    for (char &c : m_pattern) c = static_cast<char>(m_fold[static_cast<unsigned char>(c)]);
}

bool TextFinder::MatchesAt(std::string_view text, size_t at) const {
    for (size_t i = 0; i < m_pattern.size(); ++i)
        if (m_fold[static_cast<unsigned char>(text[at + i])] != static_cast<unsigned char>(m_pattern[i])) return false;
    return true;
}

bool TextFinder::IsWholeWordAt(std::string_view text, size_t at) const {
    const size_t end = at + m_pattern.size();
    if (at > 0 && IsWordChar(static_cast<unsigned char>(text[at - 1])) && IsWordChar(static_cast<unsigned char>(m_pattern.front())))
        return false;
    if (end < text.size() && IsWordChar(static_cast<unsigned char>(text[end])) && IsWordChar(static_cast<unsigned char>(m_pattern.back())))
        return false;
    return true;
}

void TextFinder::FindInRow(std::string_view text, uint32_t row, std::vector<TextMatch> &found) const {
    const size_t n = m_pattern.size();
    if (n == 0 || text.size() < n) return;
    const unsigned char first = static_cast<unsigned char>(m_pattern.front());
    // The other case of the first character, where there is one: the places where either
    // stands are found with memchr, the rest is compared there.
    unsigned char other = first;
    if (!m_options.matchCase)
        for (int c = 0; c < 256; ++c)
            if (c != first && m_fold[static_cast<size_t>(c)] == first) other = static_cast<unsigned char>(c);
    const char *data = text.data();
    const size_t last = text.size() - n;
    size_t at = 0;
    while (at <= last) {
        const void *a = std::memchr(data + at, first, last - at + 1);
        size_t next = a ? static_cast<size_t>(static_cast<const char *>(a) - data) : last + 1;
        if (other != first) {
            const void *b = std::memchr(data + at, other, std::min(next, last + 1) - at);
            if (b) next = static_cast<size_t>(static_cast<const char *>(b) - data);
        }
        if (next > last) return;
        if (MatchesAt(text, next) && (!m_options.wholeWord || IsWholeWordAt(text, next))) {
            found.push_back({row, static_cast<uint32_t>(next), static_cast<uint32_t>(n)});
            at = next + n;
        } else {
            at = next + 1;
        }
    }
}

int MatchAtOrAfter(const std::vector<TextMatch> &matches, uint32_t row, uint32_t column) {
    if (matches.empty()) return -1;
    const auto it = std::lower_bound(matches.begin(), matches.end(), std::pair{row, column},
                                     [](const TextMatch &m, const std::pair<uint32_t, uint32_t> &place) {
                                         return m.row < place.first || (m.row == place.first && m.column < place.second);
                                     });
    return it == matches.end() ? 0 : static_cast<int>(it - matches.begin());
}

}  // namespace vexa
