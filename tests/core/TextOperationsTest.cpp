// Cutting, trimming, comparing and joining texts; conversions to bytes and numbers.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "core/BytesOperations.h"
#include "core/CodePage.h"
#include "core/Numbers.h"
#include "core/TextOperations.h"
#include "tests/core/GbkBytes.h"

namespace korvel {
namespace {

using testing_support::GbkText;

TEST(Text, HoldsNothingAfterAZeroByte) {
    EXPECT_EQ(Text(std::string_view("ab\0c", 4)), "ab");
    EXPECT_EQ(Text(std::string("ab\0c", 4)), "ab");
    EXPECT_EQ(Text(static_cast<const char*>(nullptr)), "");
    EXPECT_EQ(Text().ArgumentPointer(), nullptr);
}

TEST(TrimText, Cases) {
    const struct {
        const char* name;
        Text text;
        Text expected;
    } cases[] = {
        {"blanks and full-width blanks", GbkText({0x20, 0xA1, 0xA1, 0x61, 0x20, 0x62, 0x20, 0xA1, 0xA1}), "a b"},
        {"tabs stay", "\ta b\t", "\ta b\t"},
        {"CR LF stay", " a\r\n ", "a\r\n"},
        {"only blanks", GbkText({0x20, 0xA1, 0xA1, 0x20}), ""},
        {"empty", "", ""},
        // B0 A1 is one character followed by a lone A1: no full-width blank at the end.
        {"A1 A1 across a character boundary", GbkText({0xB0, 0xA1, 0xA1}), GbkText({0xB0, 0xA1, 0xA1})},
        {"two-byte character kept", GbkText({0x20, 0xD5, 0xC5, 0x20}), GbkText({0xD5, 0xC5})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TrimText(c.text), c.expected);
    }
}

TEST(LeftAndMidText, Cases) {
    EXPECT_EQ(LeftText("abc", 0), "");
    EXPECT_EQ(LeftText("abc", -1), "");
    EXPECT_EQ(LeftText("abc", 9), "abc");
    EXPECT_EQ(LeftText("abc", 2), "ab");
    EXPECT_EQ(MidText("abcdef", 3, 2), "cd");
    EXPECT_EQ(MidText("abc", 3, 9), "c");
    EXPECT_EQ(MidText("abc", 4, 1), "");
    EXPECT_EQ(MidText("abc", 0, 1), "");
    EXPECT_EQ(MidText("abc", 1, 0), "");
    EXPECT_EQ(MidText("abc", 2, std::numeric_limits<int32_t>::max()), "bc");
    // Bytes only: a two-byte character may be cut in half.
    EXPECT_EQ(LeftText(GbkText({0xD5, 0xC5, 0xC8, 0xFD}), 3), GbkText({0xD5, 0xC5, 0xC8}));
    EXPECT_EQ(TextLength(GbkText({0xD5, 0xC5, 0x61})), 3);
}

TEST(CompareText, Cases) {
    const struct {
        const char* name;
        Text a;
        Text b;
        bool caseSensitive;
        int sign;
    } cases[] = {
        {"equal", "abc", "abc", true, 0},
        {"both empty", "", "", true, 0},
        {"prefix is less", "ab", "abc", true, -1},
        {"case matters", "abc", "ABC", true, 1},
        {"case ignored", "abc", "ABC", false, 0},
        {"unsigned bytes", GbkText({0xB0, 0xA1}), "a", true, 1},
        // Inside a two-byte character the second byte is no letter: case still counts.
        {"trail byte letters are not folded", GbkText({0xB0, 0x41}), GbkText({0xB0, 0x61}), false, -1},
        {"two-byte characters equal", "张三"_gbk, "张三"_gbk, false, 0},
        {"two-byte characters differ", "张三"_gbk, "张四"_gbk, true, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int32_t result = CompareText(c.a, c.b, c.caseSensitive);
        EXPECT_EQ((result > 0) - (result < 0), c.sign);
        const int32_t reverse = CompareText(c.b, c.a, c.caseSensitive);
        EXPECT_EQ((reverse > 0) - (reverse < 0), -c.sign);
    }
}

TEST(ConcatText, JoinsAndTakesNullAsEmpty) {
    const char* absent = nullptr;
    EXPECT_EQ(ConcatText(Text("a"), absent, "", "b", Text()), "ab");
    EXPECT_EQ(ConcatText(Text()), "");
    EXPECT_EQ(ConcatText("张"_gbk, "-", "三"_gbk), GbkText({0xD5, 0xC5, 0x2D, 0xC8, 0xFD}));
}

TEST(IntToText, Cases) {
    EXPECT_EQ(IntToText(-5), "-5");
    EXPECT_EQ(IntToText(0), "0");
    EXPECT_EQ(IntToText(400), "400");
    EXPECT_EQ(IntToText(std::numeric_limits<int32_t>::min()), "-2147483648");
    EXPECT_EQ(IntToText(std::numeric_limits<int32_t>::max()), "2147483647");
}

TEST(Numbers, TruncateToIntCutsTowardZero) {
    EXPECT_EQ(TruncateToInt(2.9), 2);
    EXPECT_EQ(TruncateToInt(-2.9), -2);
    EXPECT_EQ(TruncateToInt(-0.5), 0);
    EXPECT_EQ(TruncateToInt(1e12), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(TruncateToInt(-1e12), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(TruncateToInt(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(Numbers, BitOr) {
    static_assert(BitOr(1, 2) == 3);
    static_assert(BitOr(0x100, 0x800000, 0x40, 0x40) == 0x800140);
    EXPECT_EQ(BitOr(std::numeric_limits<int32_t>::min(), 1), std::numeric_limits<int32_t>::min() + 1);
}

}  // namespace
}  // namespace korvel
