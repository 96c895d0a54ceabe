#include "qr/FindSymbolOrigin.h"

namespace korvel {

// Searched row by row, which finds the same pixel as the column scan: the smallest column
// holding a dark pixel, and within it the smallest row. Each row is only searched left of
// the best column so far, and a later row replaces the answer only with a smaller column,
// so of equal columns the upper row stays.
void FindSymbolOrigin(const Bitmap& bitmap, int32_t* x0, int32_t* y0) {
    int32_t bestX = kQrImageSide;
    int32_t bestY = 0;
    for (int32_t y = 0; y < kQrImageSide && bestX > 0; ++y) {
        const int32_t x = bitmap.FindBlackInRow(y, bestX);
        if (x < bestX) {
            bestX = x;
            bestY = y;
        }
    }
    if (bestX == kQrImageSide) return;
    if (x0) *x0 = bestX;
    if (y0) *y0 = bestY;
}

}  // namespace korvel
