#include "TracePieces.h"

#include <cstring>

namespace vexa {

Piece NextPiece(const char *p, size_t avail) {
    const size_t window = avail < kMaxPiece + 2 ? avail : kMaxPiece + 2;
    const char *nl = static_cast<const char *>(std::memchr(p, '\n', window));
    if (nl) {
        const size_t k = static_cast<size_t>(nl - p);
        const bool crlf = k > 0 && p[k - 1] == '\r';
        const size_t content = crlf ? k - 1 : k;
        if (content < kMaxPiece) return {content + 1, k + 1, crlf};
        return {kMaxPiece, kMaxPiece, false};
    }
    const size_t n = avail < kMaxPiece ? avail : kMaxPiece;
    return {n, n, false};
}

}  // namespace vexa
