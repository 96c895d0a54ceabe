#pragma once
// BMP files built field by field, so a test can state exactly which field is wrong.
#include <cstdint>
#include <optional>
#include <vector>

namespace korvel::testing_support {

struct BmpFields {
    std::optional<uint32_t> fileSize;      // not given: the real length
    std::optional<uint32_t> pixelOffset;   // not given: right after the table
    uint32_t headerSize = 40;              // 12 writes the old core header
    int32_t width = 1;
    int32_t height = 1;
    uint16_t planes = 1;
    uint16_t bitsPerPixel = 24;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
    std::vector<uint32_t> table;           // 0x00RRGGBB; written blue, green, red (, 0)
    std::vector<uint8_t> pixels;           // the rows as stored
};

inline std::vector<uint8_t> BuildBmp(const BmpFields& fields);

// Sets the fields one by one: Bmp().Size(4, 2).Depth(8).Build().
class Bmp {
public:
    Bmp& FileSize(uint32_t value) { fields_.fileSize = value; return *this; }
    Bmp& PixelOffset(uint32_t value) { fields_.pixelOffset = value; return *this; }
    Bmp& HeaderSize(uint32_t value) { fields_.headerSize = value; return *this; }
    Bmp& Size(int32_t width, int32_t height) { fields_.width = width; fields_.height = height; return *this; }
    Bmp& Planes(uint16_t value) { fields_.planes = value; return *this; }
    Bmp& Depth(uint16_t value) { fields_.bitsPerPixel = value; return *this; }
    Bmp& Compression(uint32_t value) { fields_.compression = value; return *this; }
    Bmp& ColoursUsed(uint32_t value) { fields_.coloursUsed = value; return *this; }
    Bmp& Table(std::vector<uint32_t> value) { fields_.table = std::move(value); return *this; }
    Bmp& Pixels(std::vector<uint8_t> value) { fields_.pixels = std::move(value); return *this; }
    std::vector<uint8_t> Build() const { return BuildBmp(fields_); }

private:
    BmpFields fields_;
};

inline void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

inline std::vector<uint8_t> BuildBmp(const BmpFields& fields) {
    const bool core = fields.headerSize == 12;
    const uint32_t entrySize = core ? 3 : 4;
    const uint32_t tableEnd = 14 + fields.headerSize + entrySize * static_cast<uint32_t>(fields.table.size());
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 0);   // file size, patched below
    Put32(out, 0);   // two reserved fields
    Put32(out, fields.pixelOffset.value_or(tableEnd));
    Put32(out, fields.headerSize);
    if (core) {
        Put16(out, static_cast<uint32_t>(fields.width));
        Put16(out, static_cast<uint32_t>(fields.height));
        Put16(out, fields.planes);
        Put16(out, fields.bitsPerPixel);
    } else {
        Put32(out, static_cast<uint32_t>(fields.width));
        Put32(out, static_cast<uint32_t>(fields.height));
        Put16(out, fields.planes);
        Put16(out, fields.bitsPerPixel);
        Put32(out, fields.compression);
        Put32(out, 0);   // image size
        Put32(out, 0);   // horizontal resolution
        Put32(out, 0);   // vertical resolution
        Put32(out, fields.coloursUsed);
        Put32(out, 0);   // important colours
        while (out.size() < 14 + fields.headerSize) out.push_back(0);   // larger headers: zeros
    }
    for (uint32_t colour : fields.table) {
        out.push_back(static_cast<uint8_t>(colour));
        out.push_back(static_cast<uint8_t>(colour >> 8));
        out.push_back(static_cast<uint8_t>(colour >> 16));
        if (!core) out.push_back(0);
    }
    out.insert(out.end(), fields.pixels.begin(), fields.pixels.end());
    const uint32_t size = fields.fileSize.value_or(static_cast<uint32_t>(out.size()));
    for (int i = 0; i < 4; ++i) out[2 + i] = static_cast<uint8_t>(size >> (8 * i));
    return out;
}

}  // namespace korvel::testing_support
