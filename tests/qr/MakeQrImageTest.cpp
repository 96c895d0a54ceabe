// The QR image maker against a fake encoder: the calls and their clamped arguments, the
// text cut, the origin and side rules on chosen pictures, and the temporary file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "FakeEncoder.h"
#include "QrTestFiles.h"
#include "core/CodePage.h"
#include "core/Services.h"
#include "qr/Bitmap.h"
#include "qr/MakeQrImage.h"
#include "qr/TemporaryImagePath.h"

namespace korvel {
namespace {

using namespace testing_support;

bool FileExists(const Text& gbkPath) {
    struct stat status {};
    return ::stat(GbkToUtf8(gbkPath).c_str(), &status) == 0;
}

// A 400 x 400 picture of the given depth, white wherever colourAt gives white.
std::vector<uint8_t> Picture(const std::function<int32_t(int32_t, int32_t)>& colourAt, int16_t depth = 24) {
    Bitmap picture;
    picture.CreateBlank(400, 400, depth, kWhite);
    for (int32_t x = 0; x < 400; ++x)
        for (int32_t y = 0; y < 400; ++y)
            if (const int32_t colour = colourAt(x, y); colour != kWhite) picture.SetPixel(x, y, colour);
    return picture.ToBmpBytes().vector();
}

bool Inside(int32_t value, int32_t from, int32_t to) { return value >= from && value < to; }

class MakeQrImageTest : public testing::Test {
protected:
    void TearDown() override { EXPECT_FALSE(FileExists(TemporaryImagePath())) << "temporary file left behind"; }

    FakeEncoder encoder_;
};

TEST_F(MakeQrImageTest, WorkflowArgumentsReachTheEncoderInOrder) {
    MakeQrImage("djxh12345678901", 0, 0, 1.0);
    const FakeEncoderLog& log = encoder_.Log();
    EXPECT_EQ(log.calls, (std::vector<std::string>{"QRSetMessage", "QRSetBackColor", "QRSetBarColor", "QRConfigure",
                                                   "QRAppearance", "QRSetSize", "QRSaveAsBMP"}));
    EXPECT_EQ(log.message, "djxh12345678901");
    EXPECT_EQ(log.backColour, (std::array<int32_t, 3>{255, 255, 255}));
    EXPECT_EQ(log.barColour, (std::array<int32_t, 3>{0, 0, 0}));
    EXPECT_EQ(log.configure, (std::array<int32_t, 3>{0, 0, 5}));
    EXPECT_EQ(log.appearance, 0.26);
    EXPECT_EQ(log.appearanceRest, (std::array<int32_t, 2>{1, 0}));
    EXPECT_EQ(log.size, (std::array<int32_t, 2>{400, 400}));
    EXPECT_EQ(log.savePath, TemporaryImagePath().str());
}

TEST_F(MakeQrImageTest, SettingsAreHeldWithinTheirRanges) {
    struct Case {
        const char* name;
        std::optional<int32_t> version, level;
        std::optional<double> appearance;
        int32_t expectedVersion, expectedLevel;
        double expectedAppearance;
    };
    const Case cases[] = {
        {"nothing given", std::nullopt, std::nullopt, std::nullopt, 0, 0, 0.02},
        {"version 55", 55, 1, 0.1, 40, 1, 0.1},
        {"version -1", -1, 1, 0.1, 0, 1, 0.1},
        {"version 40 kept", 40, 0, 0.1, 40, 0, 0.1},
        {"level 7", 3, 7, 0.1, 3, 4, 0.1},
        {"level -2", 3, -2, 0.1, 3, 0, 0.1},
        {"appearance 0.01", 0, 0, 0.01, 0, 0, 0.02},
        {"appearance 0.3", 0, 0, 0.3, 0, 0, 0.26},
        {"appearance just below the range stays", 0, 0, 0.01999995, 0, 0, 0.01999995},
        {"appearance just above the range stays", 0, 0, 0.26000005, 0, 0, 0.26000005},
        {"appearance 2e-7 below the range", 0, 0, 0.0199998, 0, 0, 0.02},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeQrImage("abc", c.version, c.level, c.appearance);
        EXPECT_EQ(encoder_.Log().configure, (std::array<int32_t, 3>{c.expectedVersion, c.expectedLevel, 5}));
        EXPECT_EQ(encoder_.Log().appearance, c.expectedAppearance);
    }
}

TEST_F(MakeQrImageTest, TextIsCutToItsFirst120Bytes) {
    const std::string a119(119, 'a');
    const std::string lead = "中"_gbk.str();
    struct Case {
        const char* name;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"130 ASCII bytes", std::string(130, 'x'), std::string(120, 'x')},
        {"exactly 120 bytes", std::string(120, 'y'), std::string(120, 'y')},
        {"two-byte character across the 120th byte", a119 + lead + "z", a119 + lead.substr(0, 1)},
        {"two-byte character ending at byte 120", std::string(118, 'b') + lead + "z", std::string(118, 'b') + lead},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeQrImage(Text(c.text), 0, 0, 1.0);
        ASSERT_TRUE(encoder_.Log().message.has_value());
        EXPECT_EQ(*encoder_.Log().message, c.expected);
    }
}

// The crop's pixel (x, y) from the exported 1-bit file: true for white (table entry 1).
bool CropIsWhite(const Bytes& bytes, int32_t side, int32_t x, int32_t y) {
    const int32_t stride = (side + 31) / 32 * 4;
    const uint8_t byte = bytes[62 + (side - 1 - y) * stride + x / 8];
    return (byte >> (7 - x % 8)) & 1;
}

uint32_t FieldAt(const Bytes& bytes, int32_t offset) {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

struct PictureCase {
    const char* name;
    std::function<int32_t(int32_t, int32_t)> colourAt;
    int32_t x0, y0, side;
    std::function<bool(int32_t, int32_t)> cropWhite;   // expected crop pixel, crop coordinates
    std::vector<int16_t> depths = {1, 4, 24, 32};       // pictures that can hold the colours
};

std::vector<PictureCase> PictureCases() {
    // Modules of 40 pixels in a checkerboard: the top row and left column have white gaps.
    auto checkerboard = [](int32_t x, int32_t y) {
        return Inside(x, 20, 380) && Inside(y, 20, 380) && ((x - 20) / 40 + (y - 20) / 40) % 2 == 0 ? kBlack : kWhite;
    };
    return {
        {"symbol of 360 at (20, 20)", checkerboard, 20, 20, 360,
         [](int32_t x, int32_t y) { return (x / 40 + y / 40) % 2 == 1; }},
        {"only the last position dark on both edges counts",
         [](int32_t x, int32_t y) {
             const bool top = y == 20 && (Inside(x, 20, 100) || Inside(x, 200, 250));
             const bool left = x == 20 && Inside(y, 20, 380);
             return top || left ? kBlack : kWhite;
         },
         20, 20, 230,
         [](int32_t x, int32_t y) { return !((y == 0 && (x < 80 || Inside(x, 180, 230))) || x == 0); }},
        {"origin at (100, 20) stops at coordinate 399",
         [](int32_t x, int32_t y) { return x >= 100 && y >= 20 ? kBlack : kWhite; }, 100, 20, 300,
         [](int32_t, int32_t) { return false; }},
        {"symbol touching the left and top edges", [](int32_t, int32_t) { return kBlack; }, 0, 0, 399,
         [](int32_t, int32_t) { return false; }},
        {"near-black is light",
         [](int32_t x, int32_t y) {
             if (Inside(x, 10, 60) && Inside(y, 10, 60)) return Rgb(1, 1, 1);
             return Inside(x, 100, 300) && Inside(y, 100, 300) ? kBlack : kWhite;
         },
         100, 100, 200, [](int32_t, int32_t) { return false; }, {24, 32}},
        {"greys take the nearer colour",
         [](int32_t x, int32_t y) {
             if (!Inside(x, 50, 150) || !Inside(y, 50, 150)) return kWhite;
             if (x == 60) return Rgb(128, 128, 128);
             if (x == 61) return Rgb(127, 127, 127);
             return kBlack;
         },
         50, 50, 100, [](int32_t x, int32_t) { return x == 10; }, {24, 32}},
    };
}

TEST_F(MakeQrImageTest, SymbolIsFoundMeasuredAndCroppedAtEveryPictureDepth) {
    for (const PictureCase& c : PictureCases()) {
        for (int16_t depth : c.depths) {
            SCOPED_TRACE(testing::Message() << c.name << ", picture of " << depth << " bits");
            encoder_.WillWrite(Picture(c.colourAt, depth));
            const Bytes bytes = MakeQrImage("djxh12345678901", 0, 0, 1.0);
            const int32_t stride = (c.side + 31) / 32 * 4;
            ASSERT_EQ(bytes.size(), 62 + stride * c.side);
            EXPECT_EQ(FieldAt(bytes, 2), uint32_t(62 + stride * c.side));
            EXPECT_EQ(FieldAt(bytes, 10), 62u);
            EXPECT_EQ(FieldAt(bytes, 18), uint32_t(c.side));
            EXPECT_EQ(FieldAt(bytes, 22), uint32_t(c.side));
            EXPECT_EQ(FieldAt(bytes, 54), 0x00000000u);
            EXPECT_EQ(FieldAt(bytes, 58), 0x00FFFFFFu);
            for (int32_t x = 0; x < c.side; ++x)
                for (int32_t y = 0; y < c.side; ++y)
                    ASSERT_EQ(CropIsWhite(bytes, c.side, x, y), c.cropWhite(x, y)) << x << "," << y;
        }
    }
}

TEST_F(MakeQrImageTest, PictureWithoutDarkPixelsGivesAnEmptySquare) {
    encoder_.WillWrite(Picture([](int32_t, int32_t) { return kWhite; }));
    const Bytes bytes = MakeQrImage("abc", 0, 0, 1.0);
    ASSERT_EQ(bytes.size(), 62);
    EXPECT_EQ(FieldAt(bytes, 2), 62u);
    EXPECT_EQ(FieldAt(bytes, 18), 0u);
    EXPECT_EQ(FieldAt(bytes, 22), 0u);
}

TEST_F(MakeQrImageTest, NoUsablePictureGivesEmptyBytes) {
    struct Case {
        const char* name;
        std::optional<std::vector<uint8_t>> picture;
    };
    const Case cases[] = {
        {"no file written", std::nullopt},
        {"a text file", std::vector<uint8_t>(600, 'q')},
        {"a run-length picture", [] {
             std::vector<uint8_t> bytes = Picture([](int32_t, int32_t) { return kBlack; }, 8);
             bytes[30] = 1;   // compression
             return bytes;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        encoder_.WillWrite(c.picture);
        EXPECT_TRUE(MakeQrImage("abc", 0, 0, 1.0).empty());
        EXPECT_FALSE(FileExists(TemporaryImagePath()));
    }
}

TEST_F(MakeQrImageTest, StaleFileIsRemovedBeforeTheEncoderRuns) {
    const Text path = TemporaryImagePath();
    WriteFile(GbkToUtf8(path), Picture([](int32_t x, int32_t y) { return Inside(x, 20, 380) && Inside(y, 20, 380) ? kBlack : kWhite; }));
    ASSERT_TRUE(FileExists(path));
    encoder_.WillWrite(std::nullopt);
    EXPECT_TRUE(MakeQrImage("abc", 0, 0, 1.0).empty());
    EXPECT_FALSE(encoder_.Log().fileWasAtSavePath);
}

TEST_F(MakeQrImageTest, TemporaryFileLivesInAPrivateFolderOfThisProcess) {
    const Text path = TemporaryImagePath();
    ASSERT_FALSE(path.empty());
    const std::string file = GbkToUtf8(path);
    const std::string name = "二维码图片.bmp";
    ASSERT_GT(file.size(), name.size() + 1);
    EXPECT_EQ(file.substr(file.size() - name.size() - 1), "/" + name);
    const std::string folder = file.substr(0, file.size() - name.size() - 1);
    struct stat status {};
    ASSERT_EQ(::stat(folder.c_str(), &status), 0);
    EXPECT_TRUE(S_ISDIR(status.st_mode));
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    EXPECT_EQ(status.st_uid, ::getuid());
    EXPECT_NE(folder, GbkToUtf8(ProgramDirectory()));
    if (::access("/dev/shm", W_OK | X_OK) == 0) {
        EXPECT_EQ(folder.rfind("/dev/shm/", 0), 0u) << folder;
    }
    EXPECT_EQ(TemporaryImagePath(), path);
}

}  // namespace
}  // namespace korvel
