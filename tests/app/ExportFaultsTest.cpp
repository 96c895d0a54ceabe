// The personal export when the file system fails under it: a disk that fills up and a
// folder that disappears half way. Every row is either written whole or named as failed,
// and the window goes on working. (A file held in use by someone else is in
// PersonalExportTest.)
#include <sys/mount.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "app/Workflows.h"
#include "core/CodePage.h"
#include "core/Services.h"
#include "tests/app/PersonalExportFixture.h"

namespace korvel::test {
namespace {

// A roster of rows rows whose IDs all have the same length, so every code is as large as
// the next: "学生" names, IDs 35020180001 on.
struct SameSizeRoster {
    explicit SameSizeRoster(int rows) {
        for (int row = 1; row <= rows; ++row) {
            const std::string separator = row > 1 ? "\r\n" : "";
            serials += separator + std::to_string(row);
            names += separator + "学生";
            ids += separator + Id(row);
        }
    }
    static std::string Id(int row) { return std::to_string(35020180000 + row); }
    static std::string Key(int row) { return std::to_string(row) + "-学生-" + Id(row); }
    static std::string FileName(int row) { return Key(row) + ".jpg"; }

    std::string serials, names, ids;
};

// The final message of an export of rows rows of which the first written ones were saved.
std::string MessageForRowsFrom(int written, int rows) {
    if (written == rows) return "输出图片成功";
    std::string message = "输出图片完成，但有" + std::to_string(rows - written) + "行未能保存：";
    for (int row = written + 1; row <= rows && row <= written + 10; ++row) {
        message += "\r\n" + SameSizeRoster::Key(row);
    }
    if (rows - written > 10) message += "\r\n……";
    return message;
}

// The folder holds exactly the files of rows 1 to written, each with the row's code.
void ExpectWholeFilesOfFirstRows(const std::filesystem::path& folder, int written) {
    std::vector<std::string> expected;
    for (int row = 1; row <= written; ++row) expected.push_back(SameSizeRoster::FileName(row));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(NamesIn(folder), expected);
    for (int row = 1; row <= written; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(FileBytes(folder / SameSizeRoster::FileName(row)), CodeBytes("djxh" + SameSizeRoster::Id(row)));
    }
}

// While it lives, every pass of ProcessPendingMessages first runs step with the number of
// the pass (from 1), then lets the window's events through as the window's own hook does.
class PendingMessagesStep {
public:
    explicit PendingMessagesStep(std::function<void(int pass)> step) {
        SetPendingMessagesHook([this, step = std::move(step)] {
            step(++passes_);
            QCoreApplication::processEvents();
        });
    }
    ~PendingMessagesStep() {
        SetPendingMessagesHook([] { QCoreApplication::processEvents(); });
    }
    PendingMessagesStep(const PendingMessagesStep&) = delete;
    PendingMessagesStep& operator=(const PendingMessagesStep&) = delete;

private:
    int passes_ = 0;
};

// The folder the browser answers is a small file system of its own, mounted for the test
// and unmounted after it whatever the test did. Mounting needs root; without it the tests
// are skipped.
class FullDiskExportTest : public PersonalExportTest {
protected:
    // Room for about twenty codes of the roster above, in whole pages.
    static constexpr const char* kSize = "size=256k";

    void SetUp() override {
        PersonalExportTest::SetUp();
        small_ = root_ / "small";
        std::filesystem::create_directory(small_);
        if (::mount("tmpfs", small_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, kSize) != 0) {
            GTEST_SKIP() << "cannot mount a small tmpfs here (" << std::strerror(errno) << "); run as root";
        }
        mounted_ = true;
    }
    void TearDown() override {
        if (mounted_) {
            EXPECT_EQ(::umount2(small_.c_str(), MNT_DETACH), 0) << std::strerror(errno);
        }
        PersonalExportTest::TearDown();
    }

    std::filesystem::path small_;
    bool mounted_ = false;
};

TEST_F(FullDiskExportTest, RowsThatFitAreWrittenWholeTheOthersNamedAndNoPartFileStays) {
    constexpr int kRows = 40;
    const SameSizeRoster roster(kRows);
    SetRoster(roster.serials, roster.names, roster.ids);
    AnswerBrowserWith(small_);

    GeneratePersonalQrs(recording_);

    // How many fit depends on the file system's page size; they are the first rows, since
    // every code is as large as the one before.
    int written = 0;
    while (written < kRows && FileBytes(small_ / SameSizeRoster::FileName(written + 1)) ==
                                  CodeBytes("djxh" + SameSizeRoster::Id(written + 1))) {
        ++written;
    }
    ASSERT_GT(written, 0);
    ASSERT_LT(written, kRows);
    ExpectWholeFilesOfFirstRows(small_, written);
    EXPECT_EQ(recording_.Messages().back(), Utf8ToGbk(MessageForRowsFrom(written, kRows)));
    EXPECT_TRUE(ExportButtonEnabled(window_));

    // The next export, into a folder with room, writes every row.
    AnswerBrowserWith(chosen_);
    GeneratePersonalQrs(recording_);
    EXPECT_EQ(recording_.Messages().back(), "输出图片成功"_gbk);
    ExpectWholeFilesOfFirstRows(chosen_, kRows);
}

TEST_F(PersonalExportTest, AFolderRemovedDuringTheExportFailsTheRemainingRows) {
    constexpr int kRows = 10;
    constexpr int kRowsBeforeRemoval = 3;
    const SameSizeRoster roster(kRows);
    SetRoster(roster.serials, roster.names, roster.ids);
    {
        // The pass after row 3 was written: the folder goes, with what it held.
        const PendingMessagesStep removal([this](int pass) {
            if (pass == kRowsBeforeRemoval) std::filesystem::remove_all(chosen_);
        });
        GeneratePersonalQrs(recording_);
    }
    EXPECT_EQ(recording_.Messages().back(), Utf8ToGbk(MessageForRowsFrom(kRowsBeforeRemoval, kRows)));
    // The export wrote nowhere else, and did not make the folder again.
    EXPECT_FALSE(std::filesystem::exists(chosen_));
    EXPECT_TRUE(NamesIn(parent_).empty());
    EXPECT_TRUE(ExportButtonEnabled(window_));

    RenewChosenFolder();
    GeneratePersonalQrs(recording_);
    EXPECT_EQ(recording_.Messages().back(), "输出图片成功"_gbk);
    ExpectWholeFilesOfFirstRows(chosen_, kRows);
}

}  // namespace
}  // namespace korvel::test
