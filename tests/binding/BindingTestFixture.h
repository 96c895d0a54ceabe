#pragma once
// Every binding test starts unbound and leaves the platform's libraries as it found them.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "core/binding/Binding.h"
#include "platform/Registrations.h"

namespace korvel::binding::testing {

// The two copies of the small "Winhttp.dll" library the build makes for these tests.
inline constexpr int kProgramCopy = 1;  // in the folder a test names as the program's
inline constexpr int kSearchCopy = 2;   // found only through the standard search
inline std::string FixtureFolder(const char* copy) { return std::string(KORVEL_BINDING_FIXTURE_DIR) + "/" + copy; }

// A fresh empty folder, removed with everything in it at the end of the test.
class EmptyFolder {
public:
    EmptyFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvel-binding-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~EmptyFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    EmptyFolder(const EmptyFolder&) = delete;
    EmptyFolder& operator=(const EmptyFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

class BindingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetBindings();
        // The fixture copies stand for "Winhttp.dll" only while no system library does.
        UnregisterSystemLibrary("Winhttp.dll");
    }
    void TearDown() override {
        ResetBindings();
        OverrideProgramDirectory(std::nullopt);
        for (const char* fake : {"Winhttp.dll", "Gdi32.dll", "User32.dll", "Advapi32.dll", "Mpr.dll", "Shell32.dll"}) {
            UnregisterSystemLibrary(fake);
        }
        platform::RegisterKernelAndCom();  // a test may have replaced them with fakes
        platform::RegisterWinHttp();
    }
};

}  // namespace korvel::binding::testing
