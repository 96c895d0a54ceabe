#pragma once
// A picture of two colours, bar and background, before it is given a file format. Rows
// are packed 8 pixels a byte, leftmost pixel in the most significant bit, 1 for bar: the
// layout the BMP file wants, so writing the file copies rows instead of visiting pixels.
#include <algorithm>
#include <cstdint>
#include <vector>

namespace korvel::encoder {

class TwoColourPicture {
public:
    // All background; width and height 1 or more.
    TwoColourPicture(int32_t width, int32_t height)
        : width_(width), height_(height), rowBytes_((width + 7) / 8),
          bits_(static_cast<std::size_t>(rowBytes_) * height, 0) {}

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t RowBytes() const { return rowBytes_; }
    // x is the column and y the row from the top-left corner; callers keep them inside.
    bool IsBar(int32_t x, int32_t y) const { return (Row(y)[x / 8] & Bit(x)) != 0; }
    void SetBar(int32_t x, int32_t y) { Row(y)[x / 8] |= Bit(x); }
    // Pixels x .. x + count - 1 of row y become bar.
    // The whole bytes in the middle of a module are filled at once.
    void SetBarRun(int32_t x, int32_t y, int32_t count) {
        const int32_t end = x + count;
        for (; x < end && x % 8 != 0; ++x) SetBar(x, y);
        const int32_t wholeBytes = (end - x) / 8;
        std::fill_n(Row(y) + x / 8, wholeBytes, uint8_t{0xFF});
        for (x += wholeBytes * 8; x < end; ++x) SetBar(x, y);
    }
    // Row `to` becomes a copy of row `from`.
    void CopyRow(int32_t from, int32_t to) { std::copy_n(Row(from), rowBytes_, Row(to)); }
    const uint8_t* Row(int32_t y) const { return bits_.data() + static_cast<std::size_t>(y) * rowBytes_; }

private:
    uint8_t* Row(int32_t y) { return bits_.data() + static_cast<std::size_t>(y) * rowBytes_; }
    static uint8_t Bit(int32_t x) { return static_cast<uint8_t>(0x80u >> (x % 8)); }

    int32_t width_;
    int32_t height_;
    int32_t rowBytes_;
    std::vector<uint8_t> bits_;
};

}  // namespace korvel::encoder
