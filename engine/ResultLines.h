// How the result text view reads the display lines: the text of a line as drawn, the
// marker it carries, and the colour state that runs from the first line to the last.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vexa {

// What a display line's opening says about it.
enum class LineMarker : uint8_t {
    None,
    Comment,       // "/*" ... "\n*/": an SCP line
    MessageStart,  // ">>>>"
    MessageEnd,    // "<<<<"
    Header,        // "@@@": a DECT header line
    Alert,         // "!!!" inside the text
};

// The text of a display line before it is measured: a trailing line-feed dropped, then
// the first marker that applies ("/*", ">>>>", "<<<<", "%%%", "@@@", "!!!") turned into
// its text. out receives the text (its storage is reused); the marker is returned.
LineMarker ToDisplayText(std::string_view line, std::string &out);
// The same without a copy where the text is a piece of the line as it stands (most
// lines): text is then a view of line; otherwise of scratch, which receives it.
LineMarker ToDisplayView(std::string_view line, std::string &scratch, std::string_view &text);

// The last step, after measuring on screen: a text that begins with a line-feed shows
// nothing (the separators written as bare line-feeds).
inline void DropLeadingLineFeed(std::string &text) {
    if (!text.empty() && text.front() == '\n') text.clear();
}

// The text as printed: every step at once.
std::string ToPrintedText(std::string_view line);

// The colours of the result text. Incoming and outgoing stand for the user's two
// direction colours, looked up when drawing.
enum class LineColour : uint8_t {
    Black,
    Navy,
    Red,
    Blue,
    Magenta,
    Brown,
    Incoming,
    Outgoing,
};

// The colour of each line depends on the lines before it: a message block's first body
// lines are magenta and the later ones brown, a comment (SCP line) is navy and starts a
// body, DECT header lines are blue, alerts red, and a direction at column 19 of a trace
// line takes the direction's colour. Feed the lines in order from the first.
class CResultColourState {
public:
    // The colour of one line, given its marker and its text as ToDisplayText made them.
    // A line that neither a direction nor a flag colours keeps the previous colour.
    LineColour Next(LineMarker marker, std::string_view text);

    LineColour Current() const { return m_colour; }

private:
    bool m_bBody = false;
    bool m_bEnd = false;
    bool m_bComment = false;
    bool m_bHeader = false;
    bool m_bAlert = false;
    int m_nCounter = 1;
    LineColour m_colour = LineColour::Black;  // the painter's default at the first line
};

}  // namespace vexa
