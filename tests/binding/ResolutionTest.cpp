// Where a declared library name is found: system libraries first, then the program's
// folder, then the standard search.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "BindingTestFixture.h"
#include "core/binding/Binding.h"

namespace korvel::binding::testing {
namespace {

constexpr int kSystemCopy = 3;
int32_t SystemCheckPlatform() { return kSystemCopy; }

struct ResolutionCase {
    const char* name;
    bool copyInProgramFolder;                // else the program's folder is empty
    std::optional<const char*> systemName;   // a system library registered under this name
    int expectedCopy;
};

void PrintTo(const ResolutionCase& c, std::ostream* out) { *out << c.name; }

class ResolutionTest : public BindingTest, public ::testing::WithParamInterface<ResolutionCase> {};

TEST_P(ResolutionTest, FindsTheExpectedCopy) {
    const ResolutionCase& c = GetParam();
    EmptyFolder empty;
    OverrideProgramDirectory(Text(c.copyInProgramFolder ? FixtureFolder("program") : empty.path()));
    if (c.systemName) RegisterSystemLibrary(*c.systemName, {{"WinHttpCheckPlatform", FunctionAddress(&SystemCheckPlatform)}});

    EXPECT_EQ(Call<kWinHttpCheckPlatform>(), c.expectedCopy);
    EXPECT_EQ(LoadCount("Winhttp.dll"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Binding, ResolutionTest,
    ::testing::Values(ResolutionCase{"ProgramFolderBeforeSearchPath", true, std::nullopt, kProgramCopy},
                      ResolutionCase{"SearchPathWhenProgramFolderLacksIt", false, std::nullopt, kSearchCopy},
                      ResolutionCase{"SystemLibraryBeforeProgramFolder", true, "Winhttp.dll", kSystemCopy},
                      ResolutionCase{"SystemNameComparedWithoutCase", true, "WINHTTP.DLL", kSystemCopy}),
    [](const ::testing::TestParamInfo<ResolutionCase>& info) { return std::string(info.param.name); });

TEST_F(BindingTest, EncoderLoadsFromTheProgramFolderOnceForTwoCalls) {
    EXPECT_EQ(Call<kQRSetMessage>("first"), 1);
    EXPECT_EQ(Call<kQRSetMessage>("second"), 1);
    EXPECT_EQ(LoadCount("QRCodeWin32.dll"), 1);
    EXPECT_EQ(LoadCount("qrcodewin32.DLL"), 1);  // counted by name, letter case ignored
}

// Whether the shared object is loaded in this process; the probe drops its own reference.
bool IsLoaded(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle) dlclose(handle);
    return handle != nullptr;
}

TEST_F(BindingTest, ReleaseUnloadsALibraryHeldByTwoEntries) {
    const std::string copy = FixtureFolder("program") + "/libWinhttp.so";
    OverrideProgramDirectory(Text(FixtureFolder("program")));
    Call<kWinHttpCheckPlatform>();
    Call<kWinHttpCloseHandle>(nullptr);
    EXPECT_EQ(LoadCount("Winhttp.dll"), 2);  // each entry holds its own reference
    EXPECT_TRUE(IsLoaded(copy));

    ReleaseAllLibraries();
    EXPECT_FALSE(IsLoaded(copy));
    // Released entries bind afresh at their next call.
    EXPECT_EQ(Call<kWinHttpCheckPlatform>(), kProgramCopy);
    EXPECT_EQ(LoadCount("Winhttp.dll"), 3);
}

TEST(SharedObjectFileName, MapsWindowsNamesInOnePlace) {
    struct Case {
        const char* declared;
        const char* file;
    };
    for (const Case& c : {Case{"QRCodeWin32.dll", "libQRCodeWin32.so"}, Case{"Winhttp.DLL", "libWinhttp.so"},
                          Case{"/opt/x/Mpr.dll", "/opt/x/libMpr.so"}, Case{"libfoo.so.1", "libfoo.so.1"},
                          Case{".dll", ".dll"}}) {
        SCOPED_TRACE(c.declared);
        EXPECT_EQ(SharedObjectFileName(c.declared), c.file);
    }
}

}  // namespace
}  // namespace korvel::binding::testing
