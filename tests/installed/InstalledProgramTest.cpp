// The program as a user gets it: installed with cmake --install into a fresh prefix,
// started through its launcher link on a bare X server of the test's own, and driven with
// the mouse and the keyboard: a click on 按钮2, a folder typed into the browser, Enter, and
// Enter again on the box that ends the export.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/installed/ChildProcess.h"
#include "tests/installed/VirtualDesktop.h"
#include "tests/support/QrDecoders.h"

namespace korvel::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using testing_support::DecodeQrBmp;
using testing_support::QrDecoder;

// Window titles, as the program sets them.
const std::string kMainTitle = "【Korvel】二维码生成器";
const std::string kBrowserTitle = "保存：";
const std::string kMessageTitle = "信息：";
const std::string kErrorTitle = "错误";

// The middle of 按钮2 in the window's fixed layout (inside the frame; the bare server
// draws no frame).
constexpr int kExportButtonX = 536 + 112 / 2;
constexpr int kExportButtonY = 384 + 40 / 2;

// Bounds, generous enough for a sanitizer build on a busy machine.
constexpr auto kInstall = 180s;
constexpr auto kWindowAppears = 60s;
constexpr auto kExportEnds = 120s;
constexpr auto kFocus = 10s;
constexpr auto kProgramEnds = 30s;

// The rows of the roster the window starts with: file name -> content of its code.
std::map<std::string, std::string> InitialRosterFiles() {
    const std::vector<std::string> names = {"张伟", "王秀英", "李娜", "刘建国", "陈静",
                                            "杨晓明", "赵磊", "黄丽华", "孙浩", "吴敏"};
    std::map<std::string, std::string> files;
    for (int row = 1; row <= 10; ++row) {
        const std::string id = std::to_string(35020180000 + row);
        files[std::to_string(row) + "-" + names[row - 1] + "-" + id + ".jpg"] = "djxh" + id;
    }
    return files;
}

std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// The files of shared libraries named name that the process has mapped.
std::vector<fs::path> MappedLibraries(pid_t pid, const std::string& name) {
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::vector<fs::path> files;
    for (std::string line; std::getline(maps, line);) {
        const std::size_t path = line.find('/');
        if (path == std::string::npos) continue;
        const fs::path file = line.substr(path);
        if (file.filename() == name && std::find(files.begin(), files.end(), file) == files.end()) {
            files.push_back(file);
        }
    }
    return files;
}

// Holds the lock of the build folder's installs while it lives: tests that run side by
// side install one after the other, since an install also writes into the build folder.
class InstallLock {
public:
    explicit InstallLock(const fs::path& file)
        : descriptor_(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {}
    ~InstallLock() {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    // True once the lock is ours; false when the other install still held it at timeout.
    bool Take(std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (descriptor_ >= 0) {
            if (::flock(descriptor_, LOCK_EX | LOCK_NB) == 0) return true;
            if (std::chrono::steady_clock::now() >= deadline) break;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

private:
    int descriptor_;
};

class InstalledProgramTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "korvel-installed-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        prefix_ = root_ / "prefix";
        exportFolder_ = root_ / "export";
        fs::create_directories(exportFolder_);
        fs::create_directories(root_ / "home");
        fs::create_directories(root_ / "runtime");
        fs::permissions(root_ / "runtime", fs::perms::owner_all);
        ASSERT_NO_FATAL_FAILURE(Install());
        desktop_ = std::make_unique<VirtualDesktop>(root_);
        ASSERT_TRUE(desktop_->Ready()) << desktop_->Error();
    }

    void TearDown() override {
        program_.reset();
        desktop_.reset();
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    fs::path ProgramFolder() const { return prefix_ / "libexec" / "korvel-qr"; }
    fs::path InstalledEncoder() const { return ProgramFolder() / "libQRCodeWin32.so"; }

    void Install() {
        InstallLock lock(fs::path(KORVEL_BUILD_DIR) / "installed-test.lock");
        ASSERT_TRUE(lock.Take(kInstall)) << "another install of the build folder did not end";
        const Finished install = RunToEnd({KORVEL_CMAKE_COMMAND, "--install", KORVEL_BUILD_DIR, "--prefix", prefix_},
                                          EnvironmentWith({}), root_, kInstall);
        ASSERT_TRUE(install.ended && install.exitCode == 0) << install.output << install.errors;
        ASSERT_TRUE(fs::is_symlink(prefix_ / "bin" / "korvel-qr"));
        ASSERT_TRUE(fs::is_regular_file(ProgramFolder() / "korvel-qr"));
        ASSERT_TRUE(fs::is_regular_file(InstalledEncoder()));
    }

    // Starts the program through its launcher link, as the menu entry or a shell would, on
    // the test's X server, with nothing that points into the build folder and no session
    // bus to talk to (the toolkit's bus client would leave its buffers to the leak checker
    // of a sanitizer build), then waits for its window.
    void StartProgram() {
        const std::vector<std::string> environment = EnvironmentWith({
            {"DISPLAY", desktop_->Display()},
            {"QT_QPA_PLATFORM", std::nullopt},
            {"WAYLAND_DISPLAY", std::nullopt},
            {"LD_LIBRARY_PATH", std::nullopt},
            {"HOME", (root_ / "home").string()},
            {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + (root_ / "no-bus").string()},
            {"XDG_RUNTIME_DIR", (root_ / "runtime").string()},
        });
        program_ = std::make_unique<ChildProcess>(std::vector<std::string>{prefix_ / "bin" / "korvel-qr"},
                                                  environment, root_, "korvel-qr");
        ASSERT_TRUE(program_->Started()) << program_->StartError();
        const std::optional<std::string> window = desktop_->WaitForWindow(kMainTitle, kWindowAppears);
        ASSERT_TRUE(window) << "no main window; the program said: " << program_->Errors();
        mainWindow_ = *window;
    }

    // Clicks 按钮2, types the folder into the browser's name field and presses Enter.
    void ExportInto(const fs::path& folder) {
        ASSERT_TRUE(desktop_->Click(mainWindow_, kExportButtonX, kExportButtonY)) << desktop_->LastFailure();
        ASSERT_TRUE(desktop_->WaitForWindow(kBrowserTitle, kWindowAppears)) << "the folder browser did not open";
        ASSERT_TRUE(desktop_->WaitForFocus(kBrowserTitle, kFocus)) << desktop_->LastFailure();
        ASSERT_TRUE(desktop_->Key("ctrl+a")) << desktop_->LastFailure();
        ASSERT_TRUE(desktop_->Type(folder.string())) << desktop_->LastFailure();
        ASSERT_TRUE(desktop_->Key("Return")) << desktop_->LastFailure();
        // An open completion list may take the first Enter for itself.
        if (!desktop_->WaitUntilGone(kBrowserTitle, 5s)) {
            ASSERT_TRUE(desktop_->Key("Return")) << desktop_->LastFailure();
            ASSERT_TRUE(desktop_->WaitUntilGone(kBrowserTitle, kFocus)) << "the folder browser stayed open";
        }
    }

    // Presses Enter on the box with the title, which must be open.
    void Answer(const std::string& title) {
        const std::optional<std::string> box = desktop_->WaitForWindow(title, kFocus);
        ASSERT_TRUE(box) << "no box titled " << title;
        if (desktop_->WaitForFocus(title, kFocus)) {
            ASSERT_TRUE(desktop_->Key("Return")) << desktop_->LastFailure();
        } else {
            ASSERT_TRUE(desktop_->Key("Return", *box)) << desktop_->LastFailure();
        }
        ASSERT_TRUE(desktop_->WaitUntilGone(title, kFocus)) << "the box titled " << title << " stayed open";
    }

    fs::path root_;
    fs::path prefix_;
    fs::path exportFolder_;
    std::unique_ptr<VirtualDesktop> desktop_;
    std::unique_ptr<ChildProcess> program_;
    std::string mainWindow_;
};

TEST_F(InstalledProgramTest, ExportsTheInitialRosterWithTheEncoderBesideIt) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_NO_FATAL_FAILURE(ExportInto(exportFolder_));
    // The box that ends the export comes after the last row.
    ASSERT_TRUE(desktop_->WaitForWindow(kMessageTitle, kExportEnds)) << program_->Errors();

    EXPECT_EQ(MappedLibraries(program_->Pid(), "libQRCodeWin32.so"),
              std::vector<fs::path>{fs::canonical(InstalledEncoder())});
    const std::map<std::string, std::string> expected = InitialRosterFiles();
    std::vector<std::string> expectedNames;
    for (const auto& [name, content] : expected) expectedNames.push_back(name);
    EXPECT_EQ(NamesIn(exportFolder_), expectedNames);
    for (const auto& [name, content] : expected) {
        SCOPED_TRACE(name);
        EXPECT_EQ(DecodeQrBmp(QrDecoder::kZXing, (exportFolder_ / name).string()).bytes, content);
    }

    ASSERT_NO_FATAL_FAILURE(Answer(kMessageTitle));
    // Esc closes the window, and with it the program.
    ASSERT_TRUE(desktop_->Focus(mainWindow_)) << desktop_->LastFailure();
    ASSERT_TRUE(desktop_->WaitForFocus(kMainTitle, kFocus)) << desktop_->LastFailure();
    ASSERT_TRUE(desktop_->Key("Escape")) << desktop_->LastFailure();
    EXPECT_EQ(program_->WaitForExit(kProgramEnds), 0) << program_->Errors();
    EXPECT_EQ(program_->Errors().find("运行时出错"), std::string::npos) << program_->Errors();
}

TEST_F(InstalledProgramTest, WithoutItsEncoderTheFirstCodeEndsTheProgramWithTheReport) {
    ASSERT_TRUE(fs::remove(InstalledEncoder()));
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    // Nothing is bound at start: the window comes up and waits for the user.
    EXPECT_TRUE(program_->Running());
    EXPECT_EQ(program_->Errors().find("运行时出错"), std::string::npos) << program_->Errors();

    ASSERT_NO_FATAL_FAILURE(ExportInto(exportFolder_));
    ASSERT_TRUE(desktop_->WaitForWindow(kErrorTitle, kExportEnds)) << "no error box; " << program_->Errors();
    // The box waits for the user; the program ends when it is answered.
    EXPECT_TRUE(program_->Running());
    ASSERT_NO_FATAL_FAILURE(Answer(kErrorTitle));
    EXPECT_EQ(program_->WaitForExit(kProgramEnds), 255);

    const std::string report = program_->Errors();
    EXPECT_NE(report.find("运行时出错!\r\n"), std::string::npos) << report;
    EXPECT_NE(report.find("错误信息：无法找到指定DLL库文件“QRCodeWin32.dll”中的输出命令“QRSetMessage”\r\n"),
              std::string::npos)
        << report;
    EXPECT_TRUE(NamesIn(exportFolder_).empty());
}

}  // namespace
}  // namespace korvel::test
