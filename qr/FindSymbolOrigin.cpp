#include "qr/FindSymbolOrigin.h"

namespace korvel {

void FindSymbolOrigin(const Bitmap& bitmap, int32_t* x0, int32_t* y0) {
    for (int32_t x = 0; x < kQrImageSide; ++x) {
        for (int32_t y = 0; y < kQrImageSide; ++y) {
            if (!IsDarkPixel(bitmap, x, y)) continue;
            if (x0) *x0 = x;
            if (y0) *y0 = y;
            return;
        }
    }
}

}  // namespace korvel
