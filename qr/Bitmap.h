#pragma once
// Bitmap: an in-memory raster image in the device-independent layout (a BMP file without
// its 14-byte file header): the 40-byte info header, the colour table, then the pixel rows,
// bottom row first, each padded to a multiple of 4 bytes. Depths 1, 4, 8 (indexed), 16
// (5-5-5), 24 and 32 bits per pixel.
//
// Coordinates count from 0 at the top-left pixel. A colour value holds red in bits 0-7,
// green in 8-15 and blue in 16-23 (black 0, white 16777215); where one is optional, -1
// counts as not given. No operation throws: each returns its plain result and keeps the
// GBK text of its failure in LastError(), which every operation empties first.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/Bytes.h"
#include "core/Text.h"
#include "qr/LittleEndian.h"

namespace korvel {

class Bitmap {
public:
    Bitmap() = default;
    Bitmap(const Bitmap&) = delete;              // the cached row and table addresses point
    Bitmap& operator=(const Bitmap&) = delete;   // into this object's own image

    // Replaces the image with a blank one of the given size and depth; 0 x 0 is a valid
    // image without pixels. Without a fill colour the pixels are 0 (row padding is always 0).
    // Fails with "位深度无效" for a depth other than 1, 4, 8, 16, 24, 32, and with
    // "像素点坐标越界" for a negative width or height; the bitmap is then empty. An image
    // too large to hold ends the program through the allocation report.
    bool CreateBlank(int32_t width, int32_t height, int16_t bitsPerPixel, std::optional<int32_t> fill = std::nullopt);

    // Reads a BMP file; path is GBK. "无法打开指定的文件" leaves the image as it was;
    // "不被支持的位图数据或无法识别的文件格式" (anything not an uncompressed bottom-up BMP
    // whose table and rows lie inside the file) leaves the bitmap empty.
    bool LoadFile(const Text& path);

    // The complete BMP file: file header, info header as held, table, rows. Empty when the
    // bitmap is empty.
    Bytes ToBmpBytes() const;

    // The pixel's colour value; 0 (as for black) for an empty bitmap or a pixel outside the
    // image, with the failure in LastError(). An index beyond a short colour table reads 0.
    int32_t GetPixel(int32_t x, int32_t y) const {
        lastError_ = Failure::kNone;
        if (!Contains(x, y)) {
            Fail(IsEmpty() ? Failure::kNotCreated : Failure::kOutOfBounds);
            return 0;
        }
        return ReadPixel(x, y);
    }

    // The smallest x in 0..limit - 1 at which GetPixel(x, y) gives 0, counting a pixel
    // outside the image (or any pixel of an empty bitmap) as 0 like GetPixel does; limit
    // when there is none. Reads 1-bit rows a byte at a time. Leaves LastError() empty.
    int32_t FindBlackInRow(int32_t y, int32_t limit) const;

    // Stores colour's nearest table entry (indexed depths: the smallest sum of squared red,
    // green and blue differences, the lower index on a tie, so an equal entry always wins),
    // its components divided by 8 (16 bits), or its components (24, 32 bits; the spare
    // byte of 32 bits is kept).
    bool SetPixel(int32_t x, int32_t y, int32_t colour);

    struct CopyArguments {
        int32_t x = 0;                           // region's top-left pixel in this bitmap
        int32_t y = 0;
        std::optional<int32_t> width;            // not given: this bitmap's width; -1: the destination's
        std::optional<int32_t> height;           // not given: this bitmap's height; -1: the destination's
        Bitmap* destination = nullptr;           // null: this bitmap itself
        int32_t destinationX = 0;
        int32_t destinationY = 0;
        std::optional<int32_t> transparent;      // pixels of this colour are not copied
    };
    // Copies the region pixel by pixel through the colour values (columns outer, rows
    // inner); between two different 1-bit images without a transparent colour whole bytes
    // go across, with the same result. Fails with "位图尚未创建，没有可用数据" when either bitmap is empty and with
    // "像素点坐标越界" when the region does not lie inside both; nothing is copied then.
    bool CopyRegion(const CopyArguments& arguments);

    const Text& LastError() const;

    bool IsEmpty() const { return image_.empty(); }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t BitsPerPixel() const { return static_cast<int32_t>(bitsPerPixel_); }

private:
    enum class Failure { kNone, kInvalidDepth, kCannotOpen, kUnsupportedFile, kNotCreated, kOutOfBounds };

    bool Fail(Failure failure) const;
    void Release();
    // Allocates a zeroed image of that many bytes; ends the program when it cannot be held.
    void Allocate(int64_t imageBytes);
    // Recomputes the cached geometry and table after the image changed.
    void CacheLayout();
    bool Contains(int32_t x, int32_t y) const {
        return static_cast<uint32_t>(x) < static_cast<uint32_t>(width_) &&
               static_cast<uint32_t>(y) < static_cast<uint32_t>(height_);
    }
    const uint8_t* RowAddress(int32_t y) const { return rows_ + (static_cast<int64_t>(height_) - 1 - y) * stride_; }
    uint8_t* RowAddress(int32_t y) { return rows_ + (static_cast<int64_t>(height_) - 1 - y) * stride_; }

    // Unchecked pixel access: the caller has checked that the image holds (x, y). Reads are
    // inline because a symbol search reads tens of thousands of pixels per image.
    int32_t ReadPixel(int32_t x, int32_t y) const {
        const uint8_t* row = RowAddress(y);
        const int64_t column = x;
        switch (bitsPerPixel_) {
            case 1: return palette_[(row[column >> 3] >> (7 - (column & 7))) & 0x01];
            case 4: return palette_[(row[column >> 1] >> ((column & 1) ? 0 : 4)) & 0x0F];
            case 8: return palette_[row[column]];
            case 16: {
                const uint16_t word = LoadLe16(row + 2 * column);
                return ((word >> 10) & 0x1F) * 8 | (((word >> 5) & 0x1F) * 8) << 8 | ((word & 0x1F) * 8) << 16;
            }
            default: {   // 24 and 32 bits: blue, green, red
                const uint8_t* pixel = row + (bitsPerPixel_ / 8) * column;
                return pixel[2] | (pixel[1] << 8) | (pixel[0] << 16);
            }
        }
    }
    void WritePixel(int32_t x, int32_t y, int32_t colour);
    uint32_t NearestIndex(int32_t colour);
    int32_t FindBlackInOneBitRow(int32_t y, int32_t end) const;
    bool CopyOneBitRows(const CopyArguments& arguments, Bitmap& destination, int32_t width, int32_t height);

    std::vector<uint8_t> image_;        // header, table, rows; empty: no image
    int32_t width_ = 0;
    int32_t height_ = 0;
    uint32_t bitsPerPixel_ = 0;
    int64_t stride_ = 0;                // bytes per row
    uint8_t* rows_ = nullptr;           // the first stored row, the image's bottom row
    uint32_t tableEntries_ = 0;
    std::array<int32_t, 256> palette_{};  // the table as colour values; 0 past its end
    bool hasLastColour_ = false;         // the last colour matched to a table index, and that index
    int32_t lastColour_ = 0;
    uint32_t lastIndex_ = 0;
    mutable Failure lastError_ = Failure::kNone;
};

}  // namespace korvel
