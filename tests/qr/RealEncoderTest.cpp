// The QR image maker with the real encoder library: every image it returns reads back,
// through two independent decoders, as exactly the bytes it was asked to encode.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

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

}  // namespace
}  // namespace korvel
