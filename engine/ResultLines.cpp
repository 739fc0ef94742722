#include "ResultLines.h"

#include "OutputText.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace vexa {

namespace {

// Where the first "%%%" and the first "!!!" of line begin (npos where there is none), in
// one pass that looks at eight characters at a time: most lines hold neither mark.
void FindMarks(std::string_view line, size_t &percent, size_t &alert) {
    percent = alert = std::string_view::npos;
    const size_t n = line.size();
    size_t i = 0;
    while (i + 2 < n) {
        if (i + 8 <= n) {
            uint64_t word;
            std::memcpy(&word, line.data() + i, sizeof word);
            if (!WordHasCharacter(word, '%') && !WordHasCharacter(word, '!')) {
                i += 8;
                continue;
            }
        }
        const size_t stop = std::min(n - 2, i + 8);
        for (; i < stop; ++i) {
            const char c = line[i];
            if (c != '%' && c != '!') continue;
            if (line[i + 1] != c || line[i + 2] != c) continue;
            if (c == '%') {
                percent = i;
                return;  // the percent mark is read before any alert mark
            }
            if (alert == std::string_view::npos) alert = i;
        }
    }
}

}  // namespace

LineMarker ToDisplayView(std::string_view line, std::string &scratch, std::string_view &text) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);

    // An SCP line, "/*" name ": " value "\n*/", shows name, ": " and value.
    if (line.starts_with("/*")) {
        text = line.size() >= 5 ? line.substr(2, line.size() - 5) : std::string_view();
        return LineMarker::Comment;
    }
    if (line.starts_with(">>>>")) {
        text = {};
        return LineMarker::MessageStart;
    }
    if (line.starts_with("<<<<")) {
        text = {};
        return LineMarker::MessageEnd;
    }
    size_t percent, alert;
    FindMarks(line, percent, alert);
    if (size_t mark = percent; mark != std::string_view::npos) {
        scratch.assign(line.substr(0, mark));
        scratch.append(line.substr(mark + 3));
        text = scratch;
        return LineMarker::None;
    }
    if (line.starts_with("@@@")) {
        text = line.substr(3);
        return LineMarker::Header;
    }
    if (size_t mark = alert; mark != std::string_view::npos) {
        scratch.assign(line.substr(0, mark));
        scratch.append(line.substr(mark + 3));
        // A second alert mark ends the text.
        if (size_t end = scratch.find("!!!"); end != std::string::npos) scratch.resize(end);
        text = scratch;
        return LineMarker::Alert;
    }
    text = line;
    return LineMarker::None;
}

LineMarker ToDisplayText(std::string_view line, std::string &out) {
    std::string_view text;
    const LineMarker marker = ToDisplayView(line, out, text);
    if (text.data() != out.data()) out.assign(text);
    return marker;
}

std::string ToPrintedText(std::string_view line) {
    std::string text;
    ToDisplayText(line, text);
    DropLeadingLineFeed(text);
    return text;
}

LineColour CResultColourState::Next(LineMarker marker, std::string_view text) {
    switch (marker) {
    case LineMarker::Comment:
        m_bComment = true;
        m_bHeader = m_bBody = m_bEnd = false;
        break;
    case LineMarker::MessageStart:
        m_bBody = true;
        break;
    case LineMarker::MessageEnd:
        m_bEnd = true;
        m_nCounter = 1;
        break;
    case LineMarker::Header:
        m_bHeader = true;
        m_nCounter = 4;
        m_bBody = m_bComment = m_bEnd = false;
        break;
    case LineMarker::Alert:
        m_bAlert = true;
        m_bHeader = m_bComment = m_bBody = m_bEnd = false;
        break;
    case LineMarker::None:
        break;
    }

    // The direction column of a trace line: "hh.mm.ss.cc nnnnn  SWHW ...".
    bool flagRules = true;
    if (text.size() >= 22) {
        const std::string_view direction = text.substr(19, 4);
        if (direction == "SWHW") {
            m_colour = LineColour::Outgoing;
        } else if (direction == "HWSW") {
            m_colour = LineColour::Incoming;
        } else if (direction == "HWHW" || direction == "SWSW") {
            // Internal signals end the message's colouring.
            m_colour = LineColour::Black;
            m_bEnd = true;
            flagRules = false;
        }
    }
    if (flagRules) {
        if (m_bEnd) {
            m_colour = LineColour::Black;
        } else if (m_bComment) {
            m_colour = LineColour::Navy;
            ++m_nCounter;
        } else if (m_bAlert) {
            m_colour = LineColour::Red;
        } else if (m_bHeader) {
            m_colour = LineColour::Blue;
        } else if (m_bBody) {
            if (m_nCounter <= 3) {
                m_colour = LineColour::Magenta;
                ++m_nCounter;
            } else {
                m_colour = LineColour::Brown;
            }
        }
    }
    const LineColour colour = m_colour;

    // What the line leaves for the next one.
    m_bHeader = false;
    if (m_bComment) {
        m_bComment = false;
        m_bBody = true;
    }
    if (m_bEnd) m_bComment = m_bBody = m_bEnd = false;
    if (m_bAlert) {
        m_bAlert = false;
        m_bBody = true;
    }
    return colour;
}

}  // namespace vexa
