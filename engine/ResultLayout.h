// The rows of the result text, worked out once each time the display lines change: which
// display lines take a row on screen and in which colour. A paint then draws only the
// rows in view, and still shows exactly what a walk over every line from the first would.
#pragma once

#include "ResultLines.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

class LineArray;

// What tells display lines apart cheaply: their count and where the first and the last
// line lie. Lines changed behind a layout's back differ in one of them.
struct LinesIdentity {
    size_t count = 0;
    const char *first = nullptr;
    const char *last = nullptr;
    size_t lastSize = 0;

    static LinesIdentity Of(const LineArray &lines);
    bool operator==(const LinesIdentity &) const = default;
};

class CResultLayout {
public:
    // Walks every display line from the first with the colour state.
    void Build(const LineArray &lines);
    void Clear();
    // The same a line at a time, as the lines are made: Add each line in order, then
    // Finish with the lines once they are where they stay.
    void Add(std::string_view line);
    void Finish(const LineArray &lines);
    // Room for the rows of this many lines to be added, so that the rows of a long run
    // are never copied to grow; room not used costs only address space.
    void Reserve(size_t lines);
    // Whether the layout was built from these lines (the same identity).
    bool Matches(const LineArray &lines) const { return LinesIdentity::Of(lines) == m_identity; }

    // Rows: the display lines whose text is not empty once the markers are read; each
    // takes one font height on screen (a text that starts with a line-feed takes its row
    // but shows nothing). Marker lines and empty lines take no space.
    size_t RowCount() const { return m_rowLine.size(); }
    // The rows there is room for without growing.
    size_t RowRoom() const { return std::min(m_rowLine.capacity(), m_rowColour.capacity()); }
    size_t RowLine(size_t row) const { return m_rowLine[row]; }
    LineColour RowColour(size_t row) const { return m_rowColour[row]; }
    // The number of rows above the last display line: its top is this many rows down.
    size_t RowsAboveLastLine() const { return m_rowsAboveLast; }

    // The content height after a paint of all lines that starts at height: whenever a
    // line's top lies below the height, the height becomes that top plus 500.
    static int32_t GrownHeight(int32_t height, int rowHeight, size_t rowsAboveLast);

private:
    CResultColourState m_state;  // while lines are added
    std::string m_scratch;
    std::vector<uint32_t> m_rowLine;
    std::vector<LineColour> m_rowColour;
    size_t m_rowsAboveLast = 0;

    size_t m_linesAdded = 0;
    LinesIdentity m_identity;  // of the lines it was finished with
};

// The number of lines before index n that take a row when measured as stored (Go To
// measures the lines that way): every line but the empty ones and the ">>>>" and "<<<<"
// markers.
size_t StoredRowsBefore(const LineArray &lines, size_t n);

}  // namespace vexa
