// Copying regions between bitmaps: defaults, bounds, transparency, colour matching, and
// the whole-byte copy between 1-bit images agreeing bit for bit with pixel by pixel.
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <random>
#include <vector>

#include "BmpFileBuilder.h"
#include "QrTestFiles.h"
#include "qr/Bitmap.h"

namespace korvel {
namespace {

using namespace testing_support;

// The copy's arguments in plain integers; kNotGiven stands for an argument left out.
constexpr int32_t kNotGiven = std::numeric_limits<int32_t>::min();

struct Region {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = kNotGiven;
    int32_t height = kNotGiven;
    int32_t destinationX = 0;
    int32_t destinationY = 0;
    int32_t transparent = kNotGiven;
};

std::optional<int32_t> Given(int32_t value) { return value == kNotGiven ? std::nullopt : std::optional(value); }

bool Copy(Bitmap& source, Bitmap* destination, const Region& r) {
    Bitmap::CopyArguments arguments;
    arguments.x = r.x;
    arguments.y = r.y;
    arguments.width = Given(r.width);
    arguments.height = Given(r.height);
    arguments.destination = destination;
    arguments.destinationX = r.destinationX;
    arguments.destinationY = r.destinationY;
    arguments.transparent = Given(r.transparent);
    return source.CopyRegion(arguments);
}

// A 24-bit picture whose every pixel differs from its neighbours.
void Paint(Bitmap& bitmap, int32_t width, int32_t height) {
    ASSERT_TRUE(bitmap.CreateBlank(width, height, 24, kWhite));
    for (int32_t x = 0; x < width; ++x)
        for (int32_t y = 0; y < height; ++y) bitmap.SetPixel(x, y, Rgb(x * 10, y * 10, 7));
}

TEST(CopyRegion, ZeroSizeCopiesNothingAndSucceeds) {
    Bitmap source, destination;
    Paint(source, 5, 5);
    ASSERT_TRUE(destination.CreateBlank(5, 5, 24, kWhite));
    const Bytes before = destination.ToBmpBytes();
    EXPECT_TRUE(Copy(source, &destination, {.x = 1, .y = 1, .width = 0, .height = 0, .destinationX = 2, .destinationY = 2}));
    EXPECT_TRUE(source.LastError().empty());
    EXPECT_EQ(destination.ToBmpBytes(), before);
}

TEST(CopyRegion, SizesDefaultToTheSourceOrTheDestination) {
    Bitmap source, destination;
    Paint(source, 4, 3);
    ASSERT_TRUE(destination.CreateBlank(2, 2, 24, kWhite));
    // Not given: the source's 4 x 3, which does not fit the 2 x 2 destination.
    EXPECT_FALSE(Copy(source, &destination, {}));
    EXPECT_EQ(source.LastError(), OutOfBoundsText());
    // -1: the destination's 2 x 2.
    EXPECT_TRUE(Copy(source, &destination, {.x = 1, .y = 1, .width = -1, .height = -1}));
    EXPECT_EQ(destination.GetPixel(0, 0), source.GetPixel(1, 1));
    EXPECT_EQ(destination.GetPixel(1, 1), source.GetPixel(2, 2));
}

TEST(CopyRegion, EmptyBitmapsFailWithNotCreated) {
    Bitmap painted, empty;
    Paint(painted, 3, 3);
    struct Case {
        const char* name;
        Bitmap* source;
        Bitmap* destination;
        Region region;
    };
    const Case cases[] = {
        {"size from an empty source", &empty, &painted, {}},
        {"size from an empty destination", &painted, &empty, {.width = -1, .height = 1}},
        {"explicit size, empty destination", &painted, &empty, {.width = 1, .height = 1}},
        {"explicit size, empty source", &empty, &painted, {.width = 1, .height = 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(Copy(*c.source, c.destination, c.region));
        EXPECT_EQ(c.source->LastError(), NotCreatedText());
    }
}

TEST(CopyRegion, RegionsOutsideEitherImageFailAndCopyNothing) {
    Bitmap source, destination;
    Paint(source, 6, 6);
    ASSERT_TRUE(destination.CreateBlank(4, 4, 24, kWhite));
    const Bytes before = destination.ToBmpBytes();
    struct Case {
        const char* name;
        Region region;
    };
    const Case cases[] = {
        {"source x negative", {.x = -1, .width = 2, .height = 2}},
        {"source region past the right edge", {.x = 5, .width = 2, .height = 2}},
        {"source region past the bottom", {.y = 5, .width = 2, .height = 2}},
        {"destination region past the edge", {.width = 2, .height = 2, .destinationX = 3}},
        {"destination y negative", {.width = 2, .height = 2, .destinationY = -1}},
        {"negative width", {.width = -2, .height = 2}},
        {"sums beyond 32 bits", {.x = 2147483647, .width = 2147483647, .height = 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(Copy(source, &destination, c.region));
        EXPECT_EQ(source.LastError(), OutOfBoundsText());
        EXPECT_EQ(destination.ToBmpBytes(), before);
    }
}

TEST(CopyRegion, TransparentColourIsSkippedAndMinusOneMeansNone) {
    Bitmap source, destination;
    ASSERT_TRUE(source.CreateBlank(2, 1, 24, kWhite));
    source.SetPixel(1, 0, Rgb(255, 0, 0));
    for (int32_t transparent : {int32_t{kWhite}, int32_t{-1}}) {
        SCOPED_TRACE(transparent);
        ASSERT_TRUE(destination.CreateBlank(2, 1, 24, Rgb(0, 0, 255)));
        EXPECT_TRUE(Copy(source, &destination, {.transparent = transparent}));
        EXPECT_EQ(destination.GetPixel(0, 0), transparent == kWhite ? Rgb(0, 0, 255) : kWhite);
        EXPECT_EQ(destination.GetPixel(1, 0), Rgb(255, 0, 0));
    }
}

TEST(CopyRegion, ColoursLandOnTheNearestOneBitEntry) {
    Bitmap source, destination;
    ASSERT_TRUE(source.CreateBlank(4, 1, 24, kWhite));
    source.SetPixel(1, 0, kBlack);
    source.SetPixel(2, 0, Rgb(128, 128, 128));   // nearer white
    source.SetPixel(3, 0, Rgb(127, 127, 127));   // nearer black
    ASSERT_TRUE(destination.CreateBlank(4, 1, 1, kBlack));
    ASSERT_TRUE(Copy(source, &destination, {}));
    const Bytes bytes = destination.ToBmpBytes();
    EXPECT_EQ(bytes[62], 0xA0);   // white, black, white, black: indices 1 0 1 0
}

// Source and destination the same image: pixel by pixel, columns outer, so a copy one
// column to the right reads columns it has already written.
TEST(CopyRegion, OverlappingCopyWithinOneImageFollowsTheColumnOrder) {
    for (int16_t depth : {int16_t{1}, int16_t{24}}) {
        SCOPED_TRACE(depth);
        Bitmap bitmap;
        ASSERT_TRUE(bitmap.CreateBlank(4, 1, depth, kBlack));
        bitmap.SetPixel(0, 0, kWhite);
        ASSERT_TRUE(Copy(bitmap, nullptr, {.width = 3, .height = 1, .destinationX = 1}));
        for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(bitmap.GetPixel(x, 0), kWhite) << x;
    }
}

// 1-bit images with chosen tables and random pixels, loaded from files.
class OneBitCopies : public testing::Test {
protected:
    void Load(Bitmap& bitmap, int32_t width, int32_t height, std::vector<uint32_t> table) {
        const size_t stride = static_cast<size_t>((width + 31) / 32 * 4);
        std::vector<uint8_t> rows(stride * static_cast<size_t>(height) + 16);
        for (uint8_t& byte : rows) byte = static_cast<uint8_t>(random_());
        WriteFile(folder_.path() / "picture.bmp", Bmp().Size(width, height).Depth(1).Table(std::move(table)).Pixels(rows).Build());
        ASSERT_TRUE(bitmap.LoadFile(GbkPath(folder_.path() / "picture.bmp")));
    }
    int32_t Below(int32_t limit) { return static_cast<int32_t>(random_() % static_cast<uint32_t>(limit)); }

    TempFolder folder_;
    std::mt19937 random_{20240611};
};

TEST_F(OneBitCopies, WholeByteCopyMatchesPixelByPixelForAnyOffsets) {
    struct Tables {
        const char* name;
        std::vector<uint32_t> source, destination;
    };
    const Tables tables[] = {
        {"black white to black white", {0x000000, 0xFFFFFF}, {0x000000, 0xFFFFFF}},
        {"black white to white black", {0x000000, 0xFFFFFF}, {0xFFFFFF, 0x000000}},
        {"black black to black white", {0x000000, 0x000000}, {0x000000, 0xFFFFFF}},
        {"white white to black white", {0xFFFFFF, 0xFFFFFF}, {0x000000, 0xFFFFFF}},
        {"greys to black white", {0x202020, 0xD0D0D0}, {0x000000, 0xFFFFFF}},
    };
    for (const Tables& t : tables) {
        SCOPED_TRACE(t.name);
        for (int trial = 0; trial < 60; ++trial) {
            const int32_t sourceWidth = 1 + Below(200), sourceHeight = 1 + Below(6);
            const int32_t width = 1 + Below(sourceWidth), height = 1 + Below(sourceHeight);
            const int32_t x = Below(sourceWidth - width + 1), y = Below(sourceHeight - height + 1);
            const int32_t destinationWidth = width + Below(40), destinationHeight = height + Below(3);
            const int32_t dx = Below(destinationWidth - width + 1), dy = Below(destinationHeight - height + 1);
            SCOPED_TRACE(testing::Message() << "source " << sourceWidth << "x" << sourceHeight << " region " << x << ","
                                            << y << " " << width << "x" << height << " to " << dx << "," << dy
                                            << " of " << destinationWidth << "x" << destinationHeight);
            Bitmap source, fast, expected;
            Load(source, sourceWidth, sourceHeight, t.source);
            Load(fast, destinationWidth, destinationHeight, t.destination);
            ASSERT_TRUE(expected.LoadFile(GbkPath(folder_.path() / "picture.bmp")));
            ASSERT_TRUE(Copy(source, &fast, {.x = x, .y = y, .width = width, .height = height, .destinationX = dx, .destinationY = dy}));
            for (int32_t i = 0; i < width; ++i)
                for (int32_t j = 0; j < height; ++j) expected.SetPixel(dx + i, dy + j, source.GetPixel(x + i, y + j));
            ASSERT_EQ(fast.ToBmpBytes(), expected.ToBmpBytes());
        }
    }
}

}  // namespace
}  // namespace korvel
