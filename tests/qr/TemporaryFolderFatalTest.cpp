// The private folder of the picture file is removed when the program ends through the
// fatal report, which runs no exit handlers.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "core/CodePage.h"
#include "core/FatalError.h"
#include "qr/TemporaryImagePath.h"

namespace korvel {
namespace {

TEST(TemporaryFolderDeathTest, FatalEndRemovesThePrivateFolder) {
    // A fresh process of its own, so the folder it makes is not this process's folder.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The child names its folder in a note that this process can find: the child's parent
    // is this process.
    auto noteOf = [](pid_t testProcess) { return "/tmp/korvel-fatal-note-" + std::to_string(testProcess); };
    const std::string note = noteOf(::getpid());
    EXPECT_EXIT(
        {
            const std::string file = GbkToUtf8(TemporaryImagePath());
            std::ofstream(noteOf(::getppid())) << file.substr(0, file.rfind('/'));
            ReportFatalError(0, Text("stop"));
        },
        testing::ExitedWithCode(255), "stop");
    std::string folder;
    std::getline(std::ifstream(note), folder);
    ::unlink(note.c_str());
    ASSERT_FALSE(folder.empty());
    struct stat status {};
    EXPECT_NE(::stat(folder.c_str(), &status), 0) << folder << " was left behind";
}

}  // namespace
}  // namespace korvel
