// Finding a text in the rows of a text pane: every place a pattern occurs, with or without
// regard to case, anywhere or as a whole word. Standard C++ only, so that a pane of a
// million rows can be searched, and measured, without a window.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

struct FindOptions {
    bool matchCase = false;
    bool wholeWord = false;
};

// One place a pattern was found: the row, and the first character and the length in it.
struct TextMatch {
    uint32_t row = 0;
    uint32_t column = 0;
    uint32_t length = 0;
    bool operator==(const TextMatch &) const = default;
};

class TextFinder {
public:
    // The texts are single-byte (Latin-1): case is folded for A to Z and the accented
    // letters alike.
    TextFinder(std::string_view pattern, FindOptions options);

    bool Empty() const { return m_pattern.empty(); }
    // Appends the places in one row's text, from left to right, none overlapping.
    void FindInRow(std::string_view text, uint32_t row, std::vector<TextMatch> &found) const;

private:
    bool MatchesAt(std::string_view text, size_t at) const;
    bool IsWholeWordAt(std::string_view text, size_t at) const;

    std::string m_pattern;  // folded unless case matters
    FindOptions m_options;
    std::array<unsigned char, 256> m_fold{};
};

// The index of the match at or after (row, column) in a list sorted by place; wraps to 0
// past the end. -1 for an empty list.
int MatchAtOrAfter(const std::vector<TextMatch> &matches, uint32_t row, uint32_t column);

}  // namespace vexa
