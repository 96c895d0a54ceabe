#pragma once
// Where a written picture holds its symbol, measured from the pixels alone.
#include <cstdint>
#include <optional>
#include <string>

#include "tests/support/BmpPixels.h"

namespace korvel::testing_support {

struct SymbolPlacement {
    int32_t left = 0;        // the symbol's top-left corner, dark modules only
    int32_t top = 0;
    int32_t side = 0;        // pixels
    int32_t moduleSize = 0;  // pixels per module side
    int32_t modules = 0;     // modules per symbol side
};

// Measures the symbol of a black-on-white picture: the first black pixel in column-by-
// column order must be the corner of the black pixels' square bounding box, and the
// finder pattern's top edge gives the module size (7 modules). Nullopt, with the reason
// in *why, when the picture does not hold a symbol laid out that way, or when a module is
// not a uniform square of pixels.
std::optional<SymbolPlacement> MeasureSymbol(const BmpPixels& image, std::string* why);

}  // namespace korvel::testing_support
