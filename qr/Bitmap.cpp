#include "qr/Bitmap.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <new>

#include "core/CodePage.h"
#include "core/FatalError.h"
#include "qr/BitRun.h"
#include "qr/BmpHeader.h"
#include "qr/DefaultColourTables.h"
#include "qr/LittleEndian.h"
#include "qr/WholeFile.h"

namespace korvel {
namespace {

// The largest image held: its BMP file must still fit a Bytes value.
constexpr int64_t kLargestImage = std::numeric_limits<int32_t>::max() - int64_t{kFileHeaderSize};

int32_t Red(int32_t colour) { return colour & 0xFF; }
int32_t Green(int32_t colour) { return (colour >> 8) & 0xFF; }
int32_t Blue(int32_t colour) { return (colour >> 16) & 0xFF; }
int32_t ColourValue(int32_t red, int32_t green, int32_t blue) { return red | (green << 8) | (blue << 16); }

// Nearness of two colours: the squared distance of their red, green and blue components,
// each weighted alike. 0 only for equal components.
int32_t Distance(int32_t a, int32_t b) {
    const int32_t red = Red(a) - Red(b);
    const int32_t green = Green(a) - Green(b);
    const int32_t blue = Blue(a) - Blue(b);
    return red * red + green * green + blue * blue;
}

bool GivenColour(const std::optional<int32_t>& colour) { return colour.has_value() && *colour != -1; }

// The region's rectangle lies inside a width x height image; 64-bit, so no sum overflows.
bool RegionInside(int64_t x, int64_t y, int64_t width, int64_t height, int32_t imageWidth, int32_t imageHeight) {
    return width >= 0 && height >= 0 && x >= 0 && y >= 0 && x + width <= imageWidth && y + height <= imageHeight;
}

}  // namespace

const Text& Bitmap::LastError() const {
    static const Text kNoFailure;
    switch (lastError_) {
        case Failure::kNone:
            return kNoFailure;
        case Failure::kInvalidDepth: {
            static const Text text = "位深度无效"_gbk;
            return text;
        }
        case Failure::kCannotOpen: {
            static const Text text = "无法打开指定的文件"_gbk;
            return text;
        }
        case Failure::kUnsupportedFile: {
            static const Text text = "不被支持的位图数据或无法识别的文件格式"_gbk;
            return text;
        }
        case Failure::kNotCreated: {
            static const Text text = "位图尚未创建，没有可用数据"_gbk;
            return text;
        }
        case Failure::kOutOfBounds: {
            static const Text text = "像素点坐标越界"_gbk;
            return text;
        }
    }
    return kNoFailure;
}

bool Bitmap::Fail(Failure failure) const {
    lastError_ = failure;
    return false;
}

void Bitmap::Release() {
    std::vector<uint8_t>().swap(image_);
    CacheLayout();
}

void Bitmap::Allocate(int64_t imageBytes) {
    if (imageBytes > kLargestImage) ReportAllocationFailure(imageBytes);
    try {
        image_.assign(static_cast<size_t>(imageBytes), 0);
    } catch (const std::bad_alloc&) {
        ReportAllocationFailure(imageBytes);
    }
}

void Bitmap::CacheLayout() {
    hasLastColour_ = false;
    palette_.fill(0);
    if (image_.empty()) {
        width_ = height_ = 0;
        bitsPerPixel_ = tableEntries_ = 0;
        stride_ = 0;
        rows_ = nullptr;
        return;
    }
    const InfoHeader header = ReadInfoHeader(image_.data());
    width_ = header.width;
    height_ = header.height;
    bitsPerPixel_ = header.bitsPerPixel;
    stride_ = RowStride(width_, bitsPerPixel_);
    tableEntries_ = ColourTableEntries(bitsPerPixel_, header.coloursUsed);
    const uint8_t* table = image_.data() + kInfoHeaderSize;
    for (uint32_t i = 0; i < tableEntries_ && i < palette_.size(); ++i) {
        const uint8_t* entry = table + 4 * i;   // blue, green, red, 0
        palette_[i] = ColourValue(entry[2], entry[1], entry[0]);
    }
    rows_ = image_.data() + kInfoHeaderSize + 4 * int64_t{tableEntries_};
}

bool Bitmap::CreateBlank(int32_t width, int32_t height, int16_t bitsPerPixel, std::optional<int32_t> fill) {
    lastError_ = Failure::kNone;
    Release();
    if (bitsPerPixel < 0 || !IsSupportedDepth(static_cast<uint32_t>(bitsPerPixel))) return Fail(Failure::kInvalidDepth);
    if (width < 0 || height < 0) return Fail(Failure::kOutOfBounds);

    const uint32_t depth = static_cast<uint32_t>(bitsPerPixel);
    const std::span<const int32_t> table = DefaultColourTable(depth);
    const int64_t stride = RowStride(width, depth);
    const int64_t headerAndTable = kInfoHeaderSize + 4 * static_cast<int64_t>(table.size());
    if (height > 0 && stride > (kLargestImage - headerAndTable) / height) {
        ReportAllocationFailure(std::numeric_limits<int64_t>::max());
    }
    Allocate(headerAndTable + stride * height);

    InfoHeader header;
    header.width = width;
    header.height = height;
    header.bitsPerPixel = static_cast<uint16_t>(depth);
    WriteInfoHeader(header, image_.data());
    LittleEndianWriter entries(image_.data() + kInfoHeaderSize);
    for (int32_t colour : table) {
        entries.Put8(static_cast<uint8_t>(Blue(colour))).Put8(static_cast<uint8_t>(Green(colour)));
        entries.Put8(static_cast<uint8_t>(Red(colour))).Put8(0);
    }
    CacheLayout();

    if (GivenColour(fill) && width_ > 0 && height_ > 0) {
        // Every row ends up alike, so the top row is filled pixel by pixel and copied.
        for (int32_t x = 0; x < width_; ++x) WritePixel(x, 0, *fill);
        const uint8_t* filled = RowAddress(0);
        for (int32_t y = 1; y < height_; ++y) std::memcpy(RowAddress(y), filled, static_cast<size_t>(stride_));
    }
    return true;
}

bool Bitmap::LoadFile(const Text& path) {
    lastError_ = Failure::kNone;
    const WholeFile file = ReadWholeFile(path, static_cast<uint64_t>(kLargestImage));
    if (!file.opened) return Fail(Failure::kCannotOpen);
    Release();
    if (file.tooLarge) return Fail(Failure::kUnsupportedFile);
    const std::optional<BmpFileLayout> layout = ParseBmpFile(file.bytes);
    if (!layout) return Fail(Failure::kUnsupportedFile);

    const int64_t tableBytes = 4 * int64_t{layout->tableEntries};
    const int64_t imageBytes = kInfoHeaderSize + tableBytes + static_cast<int64_t>(layout->pixelBytes);
    if (imageBytes > kLargestImage) return Fail(Failure::kUnsupportedFile);
    Allocate(imageBytes);

    InfoHeader header = layout->header;
    header.headerSize = kInfoHeaderSize;
    WriteInfoHeader(header, image_.data());
    uint8_t* table = image_.data() + kInfoHeaderSize;
    for (uint32_t i = 0; i < layout->tableEntries; ++i) {
        const uint8_t* entry = file.bytes.data() + layout->tableOffset + uint64_t{layout->tableEntrySize} * i;
        std::memcpy(table + 4 * i, entry, layout->tableEntrySize);   // a core entry gets 0 as its fourth byte
    }
    if (layout->pixelBytes > 0) {
        std::memcpy(table + tableBytes, file.bytes.data() + layout->pixelOffset, layout->pixelBytes);
    }
    CacheLayout();
    return true;
}

Bytes Bitmap::ToBmpBytes() const {
    lastError_ = Failure::kNone;
    if (IsEmpty()) {
        Fail(Failure::kNotCreated);
        return Bytes();
    }
    std::vector<uint8_t> file(kFileHeaderSize + image_.size());
    LittleEndianWriter(file.data())
        .Put8('B')
        .Put8('M')
        .Put32(static_cast<uint32_t>(file.size()))                                  // file size
        .Put16(0)                                                                   // reserved
        .Put16(0)                                                                   // reserved
        .Put32(kFileHeaderSize + kInfoHeaderSize + 4 * tableEntries_);              // pixel data offset
    std::memcpy(file.data() + kFileHeaderSize, image_.data(), image_.size());
    return Bytes(std::move(file));
}

int32_t Bitmap::FindBlackInRow(int32_t y, int32_t limit) const {
    lastError_ = Failure::kNone;
    if (limit <= 0) return limit;
    if (!Contains(0, y)) return 0;
    // With limit past the width and nothing black inside, the first pixel outside the
    // image, x = width, is the answer: both cases give `end`.
    const int32_t end = std::min(limit, width_);
    if (bitsPerPixel_ == 1) return FindBlackInOneBitRow(y, end);
    for (int32_t x = 0; x < end; ++x)
        if (ReadPixel(x, y) == 0) return x;
    return end;
}

// Only the table entries decide which bit value is black, so whole bytes without such a
// bit are passed over; bits at or past `end` (row padding included) are not looked at.
int32_t Bitmap::FindBlackInOneBitRow(int32_t y, int32_t end) const {
    const bool zeroIsBlack = palette_[0] == 0;
    const bool oneIsBlack = palette_[1] == 0;
    if (!zeroIsBlack && !oneIsBlack) return end;
    if (zeroIsBlack && oneIsBlack) return 0;
    const uint8_t* row = RowAddress(y);
    const uint8_t light = zeroIsBlack ? 0xFF : 0x00;   // a byte of eight non-black pixels
    const int32_t endByte = (end + 7) / 8;
    // Light stretches, such as the quiet zone around a symbol, are passed eight bytes at a time.
    const uint64_t lightWord = zeroIsBlack ? ~uint64_t{0} : 0;
    int32_t byte = 0;
    for (uint64_t word; byte + 8 <= endByte; byte += 8) {
        std::memcpy(&word, row + byte, sizeof word);
        if (word != lightWord) break;
    }
    for (; byte < endByte; ++byte) {
        if (row[byte] == light) continue;
        const uint8_t black = static_cast<uint8_t>(row[byte] ^ light);   // set where black
        const int32_t x = byte * 8 + std::countl_zero(black);
        return std::min(x, end);
    }
    return end;
}

bool Bitmap::SetPixel(int32_t x, int32_t y, int32_t colour) {
    lastError_ = Failure::kNone;
    if (!Contains(x, y)) return Fail(IsEmpty() ? Failure::kNotCreated : Failure::kOutOfBounds);
    WritePixel(x, y, colour);
    return true;
}

void Bitmap::WritePixel(int32_t x, int32_t y, int32_t colour) {
    uint8_t* row = RowAddress(y);
    const int64_t column = x;
    switch (bitsPerPixel_) {
        case 1: {
            const uint8_t bit = static_cast<uint8_t>(0x80 >> (column & 7));
            uint8_t& byte = row[column >> 3];
            byte = static_cast<uint8_t>(NearestIndex(colour) ? (byte | bit) : (byte & ~bit));
            return;
        }
        case 4: {
            const unsigned shift = (column & 1) ? 0 : 4;
            uint8_t& byte = row[column >> 1];
            byte = static_cast<uint8_t>((byte & ~(0x0F << shift)) | (NearestIndex(colour) << shift));
            return;
        }
        case 8:
            row[column] = static_cast<uint8_t>(NearestIndex(colour));
            return;
        case 16:
            StoreLe16(row + 2 * column,
                      static_cast<uint16_t>(((Red(colour) / 8) << 10) | ((Green(colour) / 8) << 5) | (Blue(colour) / 8)));
            return;
        default: {   // 24 and 32 bits; the spare byte of 32 bits keeps its value
            uint8_t* pixel = row + (bitsPerPixel_ / 8) * column;
            pixel[0] = static_cast<uint8_t>(Blue(colour));
            pixel[1] = static_cast<uint8_t>(Green(colour));
            pixel[2] = static_cast<uint8_t>(Red(colour));
            return;
        }
    }
}

// The first table entry at the smallest distance; an equal entry has distance 0 and wins.
// The last answer is kept, since a copy or fill sends the same few colours over and over.
uint32_t Bitmap::NearestIndex(int32_t colour) {
    if (hasLastColour_ && lastColour_ == colour) return lastIndex_;
    uint32_t best = 0;
    int32_t bestDistance = std::numeric_limits<int32_t>::max();
    for (uint32_t i = 0; i < tableEntries_ && i < palette_.size(); ++i) {
        const int32_t distance = Distance(palette_[i], colour);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
            if (distance == 0) break;
        }
    }
    hasLastColour_ = true;
    lastColour_ = colour;
    lastIndex_ = best;
    return best;
}

bool Bitmap::CopyRegion(const CopyArguments& arguments) {
    lastError_ = Failure::kNone;
    Bitmap& destination = arguments.destination ? *arguments.destination : *this;
    // A size not given is this bitmap's own; -1 is the destination's.
    auto resolve = [&](std::optional<int32_t> given, int32_t own, int32_t theirs) -> std::optional<int32_t> {
        if (!given) return IsEmpty() ? std::nullopt : std::optional(own);
        if (*given == -1) return destination.IsEmpty() ? std::nullopt : std::optional(theirs);
        return given;
    };
    const std::optional<int32_t> regionWidth = resolve(arguments.width, width_, destination.width_);
    const std::optional<int32_t> regionHeight = resolve(arguments.height, height_, destination.height_);
    if (!regionWidth || !regionHeight || IsEmpty() || destination.IsEmpty()) return Fail(Failure::kNotCreated);
    const int32_t width = *regionWidth;
    const int32_t height = *regionHeight;
    if (!RegionInside(arguments.x, arguments.y, width, height, width_, height_) ||
        !RegionInside(arguments.destinationX, arguments.destinationY, width, height, destination.width_,
                      destination.height_)) {
        return Fail(Failure::kOutOfBounds);
    }
    if (width == 0 || height == 0) return true;

    const bool transparent = GivenColour(arguments.transparent);
    if (!transparent && &destination != this && bitsPerPixel_ == 1 && destination.bitsPerPixel_ == 1) {
        return CopyOneBitRows(arguments, destination, width, height);
    }
    for (int32_t i = 0; i < width; ++i) {
        for (int32_t j = 0; j < height; ++j) {
            const int32_t colour = ReadPixel(arguments.x + i, arguments.y + j);
            if (transparent && colour == *arguments.transparent) continue;
            destination.WritePixel(arguments.destinationX + i, arguments.destinationY + j, colour);
        }
    }
    return true;
}

// Between two 1-bit images each source index always lands on the same destination index,
// so whole rows go across bytewise with that mapping, exactly as pixel by pixel.
bool Bitmap::CopyOneBitRows(const CopyArguments& arguments, Bitmap& destination, int32_t width, int32_t height) {
    const uint32_t fromZero = destination.NearestIndex(palette_[0]);
    const uint32_t fromOne = destination.NearestIndex(palette_[1]);
    const BitMapping mapping = fromZero == fromOne ? (fromZero ? BitMapping::kAllOne : BitMapping::kAllZero)
                               : fromZero == 0     ? BitMapping::kKeep
                                                   : BitMapping::kInvert;
    for (int32_t j = 0; j < height; ++j) {
        CopyBitRun(RowAddress(arguments.y + j), arguments.x, destination.RowAddress(arguments.destinationY + j),
                   arguments.destinationX, width, mapping);
    }
    return true;
}

}  // namespace korvel
