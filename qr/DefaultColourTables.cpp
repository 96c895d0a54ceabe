#include "qr/DefaultColourTables.h"

#include <array>

namespace korvel {
namespace {

constexpr int32_t Rgb(int32_t red, int32_t green, int32_t blue) { return red | (green << 8) | (blue << 16); }

constexpr std::array<int32_t, 2> kTwoColours = {Rgb(0, 0, 0), Rgb(255, 255, 255)};

// The sixteen colours of the classic display adapter, black first and white last.
constexpr std::array<int32_t, 16> kSixteenColours = {
    Rgb(0, 0, 0),       Rgb(128, 0, 0),   Rgb(0, 128, 0),   Rgb(128, 128, 0),
    Rgb(0, 0, 128),     Rgb(128, 0, 128), Rgb(0, 128, 128), Rgb(192, 192, 192),
    Rgb(128, 128, 128), Rgb(255, 0, 0),   Rgb(0, 255, 0),   Rgb(255, 255, 0),
    Rgb(0, 0, 255),     Rgb(255, 0, 255), Rgb(0, 255, 255), Rgb(255, 255, 255),
};

// The sixteen colours, a 6 x 6 x 6 cube in steps of 51, then 24 greys from 8 to 238.
constexpr std::array<int32_t, 256> MakeTwoHundredFiftySixColours() {
    std::array<int32_t, 256> table{};
    int next = 0;
    for (int32_t colour : kSixteenColours) table[next++] = colour;
    for (int red = 0; red < 6; ++red)
        for (int green = 0; green < 6; ++green)
            for (int blue = 0; blue < 6; ++blue) table[next++] = Rgb(red * 51, green * 51, blue * 51);
    for (int grey = 0; grey < 24; ++grey) table[next++] = Rgb(8 + 10 * grey, 8 + 10 * grey, 8 + 10 * grey);
    return table;
}

constexpr std::array<int32_t, 256> kTwoHundredFiftySixColours = MakeTwoHundredFiftySixColours();

}  // namespace

std::span<const int32_t> DefaultColourTable(uint32_t bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1: return kTwoColours;
        case 4: return kSixteenColours;
        case 8: return kTwoHundredFiftySixColours;
        default: return {};
    }
}

}  // namespace korvel
