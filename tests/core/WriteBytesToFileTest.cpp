// Writing, replacing and removing files with GBK paths, in a fresh folder per test.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/CodePage.h"
#include "core/Services.h"
#include "core/TextOperations.h"
#include "tests/core/GbkBytes.h"
#include "tests/core/TempFolder.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;
using testing_support::GbkText;

class WriteBytesToFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(folder_.path().empty()); }

    // The GBK path of name inside the folder.
    Text PathOf(const Text& name) const {
        return ConcatText(Utf8ToGbk(folder_.path().string()), PathSeparator(), name);
    }
    fs::path OnDisk(const std::string& utf8Name) const { return folder_.path() / utf8Name; }

    static std::string ReadAll(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void WriteRaw(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    bool FolderIsEmpty() const { return fs::is_empty(folder_.path()); }

    testing_support::TempFolder folder_;
};

TEST_F(WriteBytesToFileTest, ReplacesALongerFile) {
    WriteRaw(OnDisk("a.bin"), std::string(100, 'x'));
    const Bytes data(std::vector<uint8_t>{1, 0, 2});
    ASSERT_TRUE(WriteBytesToFile(PathOf("a.bin"), data));
    EXPECT_EQ(ReadAll(OnDisk("a.bin")), std::string("\x01\x00\x02", 3));
}

TEST_F(WriteBytesToFileTest, EmptyDataLeavesAnEmptyFile) {
    WriteRaw(OnDisk("a.bin"), "old");
    ASSERT_TRUE(WriteBytesToFile(PathOf("a.bin"), Bytes()));
    ASSERT_TRUE(WriteBytesToFile(PathOf("new.bin"), Bytes()));
    EXPECT_EQ(fs::file_size(OnDisk("a.bin")), 0u);
    EXPECT_EQ(fs::file_size(OnDisk("new.bin")), 0u);
}

TEST_F(WriteBytesToFileTest, FailsWithoutTouchingAnything) {
    const struct {
        const char* name;
        Text path;
    } cases[] = {
        {"empty path", ""},
        {"missing folder", PathOf("missing/a.bin")},
        {"folder, not a file", PathOf("")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool began = true;
        EXPECT_FALSE(WriteBytesToFile(c.path, Bytes(std::vector<uint8_t>{1}), &began));
        EXPECT_FALSE(began);
        EXPECT_TRUE(FolderIsEmpty());
    }
}

TEST_F(WriteBytesToFileTest, RefusesNamesAWindowsFileSystemCannotHold) {
    for (const char forbidden : std::string("\\:*?\"<>|\x01\x1f\x7f")) {
        SCOPED_TRACE(static_cast<int>(forbidden));
        const Text name(std::string("a") + forbidden + "b.jpg");
        EXPECT_FALSE(WriteBytesToFile(PathOf(name), Bytes(std::vector<uint8_t>{1})));
        EXPECT_TRUE(FolderIsEmpty());
    }
    // A lead byte with no valid second byte after it hides nothing: the file system would
    // see the "?" that follows it.
    EXPECT_FALSE(WriteBytesToFile(PathOf(GbkText({'a', 0x81, '?', 'b'})), Bytes(std::vector<uint8_t>{1})));
    EXPECT_TRUE(FolderIsEmpty());
}

TEST_F(WriteBytesToFileTest, OnlyTheFileNameIsChecked) {
    fs::create_directory(OnDisk("a:b"));
    ASSERT_TRUE(WriteBytesToFile(PathOf("a:b/c.bin"), Bytes(std::vector<uint8_t>{7})));
    EXPECT_EQ(ReadAll(OnDisk("a:b/c.bin")), "\x07");
}

TEST_F(WriteBytesToFileTest, GbkNamesReachTheDiskAsUtf8) {
    // 乗 is 81 5C and 亅 is 81 7C in GBK: their second bytes are no backslash or bar.
    const struct {
        const char* utf8Name;
        Text gbkName;
    } cases[] = {
        {"1-张三-35020180001.jpg", "1-张三-35020180001.jpg"_gbk},
        {"乗.jpg", GbkText({0x81, 0x5C, '.', 'j', 'p', 'g'})},
        {"亅.jpg", GbkText({0x81, 0x7C, '.', 'j', 'p', 'g'})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8Name);
        ASSERT_TRUE(WriteBytesToFile(PathOf(c.gbkName), Bytes(std::vector<uint8_t>{'q', 'r'})));
        EXPECT_EQ(ReadAll(OnDisk(c.utf8Name)), "qr");
        EXPECT_TRUE(RemoveFile(PathOf(c.gbkName)));
        EXPECT_FALSE(fs::exists(OnDisk(c.utf8Name)));
    }
}

TEST_F(WriteBytesToFileTest, AFileLockedElsewhereFailsAndKeepsItsContents) {
    WriteRaw(OnDisk("busy.bin"), "in use");
    const int holder = ::open(OnDisk("busy.bin").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    // The caller learns that the file was left as it was, so it has nothing to clean up.
    bool began = true;
    EXPECT_FALSE(WriteBytesToFile(PathOf("busy.bin"), Bytes(std::vector<uint8_t>{1}), &began));
    EXPECT_FALSE(began);
    EXPECT_EQ(ReadAll(OnDisk("busy.bin")), "in use");
    ::close(holder);
    EXPECT_TRUE(WriteBytesToFile(PathOf("busy.bin"), Bytes(std::vector<uint8_t>{'o', 'k'}), &began));
    EXPECT_TRUE(began);
    EXPECT_EQ(ReadAll(OnDisk("busy.bin")), "ok");
}

TEST_F(WriteBytesToFileTest, RemoveFileReportsWhetherItDeleted) {
    WriteRaw(OnDisk("a.bin"), "x");
    EXPECT_TRUE(RemoveFile(PathOf("a.bin")));
    EXPECT_FALSE(RemoveFile(PathOf("a.bin")));
    EXPECT_FALSE(RemoveFile(""));
}

}  // namespace
}  // namespace korvel
