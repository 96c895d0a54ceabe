#include "encoder/MonochromeBmp.h"

namespace korvel::encoder {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kColourTableSize = 2 * 4;
constexpr uint32_t kPixelDataOffset = kFileHeaderSize + kInfoHeaderSize + kColourTableSize;  // 62

class LittleEndianWriter {
public:
    explicit LittleEndianWriter(std::vector<uint8_t>& out) : out_(out) {}
    void U8(uint8_t value) { out_.push_back(value); }
    void U16(uint16_t value) {
        U8(static_cast<uint8_t>(value));
        U8(static_cast<uint8_t>(value >> 8));
    }
    void U32(uint32_t value) {
        U16(static_cast<uint16_t>(value));
        U16(static_cast<uint16_t>(value >> 16));
    }

private:
    std::vector<uint8_t>& out_;
};

uint32_t RowBytes(int32_t width) { return ((static_cast<uint32_t>(width) + 31) / 32) * 4; }

void WriteColour(LittleEndianWriter& out, Rgb colour) {
    out.U8(colour.blue);
    out.U8(colour.green);
    out.U8(colour.red);
    out.U8(0);
}

}  // namespace

std::vector<uint8_t> MonochromeBmp(const TwoColourPicture& picture, Rgb bar, Rgb background) {
    const uint32_t rowBytes = RowBytes(picture.Width());
    const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(picture.Height());
    std::vector<uint8_t> file;
    file.reserve(kPixelDataOffset + pixelBytes);
    LittleEndianWriter out(file);

    out.U8('B');
    out.U8('M');
    out.U32(kPixelDataOffset + pixelBytes);  // file size
    out.U16(0);                              // reserved
    out.U16(0);                              // reserved
    out.U32(kPixelDataOffset);               // pixel data offset

    out.U32(kInfoHeaderSize);                           // header size
    out.U32(static_cast<uint32_t>(picture.Width()));    // width
    out.U32(static_cast<uint32_t>(picture.Height()));   // height, positive: bottom row first
    out.U16(1);                                         // planes
    out.U16(1);                                         // bits per pixel
    out.U32(0);                                         // compression: none
    out.U32(pixelBytes);                                // image size
    out.U32(3780);                                      // horizontal pixels per metre (96 dpi)
    out.U32(3780);                                      // vertical pixels per metre
    out.U32(2);                                         // colours used
    out.U32(0);                                         // important colours: all

    WriteColour(out, bar);
    WriteColour(out, background);

    // The picture's rows are packed already with 1 for bar; the file wants 0 for bar (table
    // entry 0), so each byte is inverted. Bits past the width and the padding stay 1, the
    // background.
    const auto packedBytes = static_cast<std::size_t>(picture.RowBytes());
    const std::size_t pixelStart = file.size();
    file.resize(pixelStart + pixelBytes, 0xFF);
    uint8_t* row = file.data() + pixelStart;
    for (int32_t y = picture.Height() - 1; y >= 0; --y, row += rowBytes) {
        const uint8_t* bars = picture.Row(y);
        for (std::size_t k = 0; k < packedBytes; ++k) row[k] = static_cast<uint8_t>(~bars[k]);
    }
    return file;
}

}  // namespace korvel::encoder
