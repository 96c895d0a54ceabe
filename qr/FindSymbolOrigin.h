#pragma once
#include <cstdint>

#include "qr/Bitmap.h"

namespace korvel {

// Scans columns 0 to 399 from the left, each from the top (rows 0 to 399), and stops at the
// first dark pixel: the topmost dark pixel of the leftmost column that has one. Dark means
// GetPixel gives exactly 0, so a pixel the bitmap cannot read counts as dark too. x0 and y0
// are set only when a dark pixel is found; either may be null.
void FindSymbolOrigin(const Bitmap& bitmap, int32_t* x0, int32_t* y0);

// The encoder's picture is 400 x 400; scans and measurements stay within 0..399.
inline constexpr int32_t kQrImageSide = 400;

inline bool IsDarkPixel(const Bitmap& bitmap, int32_t x, int32_t y) { return bitmap.GetPixel(x, y) == 0; }

}  // namespace korvel
