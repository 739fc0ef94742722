#include "ResultLayout.h"

#include "LineArray.h"

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <string>

namespace vexa {

void CResultLayout::Build(const LineArray &lines) {
    Clear();
    m_rowLine.reserve(lines.size());
    m_rowColour.reserve(lines.size());
    for (std::string_view line : lines) Add(line);
    Finish(lines);
}

void CResultLayout::Add(std::string_view line) {
    std::string_view text;
    const LineMarker marker = ToDisplayView(line, m_scratch, text);
    const LineColour colour = m_state.Next(marker, text);
    m_rowsAboveLast = m_rowLine.size();  // as it stands should this be the last line
    if (!text.empty()) {
        m_rowLine.push_back(static_cast<uint32_t>(m_linesAdded));
        m_rowColour.push_back(colour);
    }
    ++m_linesAdded;
}

void CResultLayout::Reserve(size_t lines) {
    try {
        m_rowLine.reserve(m_rowLine.size() + lines);
        m_rowColour.reserve(m_rowColour.size() + lines);
    } catch (const std::exception &) {
        // Short of address space: the rows grow as they go.
    }
}

void CResultLayout::Finish(const LineArray &lines) { m_identity = LinesIdentity::Of(lines); }

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
    m_rowLine.clear();
    m_rowColour.clear();
    m_rowsAboveLast = 0;
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
