#pragma once
// The colour tables a blank image of 1, 4 or 8 bits per pixel starts with. Entries are
// colour values (red in bits 0-7, green 8-15, blue 16-23).
#include <cstdint>
#include <span>

namespace korvel {

// 2 entries for 1 bit (black, white), 16 for 4 bits, 256 for 8 bits; empty for other depths.
std::span<const int32_t> DefaultColourTable(uint32_t bitsPerPixel);

}  // namespace korvel
