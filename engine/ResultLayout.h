// The rows of the result text, worked out once each time the display lines change: which
// display lines take a row on screen and in which colour. A paint then draws only the
// rows in view, and still shows exactly what a walk over every line from the first would.
#pragma once

#include "ResultLines.h"

#include <algorithm>
#include <climits>
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
    // Whether the layout was built from these lines (the same identity).
    bool Matches(const LineArray &lines) const { return LinesIdentity::Of(lines) == m_identity; }

    // Rows: the display lines whose text is not empty once the markers are read; each
    // takes one font height on screen (a text that starts with a line-feed takes its row
    // but shows nothing). Marker lines and empty lines take no space.
    size_t RowCount() const { return m_rowCount; }
    // The display line of a row and its colour, given the lines the layout was built from.
    size_t RowLine(const LineArray &lines, size_t row) const { return Locate(lines, row).line; }
    LineColour RowColour(const LineArray &lines, size_t row) const { return Locate(lines, row).colour; }
    // The number of rows above the last display line: its top is this many rows down.
    size_t RowsAboveLastLine() const { return m_rowsAboveLast; }
    // The memory the layout keeps, in bytes: a few bytes for every stretch of rows, not for
    // every row, however long the run.
    size_t KeptBytes() const { return m_checkpoints.capacity() * sizeof(Checkpoint); }

    // The content height after a paint of all lines that starts at height: whenever a
    // line's top lies below the height, the height becomes that top plus 500.
    static int32_t GrownHeight(int32_t height, int rowHeight, size_t rowsAboveLast);

private:
    // Only every kRowsApart-th row is kept, with the colour state before its line; a row in
    // between is found by reading on from there. A view asks for the few rows in sight, one
    // after the other, so the place last found is kept too and read on from.
    static constexpr size_t kRowsApart = 64;
    struct Checkpoint {
        uint32_t line;
        CResultColourState state;
    };
    struct Place {
        size_t row = SIZE_MAX;
        size_t line = 0;
        LineColour colour = LineColour::Black;
        CResultColourState state;  // after the line
    };
    const Place &Locate(const LineArray &lines, size_t row) const;

    CResultColourState m_state;  // while lines are added
    std::string m_scratch;
    std::vector<Checkpoint> m_checkpoints;
    size_t m_rowCount = 0;
    size_t m_rowsAboveLast = 0;

    size_t m_linesAdded = 0;
    LinesIdentity m_identity;  // of the lines it was finished with

    mutable Place m_place;  // the row last found (the view's thread alone asks)
    mutable std::string m_placeScratch;
};

// The number of lines before index n that take a row when measured as stored (Go To
// measures the lines that way): every line but the empty ones and the ">>>>" and "<<<<"
// markers.
size_t StoredRowsBefore(const LineArray &lines, size_t n);

}  // namespace vexa
