#include "qr/BmpHeader.h"

#include "qr/LittleEndian.h"

namespace korvel {
namespace {

// Offsets within the file.
constexpr uint64_t kSignatureOffset = 0;
constexpr uint64_t kFileSizeOffset = 2;
constexpr uint64_t kPixelOffsetOffset = 10;
constexpr uint64_t kHeaderOffset = kFileHeaderSize;
constexpr uint64_t kSmallestFile = kFileHeaderSize + kInfoHeaderSize;   // 54

// The old 12-byte header, widened to the info header with the other six fields 0.
InfoHeader ReadCoreHeader(const uint8_t* at) {
    InfoHeader header;
    header.width = LoadLe16(at + 4);
    header.height = LoadLe16(at + 6);
    header.planes = LoadLe16(at + 8);
    header.bitsPerPixel = LoadLe16(at + 10);
    return header;
}

bool IsIndexedDepth(uint32_t bitsPerPixel) { return bitsPerPixel <= 8; }

}  // namespace

InfoHeader ReadInfoHeader(const uint8_t* at) {
    InfoHeader header;
    header.headerSize = LoadLe32(at + 0);
    header.width = LoadLeSigned32(at + 4);
    header.height = LoadLeSigned32(at + 8);
    header.planes = LoadLe16(at + 12);
    header.bitsPerPixel = LoadLe16(at + 14);
    header.compression = LoadLe32(at + 16);
    header.imageSize = LoadLe32(at + 20);
    header.horizontalResolution = LoadLeSigned32(at + 24);
    header.verticalResolution = LoadLeSigned32(at + 28);
    header.coloursUsed = LoadLe32(at + 32);
    header.importantColours = LoadLe32(at + 36);
    return header;
}

void WriteInfoHeader(const InfoHeader& header, uint8_t* at) {
    LittleEndianWriter(at)
        .Put32(header.headerSize)
        .PutSigned32(header.width)
        .PutSigned32(header.height)
        .Put16(header.planes)
        .Put16(header.bitsPerPixel)
        .Put32(header.compression)
        .Put32(header.imageSize)
        .PutSigned32(header.horizontalResolution)
        .PutSigned32(header.verticalResolution)
        .Put32(header.coloursUsed)
        .Put32(header.importantColours);
}

bool IsSupportedDepth(uint32_t bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1: case 4: case 8: case 16: case 24: case 32: return true;
        default: return false;
    }
}

uint32_t ColourTableEntries(uint32_t bitsPerPixel, uint32_t coloursUsed) {
    if (!IsIndexedDepth(bitsPerPixel)) return 0;
    return coloursUsed != 0 ? coloursUsed : (1u << bitsPerPixel);
}

int64_t RowStride(int32_t width, uint32_t bitsPerPixel) {
    return (static_cast<int64_t>(bitsPerPixel) * width + 31) / 32 * 4;
}

std::optional<BmpFileLayout> ParseBmpFile(std::span<const uint8_t> file) {
    const uint64_t length = file.size();
    const uint8_t* bytes = file.data();
    if (length < kSmallestFile) return std::nullopt;
    if (bytes[kSignatureOffset] != 'B' || bytes[kSignatureOffset + 1] != 'M') return std::nullopt;
    if (LoadLe32(bytes + kFileSizeOffset) > length) return std::nullopt;

    BmpFileLayout layout;
    const uint32_t headerSize = LoadLe32(bytes + kHeaderOffset);
    if (headerSize == kInfoHeaderSize) {
        layout.header = ReadInfoHeader(bytes + kHeaderOffset);
        layout.tableEntrySize = 4;
    } else if (headerSize == kCoreHeaderSize) {
        layout.header = ReadCoreHeader(bytes + kHeaderOffset);
        layout.tableEntrySize = 3;
    } else {
        return std::nullopt;
    }
    const InfoHeader& header = layout.header;
    if (!IsSupportedDepth(header.bitsPerPixel)) return std::nullopt;

    // The table: the file's own size rule, then the table's bytes really present, and no
    // more entries than the depth can index (a larger table could never be reached).
    layout.tableEntries = ColourTableEntries(header.bitsPerPixel, header.coloursUsed);
    layout.tableOffset = kHeaderOffset + headerSize;
    if (length < headerSize + 4ull * layout.tableEntries + 10) return std::nullopt;
    if (layout.tableOffset + uint64_t{layout.tableEntrySize} * layout.tableEntries > length) return std::nullopt;
    if (IsIndexedDepth(header.bitsPerPixel) && layout.tableEntries > (1u << header.bitsPerPixel)) return std::nullopt;

    layout.pixelOffset = LoadLe32(bytes + kPixelOffsetOffset);
    if (layout.pixelOffset >= length) return std::nullopt;
    if (header.compression != 0) return std::nullopt;

    // Geometry: rows stored top first (negative height) are not taken; every row the
    // header promises must be present, checked by division so no product can overflow.
    if (header.planes != 1) return std::nullopt;
    if (header.width < 0 || header.height < 0) return std::nullopt;
    const uint64_t stride = static_cast<uint64_t>(RowStride(header.width, header.bitsPerPixel));
    const uint64_t available = length - layout.pixelOffset;
    if (stride != 0 && static_cast<uint64_t>(header.height) > available / stride) return std::nullopt;
    layout.pixelBytes = stride * static_cast<uint64_t>(header.height);
    return layout;
}

}  // namespace korvel
