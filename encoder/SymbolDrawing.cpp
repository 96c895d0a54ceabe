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

    // Each module row is drawn once into its top pixel row, which the rest of the module's
    // pixel rows then copy.
    TwoColourPicture picture(width, height);
    for (int32_t row = 0; row < symbol.Side(); ++row) {
        const int32_t top = symbolTop + row * moduleSize;
        for (int32_t column = 0; column < symbol.Side(); ++column) {
            if (symbol.IsDark(column, row)) picture.SetBarRun(symbolLeft + column * moduleSize, top, moduleSize);
        }
        for (int32_t y = top + 1; y < top + moduleSize; ++y) picture.CopyRow(top, y);
    }
    return picture;
}

}  // namespace korvel::encoder
