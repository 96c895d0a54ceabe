// Splitting, searching and replacing GBK text.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/CodePage.h"
#include "core/TextOperations.h"
#include "tests/core/GbkBytes.h"

namespace korvel {
namespace {

using testing_support::Elements;
using testing_support::GbkText;

struct SplitCase {
    const char* name;
    Text text;
    Text separator;
    std::optional<int32_t> maxPieces;
    std::vector<std::string> expected;
};

TEST(SplitText, Cases) {
    const SplitCase cases[] = {
        {"empty text", "", "\r\n", {}, {}},
        {"two lines", "a\r\nb", "\r\n", {}, {"a", "b"}},
        {"separator at the end adds nothing", "a\r\n", "\r\n", {}, {"a"}},
        {"blank last line", "a\r\n\r\n", "\r\n", {}, {"a", ""}},
        {"separator alone", "\r\n", "\r\n", {}, {""}},
        {"two separators", "\r\n\r\n", "\r\n", {}, {"", ""}},
        {"empty line between", "a\r\n\r\nb", "\r\n", {}, {"a", "", "b"}},
        {"lone CR and LF are no separator", "a\rb\nc", "\r\n", {}, {"a\rb\nc"}},
        {"empty separator", "abc", "", {}, {"abc"}},
        {"max pieces drops the rest", "a,b,c", ",", 2, {"a", "b"}},
        {"max pieces zero", "a,b,c", ",", 0, {}},
        {"max pieces negative", "a,b,c", ",", -1, {}},
        {"max pieces above count", "a,b,c", ",", 5, {"a", "b", "c"}},
        {"max pieces reached at the last separator", "a,b,", ",", 2, {"a", "b"}},
        {"separator longer than text", "a", "abc", {}, {"a"}},
        // D8 7C is one character: its second byte is no separator.
        {"trail byte is no separator", GbkText({0xD8, 0x7C, 0x7C}), "|", {}, {"\xD8\x7C"}},
        {"separator after two-byte character", GbkText({0xB1, 0xED, 0x2C, 0x61}), ",", {}, {"\xB1\xED", "a"}},
        // A lead byte right before the end stands alone and ends the scan.
        {"lone lead byte at the end", GbkText({0x61, 0x2C, 0xB1}), ",", {}, {"a", "\xB1"}},
        {"two-byte separator", GbkText({0x61, 0xA3, 0xAC, 0x62}), GbkText({0xA3, 0xAC}), {}, {"a", "b"}},
        // 0xA3 0xA3 0xAC: the separator A3 AC would start on a trail byte.
        {"two-byte separator off boundary", GbkText({0xA3, 0xA3, 0xAC}), GbkText({0xA3, 0xAC}), {}, {"\xA3\xA3\xAC"}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Elements(SplitText(c.text, c.separator, c.maxPieces)), c.expected);
    }
}

TEST(SplitText, ChineseColumn) {
    const Text column = ConcatText("35020180001\r\n"_gbk, "张三\r\n"_gbk, "李四"_gbk);
    EXPECT_EQ(Elements(SplitText(column, "\r\n")),
              (std::vector<std::string>{"35020180001", ("张三"_gbk).str(), ("李四"_gbk).str()}));
}

struct FindCase {
    const char* name;
    Text text;
    Text sought;
    std::optional<int32_t> start;
    bool ignoreCase;
    int32_t expected;
};

TEST(FindText, Cases) {
    const FindCase cases[] = {
        {"from start 4", "abcabc", "c", 4, false, 6},
        {"first occurrence", "abcabc", "bc", {}, false, 2},
        {"ignore case", "abc", "C", {}, true, 3},
        {"case matters", "abc", "C", {}, false, -1},
        {"empty sought from start 2 is position 1", "abc", "", 2, false, 1},
        {"empty sought past the end", "abc", "", 4, false, -1},
        {"empty text", "", "a", {}, false, -1},
        {"empty text and sought", "", "", {}, false, -1},
        {"start below 1 counts as 1", "abc", "a", -7, false, 1},
        {"start past the end", "abc", "c", 9, false, -1},
        {"start at the match", "abc", "c", 3, false, 3},
        {"sought longer than the rest", "abc", "bcd", {}, false, -1},
        {"trail byte does not start a match", GbkText({0xD8, 0x7C, 0x7C}), "|", {}, false, 3},
        // B0 41 and B0 61: the trail bytes are ASCII letters and fold byte by byte.
        {"ignore case folds trail bytes", GbkText({0x78, 0xB0, 0x41}), GbkText({0xB0, 0x61}), {}, true, 2},
        {"exact case on trail bytes", GbkText({0x78, 0xB0, 0x41}), GbkText({0xB0, 0x61}), {}, false, -1},
        {"lone lead byte ends the search", GbkText({0x61, 0xB0}), "b", {}, false, -1},
        {"lone lead byte found as itself", GbkText({0x61, 0xB0}), GbkText({0xB0}), {}, false, 2},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.expected);
    }
}

TEST(FindText, PositionCountsTwoByteCharactersAsTwo) {
    EXPECT_EQ(FindText("张三-35020180001"_gbk, "-"), 5);
}

struct ReplaceCase {
    const char* name;
    Text text;
    Text sought;
    std::optional<Text> replacement;
    bool caseSensitive;
    Text expected;
};

TEST(ReplaceText, Cases) {
    const ReplaceCase cases[] = {
        {"non-overlapping from the left", "aaa", "aa", Text("b"), true, "ba"},
        {"empty sought", "abc", "", Text("x"), true, "abc"},
        {"empty text", "", "a", Text("x"), true, ""},
        {"missing replacement deletes", "a-b-c", "-", std::nullopt, true, "abc"},
        {"replacement is not scanned again", "ab", "a", Text("aa"), true, "aab"},
        {"case-blind normalises", "set-cookie: a\r\nSET-COOKIE: b", "Set-Cookie", Text("Set-Cookie"), false,
         "Set-Cookie: a\r\nSet-Cookie: b"},
        {"case-blind delete", "Set-Cookie: a; set-cookie: b", "set-cookie:", std::nullopt, false, " a;  b"},
        {"exact case keeps other case", "Aa", "a", Text("x"), true, "Ax"},
        {"trail byte is not replaced", GbkText({0xD8, 0x7C, 0x7C}), "|", Text("/"), true, GbkText({0xD8, 0x7C, 0x2F})},
        {"lone lead byte at the end kept", GbkText({0x61, 0xB0}), "a", Text("b"), true, GbkText({0x62, 0xB0})},
    };
    for (const ReplaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReplaceText(c.text, c.sought, c.replacement, c.caseSensitive), c.expected);
    }
}

TEST(ReplaceText, QuoteMarkerInChineseText) {
    EXPECT_EQ(ReplaceText("他说#引号你好#引号"_gbk, "#引号"_gbk, Text("\""), true), "他说\"你好\""_gbk);
}

}  // namespace
}  // namespace korvel
