// AnsiToUtf16, Utf16ToAnsi and TextBetween through the kernel's conversion stand-ins.
#include <gtest/gtest.h>

#include <vector>

#include "core/CodePage.h"
#include "http/TextBetween.h"
#include "http/TextConversions.h"

namespace korvel {
namespace {

Bytes ByteList(std::vector<uint8_t> bytes) { return Bytes(std::move(bytes)); }

TEST(AnsiToUtf16, GivesUnitsWithOrWithoutTheTerminator) {
    struct Case {
        const char* name;
        Text text;
        std::optional<bool> dropTerminator;
        Bytes expected;
    };
    const Case cases[] = {
        {"letter", Text("A"), std::nullopt, ByteList({0x41, 0, 0, 0})},
        {"letter, terminator dropped", Text("A"), true, ByteList({0x41, 0})},
        {"letter, terminator kept", Text("A"), false, ByteList({0x41, 0, 0, 0})},
        {"Chinese", Text("\xD6\xD0"), std::nullopt, ByteList({0x2D, 0x4E, 0, 0})},
        {"empty", Text(), false, Bytes()},
        {"empty, terminator dropped", Text(), true, Bytes()},
        {"euro sign of code page 936", Text("\x80"), true, ByteList({0xAC, 0x20})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AnsiToUtf16(c.text, c.dropTerminator), c.expected);
    }
}

TEST(Utf16ToAnsi, StopsAtTheFirstNulUnitAndIgnoresAnOddByte) {
    struct Case {
        const char* name;
        Bytes bytes;
        Text expected;
    };
    const Case cases[] = {
        {"two letters", ByteList({0x41, 0, 0x42, 0}), Text("AB")},
        {"NUL inside", ByteList({0x41, 0, 0, 0, 0x42, 0}), Text("A")},
        {"odd last byte", ByteList({0x41, 0, 0x42}), Text("A")},
        {"empty", Bytes(), Text()},
        {"Chinese with terminator", ByteList({0x2D, 0x4E, 0, 0}), Text("\xD6\xD0")},
        {"outside code page 936", ByteList({0x41, 0, 0x00, 0xAC}), Text("A?")},   // a Hangul syllable
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf16ToAnsi(c.bytes), c.expected);
    }
}

TEST(TextConversions, RoundTripKeepsGbkText) {
    Text text = "生成导入二维码: nr=1 & 张三"_gbk;
    EXPECT_EQ(Utf16ToAnsi(AnsiToUtf16(text)), text);
    EXPECT_EQ(Utf16ToAnsi(AnsiToUtf16(text, true)), text);
}

TEST(TextBetween, CutsBetweenTheFirstLeftMarkerAndTheNextRightMarker) {
    struct Case {
        const char* name;
        Text text, left, right;
        std::optional<int32_t> start;
        std::optional<bool> ignoreCase;
        Text expected;
    };
    const Case cases[] = {
        {"first pair", Text("[a][b]"), Text("["), Text("]"), std::nullopt, std::nullopt, Text("a")},
        {"from position 4", Text("[a][b]"), Text("["), Text("]"), 4, std::nullopt, Text("b")},
        {"cookie keeps its blank", Text("Set-Cookie: k=v; path=/"), Text("Set-Cookie:"), Text(";"), std::nullopt,
         std::nullopt, Text(" k=v")},
        {"quote marks", Text("name=\"v\""), "name=#引号"_gbk, "#引号"_gbk, std::nullopt, std::nullopt, Text("v")},
        {"left missing", Text("abc"), Text("x"), Text("c"), std::nullopt, std::nullopt, Text()},
        {"right not after left", Text("]x["), Text("["), Text("]"), std::nullopt, std::nullopt, Text()},
        {"markers side by side", Text("[]"), Text("["), Text("]"), std::nullopt, std::nullopt, Text()},
        {"letter case counts", Text("set-cookie: a=1;"), Text("Set-Cookie:"), Text(";"), std::nullopt, false, Text()},
        {"letter case ignored", Text("set-cookie: a=1;"), Text("Set-Cookie:"), Text(";"), std::nullopt, true,
         Text(" a=1")},
        {"empty left marker", Text("ab;c"), Text(), Text(";"), std::nullopt, std::nullopt, Text("ab")},
        {"empty left marker, start past the end", Text("ab;c"), Text(), Text(";"), 9, std::nullopt, Text()},
        {"empty right marker", Text("a=b"), Text("a="), Text(), std::nullopt, std::nullopt, Text()},
        {"right marker inside a Chinese character", "\xB0\xA1]"_gbk, Text("\xB0"), Text("\xA1"), std::nullopt,
         std::nullopt, Text()},
        {"Chinese between", "【张三】"_gbk, "【"_gbk, "】"_gbk, std::nullopt, std::nullopt, "张三"_gbk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignoreCase), c.expected);
    }
}

}  // namespace
}  // namespace korvel
