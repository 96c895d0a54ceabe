// Bitmap::LoadFile over arbitrary file contents. Whatever it accepts must be an image
// every other operation can use without reading or writing outside it: pixels read back,
// the row search for black agrees with them, the exported BMP file loads again to the very
// same bytes, and regions copy into blank images with the colours they had.
//
// Input: the whole file. It is written to a private temporary folder for each run.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "core/Bytes.h"
#include "core/Services.h"
#include "platform/Platform.h"
#include "qr/Bitmap.h"

namespace {

using korvel::Bitmap;
using korvel::Bytes;
using korvel::Text;

std::string g_folder;
Text g_path;

void RemoveTemporaryFolder() {
    ::unlink((g_folder + "/input.bmp").c_str());
    ::rmdir(g_folder.c_str());
}

void WriteInput(const void* data, size_t size) {
    std::FILE* file = std::fopen(g_path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(size == 0 || std::fwrite(data, 1, size, file) == size);
    FUZZ_CHECK(std::fclose(file) == 0);
}

// Coordinates to look at along one side: all of a short side, both ends of a long one.
std::vector<int32_t> Samples(int32_t extent) {
    std::vector<int32_t> at;
    for (int32_t i = 0; i < extent && i < 32; ++i) at.push_back(i);
    for (int32_t i = extent > 64 ? extent - 32 : 32; i < extent; ++i) at.push_back(i);
    return at;
}

void CheckPixelsOutside(const Bitmap& image) {
    const Text outOfBounds = [] {
        Bitmap probe;
        probe.CreateBlank(1, 1, 24);
        probe.GetPixel(1, 0);
        return probe.LastError();
    }();
    const int32_t corners[][2] = {{-1, 0}, {0, -1}, {image.Width(), 0}, {0, image.Height()}};
    for (const auto& corner : corners) {
        FUZZ_CHECK(image.GetPixel(corner[0], corner[1]) == 0);
        FUZZ_CHECK(image.LastError() == outOfBounds);
    }
}

// The exported file loads again, to exactly the same export. An image without pixel rows
// exports a file with no pixel data, which loading refuses.
void CheckRoundTrip(const Bitmap& image) {
    const Bytes exported = image.ToBmpBytes();
    FUZZ_CHECK(!exported.empty() && image.LastError().empty());
    WriteInput(exported.data(), static_cast<size_t>(exported.size()));
    Bitmap again;
    const bool hasPixels = image.Width() > 0 && image.Height() > 0;
    FUZZ_CHECK(again.LoadFile(g_path) == hasPixels);
    if (!hasPixels) return;
    FUZZ_CHECK(again.ToBmpBytes() == exported);
    for (int32_t y : Samples(image.Height())) {
        for (int32_t x : Samples(image.Width())) FUZZ_CHECK(again.GetPixel(x, y) == image.GetPixel(x, y));
    }
}

// The entry a blank 1-bit image stores for a colour: black (entry 0) unless white is
// strictly nearer.
int32_t NearestOfBlackAndWhite(int32_t colour) {
    auto distance = [colour](int32_t to) {
        int32_t sum = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int32_t d = ((colour >> shift) & 0xFF) - ((to >> shift) & 0xFF);
            sum += d * d;
        }
        return sum;
    };
    return distance(0) <= distance(0xFFFFFF) ? 0 : 0xFFFFFF;
}

// FindBlackInRow against GetPixel, pixel by pixel, on rows inside and just outside.
void CheckBlackSearch(const Bitmap& image) {
    const int32_t width = image.Width() < 4096 ? image.Width() : 4096;
    const int32_t limits[] = {-1, 0, 1, 7, 8, 9, width - 1, width, width + 1};
    std::vector<int32_t> rows = Samples(image.Height());
    rows.push_back(-1);
    rows.push_back(image.Height());
    for (int32_t y : rows) {
        for (int32_t limit : limits) {
            int32_t expected = limit;
            for (int32_t x = 0; x < limit; ++x) {
                if (image.GetPixel(x, y) == 0) {
                    expected = x;
                    break;
                }
            }
            FUZZ_CHECK(image.FindBlackInRow(y, limit) == expected);
            FUZZ_CHECK(image.LastError().empty());
        }
    }
}

// The bottom-right corner of the image (at most 48 x 48) into a blank 24-bit image, which
// keeps every colour, and into 1-bit ones, which take the nearer of black and white: at
// the origin, and off byte boundaries inside a larger image whose other pixels stay white.
// With a transparent colour the pixels of that colour leave the destination as it was.
void CheckCopies(Bitmap& source) {
    const Bitmap& image = source;
    const int32_t width = image.Width() < 48 ? image.Width() : 48;
    const int32_t height = image.Height() < 48 ? image.Height() : 48;
    const int32_t left = image.Width() - width;
    const int32_t top = image.Height() - height;

    Bitmap exact, twoColour, shifted, masked;
    constexpr int32_t kBackground = 0x030201;
    constexpr int32_t kShiftX = 3, kShiftY = 1, kMargin = 11;
    FUZZ_CHECK(exact.CreateBlank(width, height, 24));
    FUZZ_CHECK(twoColour.CreateBlank(width, height, 1));
    FUZZ_CHECK(shifted.CreateBlank(width + kMargin, height + kMargin, 1, 0xFFFFFF));
    FUZZ_CHECK(masked.CreateBlank(width, height, 24, kBackground));
    const int32_t transparent = height > 0 && width > 0 ? image.GetPixel(left, top) : 0;
    FUZZ_CHECK(source.CopyRegion({.x = left, .y = top, .width = width, .height = height, .destination = &exact}));
    FUZZ_CHECK(source.CopyRegion({.x = left, .y = top, .width = -1, .height = -1, .destination = &twoColour}));
    FUZZ_CHECK(source.CopyRegion({.x = left, .y = top, .width = width, .height = height, .destination = &shifted,
                                  .destinationX = kShiftX, .destinationY = kShiftY}));
    FUZZ_CHECK(source.CopyRegion(
        {.x = left, .y = top, .width = width, .height = height, .destination = &masked, .transparent = transparent}));
    for (int32_t j = 0; j < height; ++j) {
        for (int32_t i = 0; i < width; ++i) {
            const int32_t colour = image.GetPixel(left + i, top + j);
            FUZZ_CHECK(exact.GetPixel(i, j) == colour);
            FUZZ_CHECK(twoColour.GetPixel(i, j) == NearestOfBlackAndWhite(colour));
            FUZZ_CHECK(masked.GetPixel(i, j) == (colour == transparent ? kBackground : colour));
        }
    }
    for (int32_t j = 0; j < shifted.Height(); ++j) {
        for (int32_t i = 0; i < shifted.Width(); ++i) {
            const bool inside = i >= kShiftX && i < kShiftX + width && j >= kShiftY && j < kShiftY + height;
            const int32_t expected =
                inside ? NearestOfBlackAndWhite(image.GetPixel(left + i - kShiftX, top + j - kShiftY)) : 0xFFFFFF;
            FUZZ_CHECK(shifted.GetPixel(i, j) == expected);
        }
    }
    // A region one pixel past the source fails and says so.
    FUZZ_CHECK(!source.CopyRegion({.x = left + 1, .y = top, .width = width, .height = height, .destination = &exact}) ||
               width == 0 || height == 0);
}

// TMPDIR when set; else a memory-backed folder, as every run writes a file.
std::string TemporaryBase() {
    const char* base = std::getenv("TMPDIR");
    if (base && *base) return base;
    struct stat shm {};
    return ::stat("/dev/shm", &shm) == 0 && S_ISDIR(shm.st_mode) ? "/dev/shm" : "/tmp";
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    korvel::platform::Install();
    std::string pattern = TemporaryBase() + "/korvel-fuzz-bitmap-XXXXXX";
    FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
    g_folder = pattern;
    g_path = Text(g_folder + "/input.bmp");
    std::atexit(RemoveTemporaryFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteInput(data, size);
    Bitmap image;
    if (!image.LoadFile(g_path)) {
        FUZZ_CHECK(image.IsEmpty());
        FUZZ_CHECK(!image.LastError().empty());
        FUZZ_CHECK(image.ToBmpBytes().empty());
        return 0;
    }
    FUZZ_CHECK(image.LastError().empty());
    FUZZ_CHECK(image.Width() >= 0 && image.Height() >= 0);
    for (int32_t y : Samples(image.Height())) {
        for (int32_t x : Samples(image.Width())) {
            image.GetPixel(x, y);
            FUZZ_CHECK(image.LastError().empty());
        }
    }
    CheckPixelsOutside(image);
    CheckBlackSearch(image);
    CheckCopies(image);
    CheckRoundTrip(image);
    return 0;
}
