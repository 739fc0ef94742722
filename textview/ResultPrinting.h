// The pagination of the printed result text, in twips (1/1440 inch): a fixed number of
// display lines per page, the first a quarter inch below the top of the printable area.
#pragma once

#include <cstddef>

namespace vexa {

constexpr int kTwipsPerInch = 1440;
constexpr int kPrintLeftTwips = 100;      // x of every printed line
constexpr int kPrintTopTwips = 360;       // the first line's top below the printable area's top
constexpr int kPrintReserveTwips = 720;   // the part of the printable height kept free

struct ResultPageLayout {
    int lineHeightTwips = 0;  // the printer font's height plus its external leading
    int linesPerPage = 0;
    int pageCount = 0;
    bool operator==(const ResultPageLayout &) const = default;
};

// Lines per page = (printable height - 720) / line height; the pages hold lineCount
// lines, the last one possibly partly empty.
ResultPageLayout PaginateResult(size_t lineCount, int printableHeightTwips, int lineHeightTwips);

// Device pixels of a length in twips on a device of the given resolution, and back.
int TwipsToDevice(long long twips, int dpi);
int DeviceToTwips(long long pixels, int dpi);

}  // namespace vexa
