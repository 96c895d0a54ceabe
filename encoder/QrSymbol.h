#pragma once
// A QR Code symbol of a byte string: its modules, dark or light. Only QrSymbol.cpp sees
// libqrencode.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace korvel::encoder {

// The four error-correction levels, lowest first.
enum class CorrectionLevel { kLow, kMedium, kQuartile, kHigh };

class QrSymbol {
public:
    // The symbol of exactly these bytes, in 8-bit byte mode without a character-set
    // designator. minimumVersion 0 takes the smallest version that holds the bytes;
    // 1..40 takes at least that version. Nullopt for empty bytes or bytes too long for
    // version 40 at this level.
    static std::optional<QrSymbol> Encode(std::string_view bytes, int minimumVersion, CorrectionLevel level);

    // Modules per side, 21 (version 1) to 177 (version 40).
    int32_t Side() const { return side_; }
    // x is the column and y the row, both 0..Side()-1 from the top-left corner.
    bool IsDark(int32_t x, int32_t y) const { return dark_[static_cast<std::size_t>(y) * side_ + x] != 0; }

private:
    QrSymbol(int32_t side, std::vector<uint8_t> dark) : side_(side), dark_(std::move(dark)) {}

    int32_t side_;
    std::vector<uint8_t> dark_;  // row by row, 1 for a dark module
};

}  // namespace korvel::encoder
