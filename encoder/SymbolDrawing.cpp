#include "encoder/SymbolDrawing.h"

#include <algorithm>

namespace korvel::encoder {

std::optional<TwoColourPicture> DrawSymbol(const QrSymbol& symbol, int32_t width, int32_t height) {
    if (width < 1 || height < 1) return std::nullopt;
    const int32_t modulesAcross = symbol.Side() + 2 * kQuietZoneModules;
    const int32_t moduleSize = std::min(width, height) / modulesAcross;
    if (moduleSize < 1) return std::nullopt;

    const int32_t drawnSide = modulesAcross * moduleSize;
    const int32_t symbolLeft = (width - drawnSide) / 2 + kQuietZoneModules * moduleSize;
    const int32_t symbolTop = (height - drawnSide) / 2 + kQuietZoneModules * moduleSize;

    TwoColourPicture picture(width, height);
    for (int32_t row = 0; row < symbol.Side(); ++row) {
        for (int32_t column = 0; column < symbol.Side(); ++column) {
            if (!symbol.IsDark(column, row)) continue;
            const int32_t left = symbolLeft + column * moduleSize;
            const int32_t top = symbolTop + row * moduleSize;
            for (int32_t y = top; y < top + moduleSize; ++y) {
                for (int32_t x = left; x < left + moduleSize; ++x) picture.SetBar(x, y);
            }
        }
    }
    return picture;
}

}  // namespace korvel::encoder
