#pragma once
// A picture of two colours, bar and background, before it is given a file format.
#include <cstdint>
#include <vector>

namespace korvel::encoder {

class TwoColourPicture {
public:
    // All background; width and height 1 or more.
    TwoColourPicture(int32_t width, int32_t height)
        : width_(width), height_(height), bar_(static_cast<std::size_t>(width) * height, 0) {}

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    // x is the column and y the row from the top-left corner; callers keep them inside.
    bool IsBar(int32_t x, int32_t y) const { return bar_[Index(x, y)] != 0; }
    void SetBar(int32_t x, int32_t y) { bar_[Index(x, y)] = 1; }
    // Row y as width flags, 1 for bar; rows are stored one after another.
    const uint8_t* Row(int32_t y) const { return bar_.data() + Index(0, y); }
    uint8_t* Row(int32_t y) { return bar_.data() + Index(0, y); }

private:
    std::size_t Index(int32_t x, int32_t y) const { return static_cast<std::size_t>(y) * width_ + x; }

    int32_t width_;
    int32_t height_;
    std::vector<uint8_t> bar_;
};

}  // namespace korvel::encoder
