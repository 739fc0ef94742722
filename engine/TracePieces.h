// How a trace is cut into the pieces the program reads: at most 511 characters, ending
// with the newline when the line ends within them; a carriage return before the line
// feed is not part of the line.
#pragma once

#include <cstddef>

namespace vexa {

inline constexpr size_t kMaxPiece = 511;

struct Piece {
    size_t length;    // characters of the piece, its newline included
    size_t consumed;  // characters of the file it stands for
    bool crlf;        // the line ended in CR LF: the piece's last character stands for both
};

// The next piece of the text at p, of which avail characters are at hand. The caller
// keeps at least kMaxPiece + 2 characters at hand unless the file ends sooner.
Piece NextPiece(const char *p, size_t avail);

}  // namespace vexa
