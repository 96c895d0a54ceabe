// Loading BMP files: what is accepted and read back, and a corpus of hostile files that
// must all fail cleanly.
#include <gtest/gtest.h>
#include <unistd.h>

#include <limits>
#include <vector>

#include "BmpFileBuilder.h"
#include "QrTestFiles.h"
#include "qr/Bitmap.h"

namespace korvel {
namespace {

using namespace testing_support;

class BitmapFile : public testing::Test {
protected:
    Text Write(const char* name, const std::vector<uint8_t>& bytes) {
        WriteFile(folder_.path() / name, bytes);
        return GbkPath(folder_.path() / name);
    }
    Text PathOf(const char* name) const { return GbkPath(folder_.path() / name); }

    TempFolder folder_;
};

std::vector<uint8_t> AsVector(const Bytes& bytes) { return bytes.vector(); }

TEST_F(BitmapFile, EveryDepthRoundTripsThroughAFile) {
    for (int16_t depth : {int16_t{1}, int16_t{4}, int16_t{8}, int16_t{16}, int16_t{24}, int16_t{32}}) {
        SCOPED_TRACE(depth);
        Bitmap original;
        ASSERT_TRUE(original.CreateBlank(37, 5, depth, kWhite));
        for (int32_t x = 0; x < 37; ++x)
            for (int32_t y = 0; y < 5; ++y)
                if ((x + 2 * y) % 3 == 0) original.SetPixel(x, y, Rgb(255, 0, 0));
        const Bytes exported = original.ToBmpBytes();
        Bitmap loaded;
        ASSERT_TRUE(loaded.LoadFile(Write("round.bmp", exported.vector())));
        EXPECT_TRUE(loaded.LastError().empty());
        for (int32_t x = 0; x < 37; ++x)
            for (int32_t y = 0; y < 5; ++y) ASSERT_EQ(loaded.GetPixel(x, y), original.GetPixel(x, y)) << x << "," << y;
        EXPECT_EQ(loaded.ToBmpBytes(), exported);
    }
}

TEST_F(BitmapFile, TwentyFourBitComponentsReadAsColourValues) {
    // One row of three pixels, stored blue, green, red, then 3 bytes of padding.
    const Text path = Write("three.bmp", Bmp().Size(3, 1).Depth(24).Pixels(std::vector<uint8_t>{0, 0, 0, 255, 255, 255, 0, 0, 255, 0, 0, 0}).Build());
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.LoadFile(path));
    EXPECT_EQ(bitmap.GetPixel(0, 0), 0);
    EXPECT_EQ(bitmap.GetPixel(1, 0), 16777215);
    EXPECT_EQ(bitmap.GetPixel(2, 0), 255);
}

TEST_F(BitmapFile, RowsAreStoredBottomFirst) {
    // 1-bit, 2 x 2, table black then white; stored rows: bottom 01, top 10.
    const Text path = Write("rows.bmp", Bmp().Size(2, 2).Depth(1).Table(std::vector<uint32_t>{0x000000, 0xFFFFFF}).Pixels(std::vector<uint8_t>{0x40, 0, 0, 0, 0x80, 0, 0, 0}).Build());
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.LoadFile(path));
    EXPECT_EQ(bitmap.GetPixel(0, 0), kWhite);
    EXPECT_EQ(bitmap.GetPixel(1, 0), kBlack);
    EXPECT_EQ(bitmap.GetPixel(0, 1), kBlack);
    EXPECT_EQ(bitmap.GetPixel(1, 1), kWhite);
}

TEST_F(BitmapFile, CoreHeaderIsWidenedWithItsThreeByteTable) {
    // 3 x 6 at 1 bit; the top row differs so the row order shows. The file is 14 + 12 +
    // 6 + 24 = 56 bytes, above the 54 every file needs.
    std::vector<uint8_t> rows(24, 0);
    rows[20] = 0xA0;
    const std::vector<uint32_t> table = {0x102030, 0xFFFFFF};
    const Text path = Write("core.bmp", Bmp().HeaderSize(12).Size(3, 6).Depth(1).Table(table).Pixels(rows).Build());
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.LoadFile(path));
    EXPECT_EQ(bitmap.GetPixel(0, 0), kWhite);
    EXPECT_EQ(bitmap.GetPixel(1, 0), Rgb(0x10, 0x20, 0x30));
    EXPECT_EQ(bitmap.GetPixel(2, 0), kWhite);
    EXPECT_EQ(bitmap.GetPixel(0, 5), Rgb(0x10, 0x20, 0x30));
    // Exported with a 40-byte header (other six fields 0) and 4-byte table entries.
    EXPECT_EQ(AsVector(bitmap.ToBmpBytes()), Bmp().Size(3, 6).Depth(1).Table(table).Pixels(rows).Build());
}

TEST_F(BitmapFile, ThirtyTwoBitWriteKeepsTheSpareByte) {
    const Text path = Write("spare.bmp", Bmp().Size(1, 1).Depth(32).Pixels(std::vector<uint8_t>{1, 2, 3, 0xAB}).Build());
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.LoadFile(path));
    EXPECT_EQ(bitmap.GetPixel(0, 0), Rgb(3, 2, 1));
    ASSERT_TRUE(bitmap.SetPixel(0, 0, Rgb(9, 8, 7)));
    const Bytes bytes = bitmap.ToBmpBytes();
    ASSERT_EQ(bytes.size(), 58);
    EXPECT_EQ(std::vector<uint8_t>(bytes.vector().begin() + 54, bytes.vector().end()), (std::vector<uint8_t>{7, 8, 9, 0xAB}));
}

// A short table may leave pixel indices without an entry: they read as black and never
// reach past the table.
TEST_F(BitmapFile, IndexBeyondAShortTableReadsBlack) {
    const Text path = Write("short-table.bmp", Bmp().Size(2, 1).Depth(8).ColoursUsed(1).Table(std::vector<uint32_t>{0xFFFFFF}).Pixels(std::vector<uint8_t>{0, 200, 0, 0}).Build());
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.LoadFile(path));
    EXPECT_EQ(bitmap.GetPixel(0, 0), kWhite);
    EXPECT_EQ(bitmap.GetPixel(1, 0), kBlack);
    EXPECT_TRUE(bitmap.LastError().empty());
    EXPECT_EQ(bitmap.ToBmpBytes().size(), 54 + 4 + 4);
}

TEST_F(BitmapFile, ImageWithoutColumnsLoadsButHoldsNoPixel) {
    const Text path = Write("no-columns.bmp", Bmp().Size(0, 5).Depth(24).Pixels(std::vector<uint8_t>{0}).Build());
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.LoadFile(path));
    EXPECT_EQ(bitmap.GetPixel(0, 0), 0);
    EXPECT_EQ(bitmap.LastError(), OutOfBoundsText());
}

TEST_F(BitmapFile, MissingFileKeepsThePreviousImage) {
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBlank(2, 2, 24, kWhite));
    for (const char* name : {"missing.bmp", ""}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(bitmap.LoadFile(*name ? PathOf(name) : Text()));
        EXPECT_EQ(bitmap.LastError(), CannotOpenText());
        EXPECT_EQ(bitmap.GetPixel(1, 1), kWhite);
    }
    // A folder cannot be read as a file either.
    EXPECT_FALSE(bitmap.LoadFile(GbkPath(folder_.path())));
    EXPECT_EQ(bitmap.LastError(), CannotOpenText());
    EXPECT_FALSE(bitmap.IsEmpty());
}

TEST_F(BitmapFile, ChineseFileNameIsFound) {
    const std::vector<uint8_t> bytes = Bmp().Size(1, 1).Depth(24).Pixels(std::vector<uint8_t>{0, 0, 255, 0}).Build();
    WriteFile(folder_.path() / "二维码图片.bmp", bytes);
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.LoadFile(GbkPath(folder_.path() / "二维码图片.bmp")));
    EXPECT_EQ(bitmap.GetPixel(0, 0), 255);
}

TEST_F(BitmapFile, FileBeyondTheLargestImageIsRejectedUnread) {
    const auto path = folder_.path() / "huge.bmp";
    WriteFile(path, Bmp().Size(1, 1).Pixels(std::vector<uint8_t>{0, 0, 0, 0}).Build());
    ASSERT_EQ(::truncate(path.c_str(), off_t{1} << 31), 0);   // sparse: no disk space used
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBlank(1, 1, 1, kBlack));
    EXPECT_FALSE(bitmap.LoadFile(GbkPath(path)));
    EXPECT_EQ(bitmap.LastError(), UnsupportedText());
    EXPECT_TRUE(bitmap.IsEmpty());
}

struct HostileCase {
    const char* name;
    std::vector<uint8_t> bytes;
};

std::vector<uint8_t> Truncated(std::vector<uint8_t> bytes, size_t length) {
    bytes.resize(length);
    return bytes;
}

std::vector<uint8_t> WithByte(std::vector<uint8_t> bytes, size_t offset, uint8_t value) {
    bytes[offset] = value;
    return bytes;
}

std::vector<uint8_t> Zeros(size_t count) { return std::vector<uint8_t>(count, 0); }
std::vector<uint32_t> Entries(size_t count) { return std::vector<uint32_t>(count, 0xFFFFFF); }
// The rows of a 4 x 2 picture at 24 bits: two rows of 12 bytes.
std::vector<uint8_t> Bytes24() { return std::vector<uint8_t>(24, 0x7F); }

std::vector<uint8_t> GoodFile() { return Bmp().Size(4, 2).Pixels(Bytes24()).Build(); }

std::vector<HostileCase> HostileFiles() {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    return {
        {"empty file", {}},
        {"53 bytes", Truncated(GoodFile(), 53)},
        {"text file", std::vector<uint8_t>(100, 'a')},
        {"signature BN", WithByte(GoodFile(), 1, 'N')},
        {"declared size beyond the file", Bmp().FileSize(1000).Size(4, 2).Pixels(Bytes24()).Build()},
        {"header size 108", Bmp().HeaderSize(108).Size(4, 2).Pixels(Bytes24()).Build()},
        {"header size 0", WithByte(GoodFile(), 14, 0)},
        {"2 bits per pixel", Bmp().Size(4, 2).Depth(2).Table(Entries(4)).Pixels(Zeros(8)).Build()},
        {"full 8-bit table missing", Bmp().Size(4, 1).Depth(8).Pixels(Zeros(4)).Build()},
        {"colours used past the file", Bmp().Size(4, 1).Depth(8).ColoursUsed(0xFFFFFFFF).Table(Entries(1)).Pixels(Zeros(4)).Build()},
        {"colours used 300 for 8 bits", Bmp().Size(4, 1).Depth(8).ColoursUsed(300).Table(Entries(300)).Pixels(Zeros(4)).Build()},
        {"colours used 3 for 1 bit", Bmp().Size(4, 1).Depth(1).ColoursUsed(3).Table(Entries(3)).Pixels(Zeros(4)).Build()},
        {"table cut by the file's end", Truncated(Bmp().Depth(4).Table(Entries(16)).Pixels(Zeros(4)).Build(), 14 + 40 + 62)},
        {"pixel offset at the end", Bmp().PixelOffset(54 + 24).Size(4, 2).Pixels(Bytes24()).Build()},
        {"pixel offset far beyond", Bmp().PixelOffset(0xFFFFFFF0).Size(4, 2).Pixels(Bytes24()).Build()},
        {"run-length 8", Bmp().Size(4, 2).Depth(8).Compression(1).Table(Entries(256)).Pixels({0, 1, 0, 0}).Build()},
        {"run-length 4", Bmp().Size(4, 2).Depth(4).Compression(2).Table(Entries(16)).Pixels({0, 1, 0, 0}).Build()},
        {"bit fields", Bmp().Size(4, 2).Depth(16).Compression(3).Pixels(Zeros(16)).Build()},
        {"negative height (top row first)", Bmp().Size(4, -2).Pixels(Bytes24()).Build()},
        {"negative width", Bmp().Size(-4, 2).Pixels(Bytes24()).Build()},
        {"one row short", Bmp().Size(4, 2).Pixels(Zeros(23)).Build()},
        {"huge width", Bmp().Size(kMax, 1).Depth(32).Pixels(Zeros(64)).Build()},
        {"huge height", Bmp().Size(1, kMax).Depth(32).Pixels(Zeros(64)).Build()},
        {"huge width and height", Bmp().Size(kMax, kMax).Depth(32).Pixels(Zeros(64)).Build()},
        {"core header with huge size", Bmp().HeaderSize(12).Size(0xFFFF, 0xFFFF).Pixels(Zeros(64)).Build()},
        {"planes 0", Bmp().Size(4, 2).Planes(0).Pixels(Bytes24()).Build()},
        {"planes 2", Bmp().Size(4, 2).Planes(2).Pixels(Zeros(48)).Build()},
    };
}

TEST_F(BitmapFile, HostileFilesFailCleanlyAndLeaveTheBitmapEmpty) {
    for (const HostileCase& c : HostileFiles()) {
        SCOPED_TRACE(c.name);
        Bitmap bitmap;
        ASSERT_TRUE(bitmap.CreateBlank(3, 3, 24, kWhite));
        EXPECT_FALSE(bitmap.LoadFile(Write("hostile.bmp", c.bytes)));
        EXPECT_EQ(bitmap.LastError(), UnsupportedText());
        EXPECT_TRUE(bitmap.IsEmpty());
        EXPECT_TRUE(bitmap.ToBmpBytes().empty());
    }
}

TEST_F(BitmapFile, TheGoodFileOfTheCorpusLoads) {
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.LoadFile(Write("good.bmp", GoodFile())));
    EXPECT_EQ(bitmap.GetPixel(3, 1), Rgb(0x7F, 0x7F, 0x7F));
}

}  // namespace
}  // namespace korvel
