#include "ResultLines.h"

namespace vexa {

LineMarker ToDisplayText(std::string_view line, std::string &out) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);

    // An SCP line, "/*" name ": " value "\n*/", shows name, ": " and value.
    if (line.starts_with("/*")) {
        if (line.size() >= 5) out.assign(line.substr(2, line.size() - 5));
        else out.clear();
        return LineMarker::Comment;
    }
    if (line.starts_with(">>>>")) {
        out.clear();
        return LineMarker::MessageStart;
    }
    if (line.starts_with("<<<<")) {
        out.clear();
        return LineMarker::MessageEnd;
    }
    if (size_t mark = line.find("%%%"); mark != std::string_view::npos) {
        out.assign(line.substr(0, mark));
        out.append(line.substr(mark + 3));
        return LineMarker::None;
    }
    if (line.starts_with("@@@")) {
        out.assign(line.substr(3));
        return LineMarker::Header;
    }
    if (size_t mark = line.find("!!!"); mark != std::string_view::npos) {
        out.assign(line.substr(0, mark));
        out.append(line.substr(mark + 3));
        // A second alert mark ends the text.
        if (size_t end = out.find("!!!"); end != std::string::npos) out.resize(end);
        return LineMarker::Alert;
    }
    out.assign(line);
    return LineMarker::None;
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
