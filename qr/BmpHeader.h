#pragma once
// The fields of a BMP file and of the device-independent bitmap a Bitmap holds, and the
// checks a file must pass before any of its sizes or offsets is trusted.
#include <cstdint>
#include <optional>
#include <span>

namespace korvel {

inline constexpr uint32_t kFileHeaderSize = 14;
inline constexpr uint32_t kInfoHeaderSize = 40;
inline constexpr uint32_t kCoreHeaderSize = 12;   // the old header: 16-bit width and height

// The 40-byte info header, field by field, as it is held and exported.
struct InfoHeader {
    uint32_t headerSize = kInfoHeaderSize;
    int32_t width = 0;
    int32_t height = 0;            // positive: rows stored bottom row first
    uint16_t planes = 1;
    uint16_t bitsPerPixel = 0;     // 1, 4, 8, 16, 24 or 32
    uint32_t compression = 0;      // 0: none
    uint32_t imageSize = 0;
    int32_t horizontalResolution = 0;
    int32_t verticalResolution = 0;
    uint32_t coloursUsed = 0;      // 0: the full table of the depth
    uint32_t importantColours = 0;
};

InfoHeader ReadInfoHeader(const uint8_t* at);      // 40 bytes must follow `at`
void WriteInfoHeader(const InfoHeader& header, uint8_t* at);

bool IsSupportedDepth(uint32_t bitsPerPixel);

// Entries of the colour table: the full table (2, 16 or 256) for 1, 4 and 8 bits unless
// coloursUsed names fewer or more, none for 16, 24 and 32 bits.
uint32_t ColourTableEntries(uint32_t bitsPerPixel, uint32_t coloursUsed);

// Bytes of one pixel row, padded to a multiple of 4. Width 0 gives 0; width must not be
// negative. 64-bit: no width and depth overflow it.
int64_t RowStride(int32_t width, uint32_t bitsPerPixel);

// Where the parts of an accepted BMP file lie. Every range lies inside the file.
struct BmpFileLayout {
    InfoHeader header;              // widened to 40 bytes for a core header
    uint64_t tableOffset = 0;       // 54 after an info header, 26 after a core header
    uint32_t tableEntrySize = 4;    // 4 after an info header, 3 (blue, green, red) after a core header
    uint32_t tableEntries = 0;
    uint64_t pixelOffset = 0;
    uint64_t pixelBytes = 0;        // height full rows; the file holds at least these
};

// Checks a whole BMP file held in memory. Empty when the file is not one a Bitmap can hold
// safely: too short, not "BM", a declared size beyond the file, an unknown header size or
// depth, compression, a colour table or pixel rows that run past the end, more table
// entries than the depth can index, planes other than 1, or a negative width or height.
std::optional<BmpFileLayout> ParseBmpFile(std::span<const uint8_t> file);

}  // namespace korvel
