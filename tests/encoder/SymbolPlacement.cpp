#include "SymbolPlacement.h"

#include <algorithm>

namespace korvel::testing_support {
namespace {

constexpr Rgb kBlack{0, 0, 0};

std::nullopt_t Fail(std::string* why, const std::string& reason) {
    *why = reason;
    return std::nullopt;
}

bool ModulesAreUniform(const BmpPixels& image, const SymbolPlacement& p) {
    for (int32_t row = 0; row < p.modules; ++row) {
        for (int32_t column = 0; column < p.modules; ++column) {
            const int32_t x0 = p.left + column * p.moduleSize;
            const int32_t y0 = p.top + row * p.moduleSize;
            const Rgb first = image.At(x0, y0);
            for (int32_t y = y0; y < y0 + p.moduleSize; ++y) {
                for (int32_t x = x0; x < x0 + p.moduleSize; ++x) {
                    if (!(image.At(x, y) == first)) return false;
                }
            }
        }
    }
    return true;
}

}  // namespace

std::optional<SymbolPlacement> MeasureSymbol(const BmpPixels& image, std::string* why) {
    int32_t minX = image.width, minY = image.height, maxX = -1, maxY = -1;
    std::optional<std::pair<int32_t, int32_t>> firstInColumnOrder;
    for (int32_t x = 0; x < image.width; ++x) {
        for (int32_t y = 0; y < image.height; ++y) {
            if (!(image.At(x, y) == kBlack)) continue;
            if (!firstInColumnOrder) firstInColumnOrder = {x, y};
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
    }
    if (!firstInColumnOrder) return Fail(why, "no black pixel");
    SymbolPlacement p{minX, minY, maxX - minX + 1, 0, 0};
    if (*firstInColumnOrder != std::pair{minX, minY}) return Fail(why, "first black pixel is not the corner");
    if (maxY - minY + 1 != p.side) return Fail(why, "black pixels do not span a square");

    int32_t finderEdge = 0;
    while (p.left + finderEdge < image.width && image.At(p.left + finderEdge, p.top) == kBlack) ++finderEdge;
    if (finderEdge % 7 != 0) return Fail(why, "finder edge of " + std::to_string(finderEdge) + " pixels");
    p.moduleSize = finderEdge / 7;
    if (p.side % p.moduleSize != 0) return Fail(why, "side is not a whole number of modules");
    p.modules = p.side / p.moduleSize;
    if (p.modules < 21 || p.modules > 177 || (p.modules - 17) % 4 != 0) {
        return Fail(why, std::to_string(p.modules) + " modules is no symbol size");
    }
    if (!ModulesAreUniform(image, p)) return Fail(why, "a module is not a uniform square");
    return p;
}

}  // namespace korvel::testing_support
