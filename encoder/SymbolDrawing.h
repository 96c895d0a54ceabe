#pragma once
// Lays a symbol out in a picture of a fixed size.
#include <cstdint>
#include <optional>

#include "encoder/QrSymbol.h"
#include "encoder/TwoColourPicture.h"

namespace korvel::encoder {

// Modules of light margin on every side of the symbol, as readers need it.
inline constexpr int32_t kQuietZoneModules = 4;

// Draws the symbol upright in a width x height picture. Each module becomes a square of
// the largest whole number of pixels that lets the symbol and its quiet zone fit, and the
// symbol with its quiet zone is centred (an odd pixel left over goes right or below).
// Nullopt when even one pixel per module does not fit, or a size is below 1.
std::optional<TwoColourPicture> DrawSymbol(const QrSymbol& symbol, int32_t width, int32_t height);

}  // namespace korvel::encoder
