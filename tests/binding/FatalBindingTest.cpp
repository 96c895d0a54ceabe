// A library or function that cannot be found ends the program with the fatal report,
// at the first call of the entry and not before.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "BindingTestFixture.h"
#include "core/binding/Binding.h"

namespace korvel::binding::testing {
namespace {

using BindingDeathTest = BindingTest;

TEST_F(BindingDeathTest, MissingEncoderEndsTheProgramAtItsFirstCall) {
    EmptyFolder empty;
    EXPECT_EXIT(
        {
            OverrideProgramDirectory(Text(empty.path()));
            Call<kCoInitialize>(nullptr);  // other libraries bind as before
            Call<kQRSetMessage>("djxh1");
        },
        ::testing::ExitedWithCode(255),
        "运行时出错!.*无法找到指定DLL库文件“QRCodeWin32\\.dll”中的输出命令“QRSetMessage”");
}

TEST_F(BindingDeathTest, MissingFunctionReleasesEveryBoundLibrary) {
    EXPECT_EXIT(
        {
            setenv("KORVEL_ANNOUNCE_UNLOAD", "1", 1);
            OverrideProgramDirectory(Text(FixtureFolder("program")));
            Call<kWinHttpCheckPlatform>();
            // The copy lacks this function: the report names both, and the release on the
            // way out unloads the copy that entry 0 still holds.
            Call<kWinHttpCrackUrl>(nullptr, 0, 0, nullptr);
        },
        ::testing::ExitedWithCode(255),
        "无法找到指定DLL库文件“Winhttp\\.dll”中的输出命令“WinHttpCrackUrl”.*fixture library unloaded");
}

TEST_F(BindingDeathTest, EntryWithoutLibraryNamesOnlyTheFunction) {
    EXPECT_EXIT(
        {
            UnregisterSystemLibrary("kernel32.dll");
            Call<kMultiByteToWideChar>(CODE_PAGE_936, 0, "a", -1, nullptr, 0);
        },
        ::testing::ExitedWithCode(255), "无法找到指定DLL库文件中的输出命令“MultiByteToWideChar”");
}

}  // namespace
}  // namespace korvel::binding::testing
