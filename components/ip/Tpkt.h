// TPKT framing (RFC 1006) of H.225.0 call signalling and H.245 on TCP: a four-octet header
// (version 3, a reserved octet, the length of the whole packet in two octets) before each
// message. One TCP segment may carry several packets, and a packet may go on in later segments.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vexa::ip {

struct TpktPiece {
    size_t offset = 0;   // of the payload in the octets given
    size_t size = 0;     // payload octets present
    size_t declared = 0; // payload octets the header announces
    std::string problem; // a header that cannot be read: the rest of the octets are not split
};

struct TpktSplit {
    std::vector<TpktPiece> pieces;  // whole packets, and at most one bad header last
    // A packet that the octets begin but do not finish: where it starts (its header), and
    // how many octets the whole packet has (0 while fewer than four header octets are there).
    bool unfinished = false;
    size_t unfinishedStart = 0;
    size_t unfinishedTotal = 0;
};

TpktSplit SplitTpkt(const uint8_t *data, size_t size);

// The whole packet size announced by the header at data (at least four octets there), or 0
// when the header is not a TPKT header (version not 3, length below 4).
size_t TpktTotal(const uint8_t *data);

}  // namespace vexa::ip
