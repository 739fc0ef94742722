#include "ResultLayout.h"

#include "LineArray.h"

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <string>

namespace vexa {

void CResultLayout::Build(const LineArray &lines) {
    Clear();
    for (std::string_view line : lines) Add(line);
    Finish(lines);
}

void CResultLayout::Add(std::string_view line) {
    std::string_view text;
    const LineMarker marker = ToDisplayView(line, m_scratch, text);
    const CResultColourState before = m_state;
    m_state.Next(marker, text);
    m_rowsAboveLast = m_rowCount;  // as it stands should this be the last line
    if (!text.empty()) {
        if (m_rowCount % kRowsApart == 0) m_checkpoints.push_back({static_cast<uint32_t>(m_linesAdded), before});
        ++m_rowCount;
    }
    ++m_linesAdded;
}

void CResultLayout::Finish(const LineArray &lines) {
    m_identity = LinesIdentity::Of(lines);
    m_place = Place();
}

const CResultLayout::Place &CResultLayout::Locate(const LineArray &lines, size_t row) const {
    if (row == m_place.row) return m_place;
    if (row >= m_rowCount || lines.size() != m_identity.count) {
        m_place = Place();
        return m_place;
    }
    // From the place last found when the row lies a little past it, else from the
    // nearest kept row at or before it.
    size_t at, line;
    CResultColourState state;
    if (m_place.row != SIZE_MAX && row > m_place.row && row - m_place.row <= kRowsApart) {
        at = m_place.row + 1;
        line = m_place.line + 1;
        state = m_place.state;
    } else {
        const Checkpoint &kept = m_checkpoints[row / kRowsApart];
        at = row / kRowsApart * kRowsApart;
        line = kept.line;
        state = kept.state;
    }
    for (; line < lines.size(); ++line) {
        std::string_view text;
        const LineMarker marker = ToDisplayView(lines[line], m_placeScratch, text);
        const LineColour colour = state.Next(marker, text);
        if (text.empty()) continue;
        if (at == row) {
            m_place = {row, line, colour, state};
            return m_place;
        }
        ++at;
    }
    m_place = Place();  // the lines hold fewer rows than were counted: not the layout's lines
    return m_place;
}

LinesIdentity LinesIdentity::Of(const LineArray &lines) {
    LinesIdentity id;
    id.count = lines.size();
    if (!lines.empty()) {
        id.first = lines[0].data();
        id.last = lines.back().data();
        id.lastSize = lines.back().size();
    }
    return id;
}

void CResultLayout::Clear() {
    m_state = CResultColourState();
    m_checkpoints.clear();
    m_rowCount = 0;
    m_rowsAboveLast = 0;
    m_place = Place();
    m_linesAdded = 0;
    m_identity = {};
}

int32_t CResultLayout::GrownHeight(int32_t height, int rowHeight, size_t rowsAboveLast) {
    // The line tops are 0, h, 2h, ... up to the last line's top, each met in turn; a top
    // below the height moves the height to 500 below that top.
    const int64_t h = std::max(rowHeight, 0);
    const int64_t lastTop = h * static_cast<int64_t>(rowsAboveLast);
    int64_t grown = height;
    while (lastTop > grown) {
        const int64_t row = grown < 0 || h == 0 ? 0 : grown / h + 1;  // the first top below
        grown = row * h + 500;
    }
    return static_cast<int32_t>(std::min<int64_t>(grown, INT32_MAX));
}

size_t StoredRowsBefore(const LineArray &lines, size_t n) {
    size_t rows = 0;
    n = std::min(n, lines.size());
    for (size_t i = 0; i < n; ++i) {
        const std::string_view line = lines[i];
        if (!line.empty() && !line.starts_with(">>>>") && !line.starts_with("<<<<")) ++rows;
    }
    return rows;
}

}  // namespace vexa
