// The encoder library, loaded by name as the program loads it, driven with the program's
// call sequence, and its pictures read back by two independent decoders.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

#include "SymbolPlacement.h"
#include "core/CodePage.h"
#include "core/TextOperations.h"
#include "core/binding/Binding.h"
#include "tests/support/BmpPixels.h"
#include "tests/support/QrDecoders.h"

namespace korvel::testing_support {
namespace {

using binding::Call;

constexpr int32_t kPictureSide = 400;
constexpr int32_t kQuietZone = 4;

struct Settings {
    int32_t version = 0;
    int32_t level = 0;
};

// The calls the QR image maker makes, in its order, with its fixed values.
void DrawWithEncoder(const Text& text, const Text& gbkPath, Settings settings = {}) {
    Call<binding::kQRSetMessage>(text.ArgumentPointer());
    Call<binding::kQRSetBackColor>(255, 255, 255);
    Call<binding::kQRSetBarColor>(0, 0, 0);
    Call<binding::kQRConfigure>(settings.version, settings.level, 5);
    Call<binding::kQRAppearance>(0.26, 1, 0);
    Call<binding::kQRSetSize>(kPictureSide, kPictureSide);
    Call<binding::kQRSaveAsBMP>(gbkPath.ArgumentPointer());
}

class EncoderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvel-encoder-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // The picture's path as the program names it (GBK, Chinese file name) and as the
    // file system does (UTF-8).
    Text GbkPath() const { return ConcatText(Utf8ToGbk(folder_), "/", "二维码图片.bmp"_gbk); }
    std::string Utf8Path() const { return folder_ + "/二维码图片.bmp"; }

    std::string folder_;
};

// utf8 is the text as written here; the encoder receives it as GBK bytes.
struct TextCase {
    const char* name;
    std::string utf8;
};

constexpr std::string_view kViewUrl = "http://localhost:81/kv/ck.asp?id=";
static_assert(kViewUrl.size() + 87 == 120, "the longest text the program sends");
const std::string kUrl120 = std::string(kViewUrl) + std::string(87, '7');

const TextCase kTextCases[] = {
    {"Ascii", "Hello, QR roster!"},
    {"Digits", "01234567890123456789"},
    {"PersonalCode", "djxh11010519491"},
    {"ChineseName", "张三"},
    {"ChineseNames", "欧阳娜娜-司马光-诸葛孔明"},
    {"Url120Bytes", kUrl120},
    {"OneByte", "7"},
};

void PrintTo(const TextCase& c, std::ostream* out) { *out << c.name; }

class EncoderTextTest : public EncoderTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(EncoderTextTest, WritesAReadableCentredSymbol) {
    const Text text = Utf8ToGbk(GetParam().utf8);
    DrawWithEncoder(text, GbkPath());

    std::string error;
    const std::optional<BmpPixels> image = ReadBmpFile(Utf8Path(), &error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(image->width, kPictureSide);
    EXPECT_EQ(image->height, kPictureSide);
    EXPECT_EQ(image->bitsPerPixel, 1);
    for (const Rgb& pixel : image->pixels) {
        ASSERT_TRUE(pixel == (Rgb{0, 0, 0}) || pixel == (Rgb{255, 255, 255}));
    }

    const std::optional<SymbolPlacement> symbol = MeasureSymbol(*image, &error);
    ASSERT_TRUE(symbol) << error;
    // The symbol and its quiet zone, in the largest whole module size that fits, centred.
    const int32_t drawn = (symbol->modules + 2 * kQuietZone) * symbol->moduleSize;
    EXPECT_LE(drawn, kPictureSide);
    EXPECT_GT((symbol->modules + 2 * kQuietZone) * (symbol->moduleSize + 1), kPictureSide);
    EXPECT_EQ(symbol->left - kQuietZone * symbol->moduleSize, (kPictureSide - drawn) / 2);
    EXPECT_EQ(symbol->top - kQuietZone * symbol->moduleSize, (kPictureSide - drawn) / 2);

    for (QrDecoder decoder : {QrDecoder::kZXing, QrDecoder::kZbar}) {
        SCOPED_TRACE(DecoderName(decoder));
        const DecodeResult result = DecodeQrBmp(decoder, Utf8Path());
        ASSERT_TRUE(result.decoded) << result.error;
        EXPECT_EQ(result.bytes, text.str());
    }
}

INSTANTIATE_TEST_SUITE_P(Encoder, EncoderTextTest, ::testing::ValuesIn(kTextCases),
                         [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

struct SettingsCase {
    const char* name;
    Settings settings;
    int32_t expectedModules;  // 17 + 4 x version
};

void PrintTo(const SettingsCase& c, std::ostream* out) { *out << c.name; }

class EncoderSettingsTest : public EncoderTest, public ::testing::WithParamInterface<SettingsCase> {};

// "djxh" + an 11-digit ID, 15 bytes. Version 1 holds 17 such bytes at level L, 14 at M
// and 7 at H, so both the level and the version asked for show in the symbol's size.
TEST_P(EncoderSettingsTest, VersionIsAtLeastTheOneAskedForAtTheLevelAskedFor) {
    const Text text("djxh11010519491");
    DrawWithEncoder(text, GbkPath(), GetParam().settings);
    std::string error;
    const std::optional<BmpPixels> image = ReadBmpFile(Utf8Path(), &error);
    ASSERT_TRUE(image) << error;
    const std::optional<SymbolPlacement> symbol = MeasureSymbol(*image, &error);
    ASSERT_TRUE(symbol) << error;
    EXPECT_EQ(symbol->modules, GetParam().expectedModules);
    for (QrDecoder decoder : {QrDecoder::kZXing, QrDecoder::kZbar}) {
        SCOPED_TRACE(DecoderName(decoder));
        const DecodeResult result = DecodeQrBmp(decoder, Utf8Path());
        ASSERT_TRUE(result.decoded) << result.error;
        EXPECT_EQ(result.bytes, text.str());
    }
}

INSTANTIATE_TEST_SUITE_P(Encoder, EncoderSettingsTest,
                         ::testing::Values(SettingsCase{"SmallestThatHolds", {0, 0}, 21},
                                           SettingsCase{"LevelMediumNeedsVersion2", {0, 1}, 25},
                                           SettingsCase{"LevelHighNeedsVersion3", {0, 3}, 29},
                                           SettingsCase{"AtLeastVersion7", {7, 0}, 45},
                                           SettingsCase{"Version40", {40, 2}, 177}),
                         [](const ::testing::TestParamInfo<SettingsCase>& info) { return std::string(info.param.name); });

TEST_F(EncoderTest, LevelFourDrawsLikeLevelThree) {
    const Text text("djxh11010519491");
    DrawWithEncoder(text, GbkPath(), {.level = 3});
    const std::optional<BmpPixels> high = ReadBmpFile(Utf8Path());
    DrawWithEncoder(text, GbkPath(), {.level = 4});
    const std::optional<BmpPixels> four = ReadBmpFile(Utf8Path());
    ASSERT_TRUE(high && four);
    EXPECT_EQ(high->pixels, four->pixels);
}

// What cannot be drawn leaves whatever lies at the path untouched.
TEST_F(EncoderTest, TextThatCannotBeEncodedWritesNoFile) {
    struct Case {
        const char* name;
        std::string text;
        int32_t level;
    };
    for (const Case& c : {Case{"Empty", "", 0}, Case{"TooLongAtLevelL", std::string(2954, 'a'), 0},
                          Case{"TooLongAtLevelH", std::string(1274, 'a'), 3}}) {
        SCOPED_TRACE(c.name);
        const std::string fresh = folder_ + "/fresh.bmp";
        EXPECT_EQ(Call<binding::kQRSetMessage>(c.text.c_str()), 1);
        Call<binding::kQRConfigure>(40, c.level, 5);
        EXPECT_EQ(Call<binding::kQRSaveAsBMP>(fresh.c_str()), 0);
        EXPECT_FALSE(std::filesystem::exists(fresh));

        { std::ofstream(Utf8Path()) << "earlier picture"; }
        DrawWithEncoder(Text(c.text), GbkPath(), {.version = 40, .level = c.level});
        std::ifstream earlier(Utf8Path());
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(earlier), {}), "earlier picture");
    }
}

TEST_F(EncoderTest, PathThatCannotBeWrittenWritesNothing) {
    Call<binding::kQRSetMessage>("djxh1");
    const std::string missing = folder_ + "/missing/picture.bmp";
    EXPECT_EQ(Call<binding::kQRSaveAsBMP>(missing.c_str()), 0);
    EXPECT_FALSE(std::filesystem::exists(folder_ + "/missing"));
}

}  // namespace
}  // namespace korvel::testing_support
