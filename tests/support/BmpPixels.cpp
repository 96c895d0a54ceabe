#include "tests/support/BmpPixels.h"

#include <fstream>
#include <iterator>

namespace korvel::testing_support {
namespace {

uint32_t U16(const std::vector<uint8_t>& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
uint32_t U32(const std::vector<uint8_t>& b, std::size_t at) { return U16(b, at) | (U16(b, at + 2) << 16); }

std::nullopt_t Fail(std::string* error, const std::string& reason) {
    if (error) *error = reason;
    return std::nullopt;
}

struct Layout {
    int32_t width;
    int32_t height;         // negative: top row first
    uint16_t bitsPerPixel;
    uint32_t compression;
    std::size_t tableOffset;
    std::size_t tableEntries;
    std::size_t entrySize;  // 4, or 3 after a core header
};

std::optional<Layout> ReadLayout(const std::vector<uint8_t>& b, std::string* error) {
    if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') return Fail(error, "not a BMP file");
    const uint32_t headerSize = U32(b, 14);
    Layout layout{};
    if (headerSize == 12) {
        layout = {static_cast<int32_t>(U16(b, 18)), static_cast<int32_t>(U16(b, 20)), static_cast<uint16_t>(U16(b, 24)), 0,
                  26, 0, 3};
    } else if (headerSize >= 40 && b.size() >= 14 + headerSize) {
        layout = {static_cast<int32_t>(U32(b, 18)), static_cast<int32_t>(U32(b, 22)), static_cast<uint16_t>(U16(b, 28)),
                  U32(b, 30), 14 + headerSize, U32(b, 46), 4};
    } else {
        return Fail(error, "unknown header size " + std::to_string(headerSize));
    }
    if (layout.bitsPerPixel <= 8 && layout.tableEntries == 0) layout.tableEntries = std::size_t{1} << layout.bitsPerPixel;
    if (layout.bitsPerPixel > 8) layout.tableEntries = 0;
    return layout;
}

Rgb TableEntry(const std::vector<uint8_t>& b, const Layout& layout, uint32_t index) {
    if (index >= layout.tableEntries) return Rgb{};
    const std::size_t at = layout.tableOffset + index * layout.entrySize;
    return Rgb{b[at + 2], b[at + 1], b[at]};
}

Rgb PixelOf(const std::vector<uint8_t>& b, const Layout& layout, std::size_t row, int32_t x) {
    switch (layout.bitsPerPixel) {
        case 1: return TableEntry(b, layout, (b[row + x / 8] >> (7 - x % 8)) & 1);
        case 4: return TableEntry(b, layout, (b[row + x / 2] >> (x % 2 ? 0 : 4)) & 0xF);
        case 8: return TableEntry(b, layout, b[row + x]);
        case 16: {
            const uint32_t v = U16(b, row + 2 * static_cast<std::size_t>(x));
            auto widen = [](uint32_t five) { return static_cast<uint8_t>((five << 3) | (five >> 2)); };
            return Rgb{widen((v >> 10) & 31), widen((v >> 5) & 31), widen(v & 31)};
        }
        case 24: return Rgb{b[row + 3 * x + 2], b[row + 3 * x + 1], b[row + 3 * x]};
        default: return Rgb{b[row + 4 * x + 2], b[row + 4 * x + 1], b[row + 4 * x]};
    }
}

}  // namespace

std::optional<BmpPixels> ReadBmpBytes(const std::vector<uint8_t>& b, std::string* error) {
    const std::optional<Layout> layout = ReadLayout(b, error);
    if (!layout) return std::nullopt;
    if (U32(b, 2) != b.size()) return Fail(error, "file size field " + std::to_string(U32(b, 2)) + " but file has " + std::to_string(b.size()));
    switch (layout->bitsPerPixel) {
        case 1: case 4: case 8: case 16: case 24: case 32: break;
        default: return Fail(error, "bits per pixel " + std::to_string(layout->bitsPerPixel));
    }
    if (layout->compression != 0) return Fail(error, "compressed");
    if (layout->width < 0) return Fail(error, "negative width");
    const bool topDown = layout->height < 0;
    const int32_t height = topDown ? -layout->height : layout->height;
    const std::size_t rowBytes = ((static_cast<std::size_t>(layout->bitsPerPixel) * layout->width + 31) / 32) * 4;
    const std::size_t dataOffset = U32(b, 10);
    if (layout->tableOffset + layout->tableEntries * layout->entrySize > b.size()) return Fail(error, "colour table cut short");
    if (dataOffset + rowBytes * height > b.size()) return Fail(error, "pixel rows cut short");

    BmpPixels image{layout->width, height, layout->bitsPerPixel, {}};
    image.pixels.reserve(static_cast<std::size_t>(layout->width) * height);
    for (int32_t y = 0; y < height; ++y) {
        const std::size_t stored = topDown ? y : height - 1 - y;
        const std::size_t row = dataOffset + stored * rowBytes;
        for (int32_t x = 0; x < layout->width; ++x) image.pixels.push_back(PixelOf(b, *layout, row, x));
    }
    return image;
}

std::optional<BmpPixels> ReadBmpFile(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail(error, "cannot open " + path);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return ReadBmpBytes(bytes, error);
}

}  // namespace korvel::testing_support
