// The QR image maker with the real encoder library: every image it returns reads back,
// through two independent decoders, as exactly the bytes it was asked to encode.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "QrTestFiles.h"
#include "core/CodePage.h"
#include "core/binding/Binding.h"
#include "qr/MakeQrImage.h"
#include "qr/TemporaryImagePath.h"
#include "tests/support/QrDecoders.h"

namespace korvel {
namespace {

using namespace testing_support;

class RealEncoder : public testing::Test {
protected:
    void SetUp() override { binding::ResetBindings(); }

    TempFolder folder_;
};

TEST_F(RealEncoder, ImagesDecodeToTheirText) {
    const std::string lead = "中"_gbk.str();
    struct Case {
        const char* name;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"personal code", "djxh12345678901", "djxh12345678901"},
        {"import code", "http://localhost:81/kv/ck.asp?id=20240611", "http://localhost:81/kv/ck.asp?id=20240611"},
        {"GBK text", "张三-李四"_gbk.str(), "张三-李四"_gbk.str()},
        {"130 bytes cut to 120", std::string(130, 'Q'), std::string(120, 'Q')},
        {"lead byte at 120", std::string(119, 'a') + lead, std::string(119, 'a') + lead.substr(0, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes bytes = MakeQrImage(Text(c.text), 0, 0, 1.0);
        ASSERT_GT(bytes.size(), 62);
        uint32_t side = 0;
        std::memcpy(&side, bytes.data() + 18, 4);
        EXPECT_GT(side, 20u);
        EXPECT_LE(side, 399u);
        EXPECT_EQ(bytes.size(), 62 + static_cast<int32_t>((side + 31) / 32 * 4 * side));
        struct stat status {};
        EXPECT_NE(::stat(GbkToUtf8(TemporaryImagePath()).c_str(), &status), 0) << "temporary file left behind";

        const std::string file = (folder_.path() / "symbol.bmp").string();
        WriteFile(file, bytes.vector());
        for (QrDecoder decoder : {QrDecoder::kZXing, QrDecoder::kZbar}) {
            SCOPED_TRACE(DecoderName(decoder));
            const DecodeResult result = DecodeQrBmp(decoder, file);
            ASSERT_TRUE(result.decoded) << result.error;
            EXPECT_EQ(result.bytes, c.expected);
        }
    }
}

// Threads that make codes at the same time each keep their own encoder settings and their
// own picture file: every image is the one the window's thread makes for the same text,
// and no thread's picture file is left behind.
TEST_F(RealEncoder, ThreadsMakingCodesAtOnceGetTheirOwnImages) {
    constexpr int kThreads = 3;
    constexpr int kImagesEach = 200;
    const auto textOf = [](int thread, int image) { return "djxh" + std::to_string(thread * 1000 + image); };
    std::vector<std::vector<Bytes>> made(kThreads);
    std::vector<std::string> paths(kThreads);
    BindQrImageMaker();
    {
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&, t] {
                paths[t] = GbkToUtf8(TemporaryImagePath());
                for (int i = 0; i < kImagesEach; ++i) made[t].push_back(MakeQrImage(Text(textOf(t, i)), 0, 0, 1.0));
            });
        }
        for (std::thread& thread : threads) thread.join();
    }
    EXPECT_EQ(std::set<std::string>(paths.begin(), paths.end()).size(), static_cast<std::size_t>(kThreads));
    for (int t = 0; t < kThreads; ++t) {
        struct stat status {};
        EXPECT_NE(::stat(paths[t].c_str(), &status), 0) << "picture file left behind: " << paths[t];
        for (int i = 0; i < kImagesEach; ++i) {
            ASSERT_EQ(made[t][i], MakeQrImage(Text(textOf(t, i)), 0, 0, 1.0)) << textOf(t, i);
        }
    }
}

}  // namespace
}  // namespace korvel
