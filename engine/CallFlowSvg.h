// The ladder diagram of a call flow as an SVG picture: one column per side, one arrow per
// message with its time at the left, its name and key above it; outgoing and incoming
// arrows in the result text's direction colours, invalid messages in red. Each arrow is a
// group carrying the signal's sequence number (data-seq) so that readers can find it.
#pragma once

#include "CallFlow.h"

#include <cstdint>
#include <ostream>

namespace vexa {

struct FlowColors {
    uint32_t outgoing = 0x00FF0000;  // 0x00BBGGRR, as the settings keep colours
    uint32_t incoming = 0x000000FF;
    uint32_t invalid = 0x000000FF;   // red
};

// The geometry shared by the SVG writer and the windows.
struct FlowLayout {
    static constexpr int kTimeWidth = 110;
    static constexpr int kColumnWidth = 230;
    static constexpr int kHeader = 50;
    static constexpr int kRowHeight = 32;
    // Where an invalid message's "!!!" stands, after its time: red alone would not tell it
    // from an arrow in a red direction colour.
    static constexpr int kInvalidMarkX = 88;
    static int ColumnX(int column) { return kTimeWidth + kColumnWidth / 2 + column * kColumnWidth; }
    static int ArrowY(int arrow) { return kHeader + kRowHeight / 2 + 10 + arrow * kRowHeight; }
    static int Width(const CallFlow &f) { return kTimeWidth + static_cast<int>(f.sides.size()) * kColumnWidth + 10; }
    static int Height(const CallFlow &f) { return kHeader + static_cast<int>(f.arrows.size()) * kRowHeight + 30; }
};

// The label of an arrow: the message name and its key.
std::string ArrowLabel(const FlowMessage &m);

void WriteCallFlowSvg(const CallFlow &flow, const FlowColors &colors, std::ostream &out);

}  // namespace vexa
