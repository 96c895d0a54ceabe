// An entry is looked up once, on its own, and an entry without a library takes the first
// system library that exports its function.
#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "BindingTestFixture.h"
#include "core/binding/Binding.h"

namespace korvel::binding::testing {
namespace {

int g_fakeCalls = 0;
int32_t CountingCoInitialize(void*) { return ++g_fakeCalls; }

TEST_F(BindingTest, BoundEntryIsNotLookedUpAgain) {
    g_fakeCalls = 0;
    RegisterSystemLibrary("ole32.dll", {{"CoInitialize", FunctionAddress(&CountingCoInitialize)}});
    EXPECT_EQ(Call<kCoInitialize>(nullptr), 1);
    // Gone from the registry, yet the bound address is still used.
    UnregisterSystemLibrary("ole32.dll");
    EXPECT_EQ(Call<kCoInitialize>(nullptr), 2);
    EXPECT_EQ(LoadCount("ole32.dll"), 1);
}

TEST_F(BindingTest, EntriesOfOneFunctionBindIndependently) {
    const std::u16string units = u"\u4e2d";  // one character, two GBK bytes
    std::array<char, 4> buffer{};
    EXPECT_EQ(Call<kWideCharToMultiByteSize>(CODE_PAGE_936, WC_COMPOSITECHECK, units.data(), 1, nullptr, 0, nullptr, nullptr), 2);
    EXPECT_EQ(LoadCount("kernel32.dll"), 1);
    EXPECT_EQ(Call<kWideCharToMultiByte>(CODE_PAGE_936, WC_COMPOSITECHECK, units.data(), 1, buffer.data(), 4, nullptr, nullptr), 2);
    EXPECT_EQ(LoadCount("kernel32.dll"), 2);
    EXPECT_EQ(Call<kWideCharToMultiByteSize>(CODE_PAGE_936, WC_COMPOSITECHECK, units.data(), 1, nullptr, 0, nullptr, nullptr), 2);
    EXPECT_EQ(LoadCount("kernel32.dll"), 2);
}

// Fakes of the search list: each answers with its place in the list.
template <int Place>
int32_t FakeMultiByteToWideChar(uint32_t, uint32_t, const char*, int32_t, char16_t*, int32_t) {
    return Place;
}
int32_t Unrelated() { return 0; }

constexpr std::array<const char*, 6> kSearchOrder = {"Kernel32.dll", "Gdi32.dll", "User32.dll",
                                                     "Advapi32.dll", "Mpr.dll", "Shell32.dll"};

enum class Holds { kNothing, kOtherFunctions, kTheFunction };

struct SearchCase {
    const char* name;
    std::array<Holds, 6> libraries;  // what each library of the search list holds
    int expectedPlace;               // the library that answers, 0-based
    std::array<int, 6> expectedLoads;
};

void RegisterSearchLibrary(int place, Holds holds) {
    static constexpr std::array kFakes = {&FakeMultiByteToWideChar<0>, &FakeMultiByteToWideChar<1>,
                                          &FakeMultiByteToWideChar<2>, &FakeMultiByteToWideChar<3>,
                                          &FakeMultiByteToWideChar<4>, &FakeMultiByteToWideChar<5>};
    const char* name = kSearchOrder[static_cast<std::size_t>(place)];
    UnregisterSystemLibrary(name);
    if (holds == Holds::kOtherFunctions) RegisterSystemLibrary(name, {{"Unrelated", FunctionAddress(&Unrelated)}});
    if (holds == Holds::kTheFunction) {
        RegisterSystemLibrary(name, {{"MultiByteToWideChar", FunctionAddress(kFakes[static_cast<std::size_t>(place)])}});
    }
}

void PrintTo(const SearchCase& c, std::ostream* out) { *out << c.name; }

class SystemSearchTest : public BindingTest, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(SystemSearchTest, FirstLibraryThatExportsTheFunctionAnswers) {
    const SearchCase& c = GetParam();
    for (int place = 0; place < 6; ++place) RegisterSearchLibrary(place, c.libraries[static_cast<std::size_t>(place)]);

    EXPECT_EQ(Call<kMultiByteToWideChar>(CODE_PAGE_936, 0, "a", -1, nullptr, 0), c.expectedPlace);
    for (int place = 0; place < 6; ++place) {
        SCOPED_TRACE(kSearchOrder[static_cast<std::size_t>(place)]);
        EXPECT_EQ(LoadCount(kSearchOrder[static_cast<std::size_t>(place)]), c.expectedLoads[static_cast<std::size_t>(place)]);
    }
}

using enum Holds;
INSTANTIATE_TEST_SUITE_P(
    Binding, SystemSearchTest,
    ::testing::Values(
        SearchCase{"KernelFirst", {kTheFunction, kTheFunction, kNothing, kNothing, kNothing, kNothing}, 0, {1, 0, 0, 0, 0, 0}},
        SearchCase{"GdiBeforeUser",
                   {kOtherFunctions, kTheFunction, kTheFunction, kNothing, kNothing, kNothing}, 1, {1, 1, 0, 0, 0, 0}},
        SearchCase{"LastOfTheList",
                   {kOtherFunctions, kNothing, kOtherFunctions, kOtherFunctions, kNothing, kTheFunction}, 5, {1, 0, 1, 1, 0, 1}}),
    [](const ::testing::TestParamInfo<SearchCase>& info) { return std::string(info.param.name); });

TEST_F(BindingTest, EntryWithoutLibraryFindsThePlatformConversion) {
    std::array<char16_t, 2> units{};
    EXPECT_EQ(Call<kMultiByteToWideChar>(CODE_PAGE_936, 0, "\xd6\xd0", -1, units.data(), 2), 2);
    EXPECT_EQ(units[0], u'\u4e2d');
    EXPECT_EQ(LoadCount("Kernel32.dll"), 1);
}

}  // namespace
}  // namespace korvel::binding::testing
