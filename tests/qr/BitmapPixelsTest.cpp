// Blank images, pixel reads and writes at every depth, and the failures of each.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "QrTestFiles.h"
#include "qr/Bitmap.h"

namespace korvel {
namespace {

using namespace testing_support;

uint32_t FieldAt(const Bytes& bytes, int32_t offset) {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);   // the build machine is little-endian
    return value;
}

TEST(BitmapEmpty, EveryOperationFailsWithNotCreated) {
    Bitmap bitmap;
    EXPECT_TRUE(bitmap.LastError().empty());
    EXPECT_EQ(bitmap.GetPixel(0, 0), 0);
    EXPECT_EQ(bitmap.LastError(), NotCreatedText());
    EXPECT_FALSE(bitmap.SetPixel(0, 0, kWhite));
    EXPECT_EQ(bitmap.LastError(), NotCreatedText());
    EXPECT_TRUE(bitmap.ToBmpBytes().empty());
    EXPECT_EQ(bitmap.LastError(), NotCreatedText());
    EXPECT_FALSE(bitmap.CopyRegion({}));
    EXPECT_EQ(bitmap.LastError(), NotCreatedText());
}

TEST(BitmapPixels, ReadsOutsideTheImageGiveBlackAndTheBoundsText) {
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBlank(400, 400, 1, kWhite));
    struct Case {
        int32_t x, y;
    };
    const Case cases[] = {{400, 0}, {-1, 5}, {0, 400}, {0, -1}, {std::numeric_limits<int32_t>::min(), 0},
                          {std::numeric_limits<int32_t>::max(), 399}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ")");
        EXPECT_EQ(bitmap.GetPixel(c.x, c.y), 0);
        EXPECT_EQ(bitmap.LastError(), OutOfBoundsText());
        EXPECT_FALSE(bitmap.SetPixel(c.x, c.y, kBlack));
        EXPECT_EQ(bitmap.LastError(), OutOfBoundsText());
    }
    EXPECT_EQ(bitmap.GetPixel(399, 399), kWhite);
    EXPECT_TRUE(bitmap.LastError().empty());
}

TEST(BitmapBlank, ZeroByZeroExportsHeaderAndTableOnly) {
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBlank(0, 0, 1, kBlack));
    const Bytes bytes = bitmap.ToBmpBytes();
    ASSERT_EQ(bytes.size(), 62);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(FieldAt(bytes, 2), 62u);    // file size
    EXPECT_EQ(FieldAt(bytes, 10), 62u);   // pixel data offset
    EXPECT_EQ(FieldAt(bytes, 14), 40u);   // header size
    EXPECT_EQ(FieldAt(bytes, 18), 0u);    // width
    EXPECT_EQ(FieldAt(bytes, 22), 0u);    // height
    EXPECT_EQ(FieldAt(bytes, 26), 1u | (1u << 16));   // planes 1, 1 bit per pixel
    for (int32_t offset = 30; offset < 54; offset += 4) EXPECT_EQ(FieldAt(bytes, offset), 0u) << offset;
    EXPECT_EQ(FieldAt(bytes, 54), 0x00000000u);   // black
    EXPECT_EQ(FieldAt(bytes, 58), 0x00FFFFFFu);   // white
}

TEST(BitmapBlank, BlackSquareOf399HasRowsOf52Bytes) {
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBlank(399, 399, 1, kBlack));
    for (int32_t x = 0; x < 399; ++x)
        for (int32_t y = 0; y < 399; ++y) ASSERT_EQ(bitmap.GetPixel(x, y), kBlack) << x << "," << y;
    const Bytes bytes = bitmap.ToBmpBytes();
    ASSERT_EQ(bytes.size(), 62 + 52 * 399);
    EXPECT_EQ(FieldAt(bytes, 2), uint32_t(62 + 52 * 399));
    for (int32_t i = 62; i < bytes.size(); ++i) ASSERT_EQ(bytes[i], 0) << i;
}

TEST(BitmapBlank, RowPaddingStaysZeroAfterAFill) {
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBlank(13, 2, 1, kWhite));
    const Bytes bytes = bitmap.ToBmpBytes();
    ASSERT_EQ(bytes.size(), 62 + 2 * 4);
    const std::vector<uint8_t> rows(bytes.vector().begin() + 62, bytes.vector().end());
    EXPECT_EQ(rows, (std::vector<uint8_t>{0xFF, 0xF8, 0, 0, 0xFF, 0xF8, 0, 0}));

    ASSERT_TRUE(bitmap.CreateBlank(1, 1, 24, kWhite));
    const Bytes wide = bitmap.ToBmpBytes();
    ASSERT_EQ(wide.size(), 54 + 4);
    EXPECT_EQ(FieldAt(wide, 54), 0x00FFFFFFu);
}

TEST(BitmapBlank, UnsupportedDepthFailsAndLeavesTheBitmapEmpty) {
    for (int16_t depth : {int16_t{2}, int16_t{0}, int16_t{3}, int16_t{64}, int16_t{-1}}) {
        SCOPED_TRACE(depth);
        Bitmap bitmap;
        ASSERT_TRUE(bitmap.CreateBlank(4, 4, 24, kWhite));
        EXPECT_FALSE(bitmap.CreateBlank(10, 10, depth, kBlack));
        EXPECT_EQ(bitmap.LastError(), InvalidDepthText());
        EXPECT_TRUE(bitmap.IsEmpty());
        EXPECT_EQ(bitmap.GetPixel(0, 0), 0);
        EXPECT_EQ(bitmap.LastError(), NotCreatedText());
    }
}

TEST(BitmapBlank, NegativeSizeFailsWithTheBoundsText) {
    Bitmap bitmap;
    EXPECT_FALSE(bitmap.CreateBlank(-1, 5, 1, kBlack));
    EXPECT_EQ(bitmap.LastError(), OutOfBoundsText());
    EXPECT_FALSE(bitmap.CreateBlank(5, -1, 1, kBlack));
    EXPECT_TRUE(bitmap.IsEmpty());
}

// A fill reads back as the colour the depth can hold: the nearest entry of the blank
// table for indexed depths, components cut to multiples of 8 for 16 bits.
TEST(BitmapBlank, FillReadsBackAtEveryDepth) {
    struct Case {
        const char* name;
        int16_t depth;
        int32_t fill;
        int32_t expected;
    };
    const Case cases[] = {
        {"1 bit black", 1, kBlack, kBlack},
        {"1 bit white", 1, kWhite, kWhite},
        {"1 bit red is nearer black", 1, Rgb(255, 0, 0), kBlack},
        {"1 bit light grey is nearer white", 1, Rgb(200, 200, 200), kWhite},
        {"4 bits white", 4, kWhite, kWhite},
        {"4 bits dark red is in the table", 4, Rgb(128, 0, 0), Rgb(128, 0, 0)},
        {"4 bits almost red", 4, Rgb(250, 5, 5), Rgb(255, 0, 0)},
        {"8 bits cube colour", 8, Rgb(51, 102, 153), Rgb(51, 102, 153)},
        {"8 bits almost black grey", 8, Rgb(9, 9, 9), Rgb(8, 8, 8)},
        {"16 bits cut to multiples of 8", 16, Rgb(200, 100, 7), Rgb(200, 96, 0)},
        {"16 bits white", 16, kWhite, Rgb(248, 248, 248)},
        {"24 bits", 24, Rgb(1, 2, 3), Rgb(1, 2, 3)},
        {"32 bits", 32, Rgb(254, 127, 9), Rgb(254, 127, 9)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bitmap bitmap;
        ASSERT_TRUE(bitmap.CreateBlank(13, 5, c.depth, c.fill));
        EXPECT_EQ(bitmap.BitsPerPixel(), c.depth);
        for (int32_t x = 0; x < 13; ++x)
            for (int32_t y = 0; y < 5; ++y) ASSERT_EQ(bitmap.GetPixel(x, y), c.expected) << x << "," << y;
        EXPECT_TRUE(bitmap.LastError().empty());
    }
}

// Colours each depth holds exactly, so a pattern of them reads back unchanged.
std::vector<int32_t> ExactColours(int16_t depth) {
    switch (depth) {
        case 1: return {kBlack, kWhite};
        case 4: return {kBlack, kWhite, Rgb(255, 0, 0), Rgb(0, 0, 255), Rgb(0, 128, 128)};
        case 8: return {kBlack, kWhite, Rgb(255, 0, 0), Rgb(51, 102, 153), Rgb(8, 8, 8)};
        case 16: return {kBlack, Rgb(8, 16, 24), Rgb(248, 0, 128), Rgb(248, 248, 248)};
        default: return {kBlack, kWhite, Rgb(1, 2, 3), Rgb(200, 100, 7), Rgb(0, 0, 255)};
    }
}

int32_t PatternColour(const std::vector<int32_t>& colours, int32_t x, int32_t y) {
    return colours[static_cast<size_t>(x * 7 + y * 3 + x * y) % colours.size()];
}

TEST(BitmapPixels, PatternReadsBackAtEveryDepth) {
    for (int16_t depth : {int16_t{1}, int16_t{4}, int16_t{8}, int16_t{16}, int16_t{24}, int16_t{32}}) {
        SCOPED_TRACE(depth);
        const std::vector<int32_t> colours = ExactColours(depth);
        Bitmap bitmap;
        ASSERT_TRUE(bitmap.CreateBlank(11, 7, depth, kBlack));
        for (int32_t x = 0; x < 11; ++x)
            for (int32_t y = 0; y < 7; ++y) ASSERT_TRUE(bitmap.SetPixel(x, y, PatternColour(colours, x, y)));
        for (int32_t x = 0; x < 11; ++x)
            for (int32_t y = 0; y < 7; ++y) EXPECT_EQ(bitmap.GetPixel(x, y), PatternColour(colours, x, y)) << x << "," << y;
    }
}

// The top row is stored last, the leftmost pixel in the most significant bit; white
// stores table index 1 and black index 0.
TEST(BitmapPixels, OneBitLayoutPutsTheTopLeftPixelInTheLastRowsHighBit) {
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBlank(9, 2, 1, kBlack));
    ASSERT_TRUE(bitmap.SetPixel(0, 0, kWhite));
    ASSERT_TRUE(bitmap.SetPixel(8, 1, kWhite));
    const Bytes bytes = bitmap.ToBmpBytes();
    ASSERT_EQ(bytes.size(), 62 + 2 * 4);
    const std::vector<uint8_t> rows(bytes.vector().begin() + 62, bytes.vector().end());
    EXPECT_EQ(rows, (std::vector<uint8_t>{0x00, 0x80, 0, 0, 0x80, 0x00, 0, 0}));
}

}  // namespace
}  // namespace korvel
