// The code page conversions the program binds from "kernel32.dll", called as it calls them.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/binding/Binding.h"

namespace korvel::platform {
namespace {

using binding::Call;

struct ToWideCase {
    const char* name;
    std::string bytes;        // GBK; NULs inside count when length is given
    int32_t length;           // -1: up to and including the first NUL
    std::u16string expected;  // the units written, terminator included when converted
};

void PrintTo(const ToWideCase& c, std::ostream* out) { *out << c.name; }

class MultiByteToWideCharTest : public ::testing::TestWithParam<ToWideCase> {};

int32_t ToWide(const ToWideCase& c, char16_t* buffer, int32_t capacity) {
    return Call<binding::kMultiByteToWideChar>(CODE_PAGE_936, 0, c.bytes.c_str(), c.length, buffer, capacity);
}

TEST_P(MultiByteToWideCharTest, SizeThenConversion) {
    const ToWideCase& c = GetParam();
    const auto needed = static_cast<int32_t>(c.expected.size());
    EXPECT_EQ(ToWide(c, nullptr, 0), needed);

    std::u16string buffer(c.expected.size() + 1, u'\xAAAA');
    EXPECT_EQ(ToWide(c, buffer.data(), needed), needed);
    EXPECT_EQ(buffer.substr(0, c.expected.size()), c.expected);
    EXPECT_EQ(buffer.back(), u'\xAAAA');  // nothing past the units
    if (needed > 1) {  // one unit short; a capacity of 0 would ask for the size
        EXPECT_EQ(ToWide(c, buffer.data(), needed - 1), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Platform, MultiByteToWideCharTest,
    ::testing::Values(ToWideCase{"Letter", "A", -1, std::u16string(u"A\0", 2)},
                      ToWideCase{"Chinese", "\xd6\xd0", -1, std::u16string(u"\u4e2d\0", 2)},
                      ToWideCase{"Mixed", "a\xd6\xd0" "b", -1, std::u16string(u"a\u4e2db\0", 4)},
                      ToWideCase{"EmptyWithTerminator", "", -1, std::u16string(1, u'\0')},
                      ToWideCase{"GivenLengthHasNoTerminator", "AB", 2, u"AB"},
                      ToWideCase{"GivenLengthKeepsNul", std::string("A\0B", 3), 3, std::u16string(u"A\0B", 3)},
                      ToWideCase{"MinusOneStopsAtFirstNul", std::string("A\0B", 3), -1, std::u16string(u"A\0", 2)},
                      ToWideCase{"EuroSign", "\x80", 1, u"\u20ac"},
                      ToWideCase{"LoneLeadByteAtEnd", "A\xd6", 2, u"A\ufffd"}),
    [](const ::testing::TestParamInfo<ToWideCase>& info) { return std::string(info.param.name); });

struct ToNarrowCase {
    const char* name;
    std::u16string units;
    int32_t count;          // -1: up to and including the first NUL
    std::string expected;   // GBK bytes written, terminator included when converted
    int32_t usedDefault;
};

void PrintTo(const ToNarrowCase& c, std::ostream* out) { *out << c.name; }

class WideCharToMultiByteTest : public ::testing::TestWithParam<ToNarrowCase> {};

TEST_P(WideCharToMultiByteTest, SizeEntryThenConversionEntry) {
    const ToNarrowCase& c = GetParam();
    const auto needed = static_cast<int32_t>(c.expected.size());
    EXPECT_EQ(Call<binding::kWideCharToMultiByteSize>(CODE_PAGE_936, WC_COMPOSITECHECK, c.units.c_str(), c.count,
                                                      nullptr, 0, nullptr, nullptr),
              needed);

    std::string buffer(c.expected.size() + 1, '\xAA');
    int32_t usedDefault = -1;
    EXPECT_EQ(Call<binding::kWideCharToMultiByte>(CODE_PAGE_936, WC_COMPOSITECHECK, c.units.c_str(), c.count,
                                                  buffer.data(), needed, nullptr, &usedDefault),
              needed);
    EXPECT_EQ(buffer.substr(0, c.expected.size()), c.expected);
    EXPECT_EQ(buffer.back(), '\xAA');
    EXPECT_EQ(usedDefault, c.usedDefault);
    if (needed > 1) {  // one byte short; a capacity of 0 would ask for the size
        EXPECT_EQ(Call<binding::kWideCharToMultiByte>(CODE_PAGE_936, WC_COMPOSITECHECK, c.units.c_str(), c.count,
                                                      buffer.data(), needed - 1, nullptr, nullptr),
                  0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Platform, WideCharToMultiByteTest,
    ::testing::Values(ToNarrowCase{"Letters", u"AB", 2, "AB", 0},
                      ToNarrowCase{"Chinese", u"\u4e2d", 1, "\xd6\xd0", 0},
                      ToNarrowCase{"MinusOneCountsTheTerminator", u"A", -1, std::string("A\0", 2), 0},
                      ToNarrowCase{"CountKeepsNul", std::u16string(u"A\0B", 3), 3, std::string("A\0B", 3), 0},
                      ToNarrowCase{"EuroSign", u"\u20ac", 1, "\x80", 0},
                      ToNarrowCase{"OwnQuestionMarkIsNoDefault", u"?", 1, "?", 0},
                      ToNarrowCase{"OutsideGbkBecomesQuestionMark", u"a\u0e01?", 3, "a??", 1},
                      ToNarrowCase{"LoneSurrogate", u"\xd800" "b", 2, "?b", 1}),
    [](const ::testing::TestParamInfo<ToNarrowCase>& info) { return std::string(info.param.name); });

TEST(CodePageConversion, RefusedCallsGiveZero) {
    char16_t wide[8];
    char narrow[8];
    const char16_t* units = u"A";
    struct Case {
        const char* name;
        int32_t toWide;
        int32_t toNarrow;
    };
    for (const Case& c : {
             Case{"OtherCodePage", Call<binding::kMultiByteToWideChar>(65001, 0, "A", -1, wide, 8),
                  Call<binding::kWideCharToMultiByte>(65001, 0, units, -1, narrow, 8, nullptr, nullptr)},
             Case{"NullSource", Call<binding::kMultiByteToWideChar>(CODE_PAGE_936, 0, nullptr, -1, wide, 8),
                  Call<binding::kWideCharToMultiByte>(CODE_PAGE_936, 0, nullptr, -1, narrow, 8, nullptr, nullptr)},
             Case{"LengthZero", Call<binding::kMultiByteToWideChar>(CODE_PAGE_936, 0, "A", 0, wide, 8),
                  Call<binding::kWideCharToMultiByte>(CODE_PAGE_936, 0, units, 0, narrow, 8, nullptr, nullptr)},
             Case{"LengthBelowMinusOne", Call<binding::kMultiByteToWideChar>(CODE_PAGE_936, 0, "A", -2, wide, 8),
                  Call<binding::kWideCharToMultiByte>(CODE_PAGE_936, 0, units, -2, narrow, 8, nullptr, nullptr)},
             Case{"NegativeCapacity", Call<binding::kMultiByteToWideChar>(CODE_PAGE_936, 0, "A", -1, wide, -1),
                  Call<binding::kWideCharToMultiByte>(CODE_PAGE_936, 0, units, -1, narrow, -1, nullptr, nullptr)},
             Case{"NoBufferForCapacity", Call<binding::kMultiByteToWideChar>(CODE_PAGE_936, 0, "A", -1, nullptr, 8),
                  Call<binding::kWideCharToMultiByte>(CODE_PAGE_936, 0, units, -1, nullptr, 8, nullptr, nullptr)},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.toWide, 0);
        EXPECT_EQ(c.toNarrow, 0);
    }
}

}  // namespace
}  // namespace korvel::platform
