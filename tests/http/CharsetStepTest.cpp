// The charset step on its own: which declarations convert the page, through the real
// stream class, and the COM start-up and window yield around it.
#include <gtest/gtest.h>

#include <string>

#include "core/BytesOperations.h"
#include "core/CodePage.h"
#include "core/Services.h"
#include "core/TextOperations.h"
#include "http/CharsetStep.h"
#include "platform/Ole32.h"
#include "tests/automation/TextPrinting.h"

namespace korvel {
namespace {

Bytes BytesOf(std::string_view bytes) { return Bytes(bytes.data(), static_cast<int32_t>(bytes.size())); }

// The page text the earlier steps make of a body: its bytes up to the first NUL.
Text CharsetStepOf(const Bytes& body) { return ApplyCharsetStep(BytesToText(body), body); }

const char* const kUtf8Chinese = "\xE4\xB8\xAD\xE6\x96\x87";   // 中文 in UTF-8

TEST(CharsetStep, Declarations) {
    // 81 20 is no GBK character (a lead byte before a space): a page read through the
    // stream as GBK shows "?" there, a page left as stored keeps the bytes.
    const auto gbkPage = [](const char* charset) {
        return BytesOf(std::string("<meta charset=") + charset + ">\xD6\xD0\x81 ");
    };
    struct Case {
        const char* name;
        Bytes body;
        Text expected;
    };
    const std::string utf8Page = std::string("<META content=text/html;charset=UTF-8>") + kUtf8Chinese;
    const Case cases[] = {
        {"UTF-8 converted", BytesOf(utf8Page), ConcatText("<META content=text/html;charset=UTF-8>", "中文"_gbk)},
        {"Big5 converted", BytesOf("<meta charset=\"big5\">\xA4\xA4\xA4\xE5"), ConcatText("<meta charset=\"big5\">", "中文"_gbk)},
        {"GBK in capitals converted", gbkPage("GBK"), Text("<meta charset=GBK>\xD6\xD0? ")},
        {"GB2312 in capitals converted", gbkPage("GB2312"), Text("<meta charset=GB2312>\xD6\xD0? ")},
        {"gbk left as stored", gbkPage("gbk"), Text("<meta charset=gbk>\xD6\xD0\x81 ")},
        {"gb2312 left as stored", gbkPage("gb2312"), Text("<meta charset=gb2312>\xD6\xD0\x81 ")},
        {"no declaration", BytesOf("<p>\xD6\xD0\x81 </p>"), Text("<p>\xD6\xD0\x81 </p>")},
        {"unknown charset reads nothing", BytesOf("<meta charset=x-klingon>abc"), Text()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CharsetStepOf(c.body), c.expected);
    }
}

TEST(CharsetStep, OnlyTheFirst1024BytesAreSearched) {
    const std::string declaration = "<meta charset=utf-8>";
    const auto pageWithDeclarationAt = [&](std::size_t offset) {
        return std::string(offset, ' ') + declaration + kUtf8Chinese;
    };
    // Whole inside the sample: converted.
    const std::string inside = pageWithDeclarationAt(1024 - declaration.size());
    EXPECT_EQ(CharsetStepOf(BytesOf(inside)), ConcatText(Text(inside.substr(0, 1024)), "中文"_gbk));
    // Starting at byte 1025: not seen, the page stays as stored.
    const std::string after = pageWithDeclarationAt(1024);
    EXPECT_EQ(CharsetStepOf(BytesOf(after)), Text(after));
}

TEST(CharsetStep, ConversionReadsTheWholeBodyPastANul) {
    // The page text ends at the NUL, but the stream reads every byte; its text then ends at
    // the NUL again, since a Text holds no zero byte.
    const std::string body = std::string("<meta charset=utf-8>") + kUtf8Chinese + std::string("\0tail", 5);
    EXPECT_EQ(CharsetStepOf(BytesOf(body)), ConcatText("<meta charset=utf-8>", "中文"_gbk));
}

TEST(CharsetStep, StartsComOnceAndYieldsOnce) {
    int yields = 0;
    int comDuringYield = -1;
    SetPendingMessagesHook([&] {
        ++yields;
        comDuringYield = platform::CurrentComInitCount();
    });
    const int before = platform::CurrentComInitCount();
    for (const char* body : {"<meta charset=utf-8>x", "<p>no declaration</p>"}) {
        SCOPED_TRACE(body);
        yields = 0;
        RegexObject regex;
        ApplyCharsetStep(regex, Text(body), BytesOf(body));
        EXPECT_EQ(yields, 1) << "the search ran, whether it converted or not";
        EXPECT_EQ(comDuringYield, before + 2) << "the step's own start inside the regex object's";
    }
    EXPECT_EQ(platform::CurrentComInitCount(), before);
    SetPendingMessagesHook(nullptr);
}

}  // namespace
}  // namespace korvel
