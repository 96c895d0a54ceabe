#pragma once
// Reads any uncompressed BMP file into plain pixels, so tests can look at what a writer
// produced without trusting the program's own loader.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvel::testing_support {

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct BmpPixels {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitsPerPixel = 0;
    std::vector<Rgb> pixels;  // row by row from the top-left corner

    Rgb At(int32_t x, int32_t y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Uncompressed BMP with a 40-byte (or larger) info header or a 12-byte core header; 1, 4,
// 8, 16 (5-5-5), 24 or 32 bits per pixel; bottom-up or top-down rows. Nullopt, with the
// reason in *error when given, for anything else, a file shorter than its rows, or a
// file size field that disagrees with the file.
std::optional<BmpPixels> ReadBmpFile(const std::string& path, std::string* error = nullptr);
std::optional<BmpPixels> ReadBmpBytes(const std::vector<uint8_t>& bytes, std::string* error = nullptr);

}  // namespace korvel::testing_support
