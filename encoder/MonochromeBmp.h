#pragma once
// The BMP file of a two-colour picture: uncompressed, 1 bit per pixel, bottom row first.
#include <cstdint>
#include <vector>

#include "encoder/TwoColourPicture.h"

namespace korvel::encoder {

struct Rgb {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// Colour table entry 0 is the bar colour and entry 1 the background, so a bar pixel is a
// 0 bit. Rows are padded to 4 bytes with background bits.
std::vector<uint8_t> MonochromeBmp(const TwoColourPicture& picture, Rgb bar, Rgb background);

}  // namespace korvel::encoder
