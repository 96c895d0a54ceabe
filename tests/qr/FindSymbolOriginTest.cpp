// The symbol's origin is searched row by row with whole bytes of 1-bit rows; it must be
// exactly the pixel the plain column-by-column scan through GetPixel finds.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "BmpFileBuilder.h"
#include "QrTestFiles.h"
#include "qr/Bitmap.h"
#include "qr/FindSymbolOrigin.h"

namespace korvel {
namespace {

using namespace testing_support;

struct Origin {
    int32_t x = -7;   // -7: left unchanged
    int32_t y = -7;
    friend bool operator==(const Origin&, const Origin&) = default;
};

// The rule as written: columns 0..399 from the left, each from the top; dark is exactly 0.
Origin ColumnScan(const Bitmap& bitmap) {
    Origin origin;
    for (int32_t x = 0; x < 400; ++x)
        for (int32_t y = 0; y < 400; ++y)
            if (bitmap.GetPixel(x, y) == 0) return {x, y};
    return origin;
}

Origin Found(const Bitmap& bitmap) {
    Origin origin;
    FindSymbolOrigin(bitmap, &origin.x, &origin.y);
    return origin;
}

class SymbolOrigin : public testing::Test {
protected:
    int32_t Below(int32_t limit) { return static_cast<int32_t>(random_() % static_cast<uint32_t>(limit)); }

    // A mostly light 1-bit picture with a few dark pixels, random padding bits, chosen table.
    void LoadOneBit(Bitmap& bitmap, int32_t width, int32_t height, std::vector<uint32_t> table, uint8_t light) {
        const int32_t stride = (width + 31) / 32 * 4;
        std::vector<uint8_t> rows(static_cast<size_t>(stride * height), light);
        for (int32_t y = 0; y < height; ++y) {   // the bits past the last pixel: anything
            for (int32_t x = width; x < stride * 8; ++x) {
                if (random_() % 2) rows[static_cast<size_t>(y * stride + x / 8)] ^= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        for (int dots = Below(4); dots > 0; --dots) {
            const int32_t x = Below(width), y = Below(height);
            rows[static_cast<size_t>(y * stride + x / 8)] ^= static_cast<uint8_t>(0x80 >> (x % 8));
        }
        const uint32_t entries = static_cast<uint32_t>(table.size());
        WriteFile(folder_.path() / "picture.bmp",
                  Bmp().Size(width, height).Depth(1).ColoursUsed(entries).Table(std::move(table)).Pixels(rows).Build());
        ASSERT_TRUE(bitmap.LoadFile(GbkPath(folder_.path() / "picture.bmp")));
    }

    TempFolder folder_;
    std::mt19937 random_{4242};
};

TEST_F(SymbolOrigin, OneBitPicturesGiveTheColumnScansPixel) {
    struct Tables {
        const char* name;
        std::vector<uint32_t> table;
        uint8_t light;   // a row byte of eight light pixels
    };
    const Tables tables[] = {
        {"entry 0 black", {0x000000, 0xFFFFFF}, 0xFF},
        {"entry 1 black", {0xFFFFFF, 0x000000}, 0x00},
        {"no black entry", {0xFFFFFF, 0x808080}, 0x00},
        {"both entries black", {0x000000, 0x000000}, 0x00},
        {"one entry: index 1 reads black", {0xFFFFFF}, 0x00},
    };
    for (const Tables& t : tables) {
        SCOPED_TRACE(t.name);
        for (int trial = 0; trial < 80; ++trial) {
            const int32_t width = 1 + Below(460), height = 1 + Below(460);
            SCOPED_TRACE(testing::Message() << width << " x " << height);
            Bitmap bitmap;
            LoadOneBit(bitmap, width, height, t.table, t.light);
            ASSERT_EQ(Found(bitmap), ColumnScan(bitmap));
        }
    }
}

TEST_F(SymbolOrigin, OtherDepthsAndEmptyBitmapsGiveTheColumnScansPixel) {
    Bitmap empty;
    EXPECT_EQ(Found(empty), (Origin{0, 0}));
    for (int16_t depth : {int16_t{4}, int16_t{8}, int16_t{24}}) {
        for (int trial = 0; trial < 30; ++trial) {
            const int32_t width = 1 + Below(430), height = 1 + Below(430);
            SCOPED_TRACE(testing::Message() << depth << " bits, " << width << " x " << height);
            Bitmap bitmap;
            ASSERT_TRUE(bitmap.CreateBlank(width, height, depth, kWhite));
            for (int dots = Below(4); dots > 0; --dots) bitmap.SetPixel(Below(width), Below(height), dots == 1 ? kBlack : Rgb(1, 1, 1));
            ASSERT_EQ(Found(bitmap), ColumnScan(bitmap));
        }
    }
}

}  // namespace
}  // namespace korvel
