#include "ResultPrinting.h"

#include <algorithm>
#include <cmath>

namespace vexa {

ResultPageLayout PaginateResult(size_t lineCount, int printableHeightTwips, int lineHeightTwips) {
    ResultPageLayout layout;
    layout.lineHeightTwips = std::max(1, lineHeightTwips);
    layout.linesPerPage = (std::abs(printableHeightTwips) - kPrintReserveTwips) / layout.lineHeightTwips;
    // A font so large that no line fits below the reserve would leave no line on a page
    // and no page count: each page then takes one line, cut off at the page's foot,
    // so that every line still reaches the paper.
    if (layout.linesPerPage <= 0) layout.linesPerPage = 1;
    const size_t perPage = static_cast<size_t>(layout.linesPerPage);
    layout.pageCount = static_cast<int>(lineCount / perPage + (lineCount % perPage != 0 ? 1 : 0));
    return layout;
}

int TwipsToDevice(long long twips, int dpi) {
    return static_cast<int>(std::llround(static_cast<double>(twips) * dpi / kTwipsPerInch));
}

int DeviceToTwips(long long pixels, int dpi) {
    if (dpi <= 0) return 0;
    return static_cast<int>(std::llround(static_cast<double>(pixels) * kTwipsPerInch / dpi));
}

}  // namespace vexa
