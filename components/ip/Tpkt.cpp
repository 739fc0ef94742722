#include "Tpkt.h"

#include "HexText.h"

namespace vexa::ip {

size_t TpktTotal(const uint8_t *data) {
    if (data[0] != 3) return 0;
    const size_t total = static_cast<size_t>(data[2]) << 8 | data[3];
    return total < 4 ? 0 : total;
}

TpktSplit SplitTpkt(const uint8_t *data, size_t size) {
    TpktSplit split;
    size_t pos = 0;
    while (pos < size) {
        if (size - pos < 4) {
            // The header itself goes on in the next segment.
            if (data[pos] != 3) {
                TpktPiece bad;
                bad.offset = pos;
                bad.size = size - pos;
                bad.problem = "TPKT version " + component::HexByte(data[pos]) + " instead of H'03: not a TPKT header";
                split.pieces.push_back(bad);
                return split;
            }
            split.unfinished = true;
            split.unfinishedStart = pos;
            return split;
        }
        const size_t total = TpktTotal(data + pos);
        if (total == 0) {
            TpktPiece bad;
            bad.offset = pos;
            bad.size = size - pos;
            if (data[pos] != 3)
                bad.problem = "TPKT version " + component::HexByte(data[pos]) + " instead of H'03: not a TPKT header";
            else
                bad.problem = "TPKT length " + std::to_string(static_cast<size_t>(data[pos + 2]) << 8 | data[pos + 3]) +
                              " is below the four octets of its own header";
            split.pieces.push_back(bad);
            return split;
        }
        if (total > size - pos) {
            split.unfinished = true;
            split.unfinishedStart = pos;
            split.unfinishedTotal = total;
            return split;
        }
        TpktPiece piece;
        piece.offset = pos + 4;
        piece.size = total - 4;
        piece.declared = total - 4;
        split.pieces.push_back(piece);
        pos += total;
    }
    return split;
}

}  // namespace vexa::ip
