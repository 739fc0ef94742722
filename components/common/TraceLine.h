// Reading the fixed columns of a Korvan signal trace: record lines, rows and end lines.
#pragma once

#include <string_view>

namespace vexa::component {

// Column where the signal name of a record line and the keyword of a row begin.
inline constexpr size_t kKeywordColumn = 24;

// The fields of a record line (views into the line passed to ParseRecordLine).
struct RecordLine {
    std::string_view time;         // columns 0-10, "hh.mm.ss.cc"
    int sequence = 0;              // columns 12-16
    std::string_view direction;    // columns 19-22
    std::string_view signalName;   // first word from column 24
    std::string_view originator;   // second word
    std::string_view destination;  // third word
};

// True when line has the form of a record line: a time "hh.mm.ss.cc" in columns 0-10
// (hours 00-23, minutes and seconds 00-59), a blank, five digits, and a direction word.
// Fills rec when it does. A sequence number above 32767 is not a record line.
bool ParseRecordLine(std::string_view line, RecordLine &rec);

// True when line begins with "END" (the exchange's "END OF TRACE", or the program's own mark).
bool IsEndLine(std::string_view line);

// A row: a line that begins with a blank. keyword is its text from the first non-blank on
// (the exchange writes it at column 24; a row shifted by a column is read all the same);
// returns false for a line that is not a row.
bool SplitRow(std::string_view line, std::string_view &keyword);

// The line without its trailing line end ("\n", "\r\n").
std::string_view StripLineEnd(std::string_view line);

// Leading and trailing blanks and tabs removed.
std::string_view TrimBlanks(std::string_view text);

// If text begins with word followed by a blank (or ends after it), returns true and sets rest
// to what follows, blanks skipped.
bool TakeKeyword(std::string_view text, std::string_view word, std::string_view &rest);

// Reads a decimal number from the front of text (and removes it); false when there is none
// or it exceeds limit.
bool ReadDecimal(std::string_view &text, long long limit, long long &value);

}  // namespace vexa::component
