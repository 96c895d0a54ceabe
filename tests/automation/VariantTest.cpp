// Variants: what they hold when new, stored, copied and cleared, and how they read as text.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/CodePage.h"
#include "core/automation/Automation.h"
#include "tests/automation/TextPrinting.h"

namespace korvel {
namespace {

TEST(Variant, NewHoldsIntegerZeroAndClearedIsEmpty) {
    Variant variant;
    ASSERT_NE(variant.integer(), nullptr);
    EXPECT_EQ(*variant.integer(), 0);
    ClearVariant(&variant);
    EXPECT_TRUE(variant.empty());
}

TEST(Variant, ToTextByKind) {
    struct Case {
        const char* name;
        Variant variant;
        Text expected;
    };
    const Case cases[] = {
        {"true", Variant::Boolean(true), "-1"},
        {"false", Variant::Boolean(false), "0"},
        {"empty", Variant::Empty(), ""},
        {"new", Variant(), "0"},
        {"negative integer", Variant::Integer(-2147483647 - 1), "-2147483648"},
        {"real with fraction", Variant::Real(2.5), "2.5"},
        {"whole real", Variant::Real(3.0), "3"},
        {"real needing 15 digits", Variant::Real(0.1 + 0.2), "0.3"},
        {"negative zero", Variant::Real(-0.0), "0"},
        {"large real", Variant::Real(1e20), "1E+20"},
        {"small real", Variant::Real(0.00001), "1E-05"},
        {"small real in plain digits", Variant::Real(0.0001), "0.0001"},
        {"not a number", Variant::Real(std::numeric_limits<double>::quiet_NaN()), "NaN"},
        {"string", Variant::String(u"a\u4E2D"), "a\xD6\xD0"},
        {"string GBK cannot hold", Variant::String(u"\U0001F600"), "?"},
        {"byte array", Variant::Array({0x41}), ""},
        {"empty object", Variant::Object(AutomationObject()), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(VariantToText(c.variant), c.expected);
    }
}

TEST(Variant, AssignBytesGivesAnArrayFromIndexOne) {
    Variant variant = Variant::String(u"old");
    ASSERT_TRUE(AssignVariant(&variant, Bytes(std::vector<uint8_t>{0x01, 0x02})));
    const ByteArray* array = variant.byteArray();
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(array->LowerBound(), 1);
    EXPECT_EQ(array->UpperBound(), 2);
    EXPECT_EQ(array->bytes, (std::vector<uint8_t>{0x01, 0x02}));

    ASSERT_TRUE(AssignVariant(&variant, Bytes()));
    ASSERT_NE(variant.byteArray(), nullptr);
    EXPECT_EQ(variant.byteArray()->UpperBound(), 0) << "no bytes: an array of 0 elements";
}

TEST(Variant, AssignTextStoresUtf16) {
    Variant variant;
    ASSERT_TRUE(AssignVariant(&variant, "a中"_gbk));
    ASSERT_NE(variant.string(), nullptr);
    EXPECT_EQ(*variant.string(), u"a\u4E2D");
    EXPECT_EQ(VariantToText(variant), "a中"_gbk);
    EXPECT_FALSE(AssignVariant(nullptr, Text("x")));
}

TEST(Variant, CopyIsIndependent) {
    Variant source = Variant::Array({7, 8});
    Variant target = Variant::Integer(5);
    CopyVariant(&target, source);
    ClearVariant(&source);
    ASSERT_NE(target.byteArray(), nullptr);
    EXPECT_EQ(target.byteArray()->bytes, (std::vector<uint8_t>{7, 8}));
}

}  // namespace
}  // namespace korvel
