// The program's folder and the message pump hook.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "core/CodePage.h"
#include "core/Services.h"

namespace korvel {
namespace {

TEST(ProgramDirectory, HoldsTheRunningProgram) {
    const Text directory = ProgramDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.str().front(), '/');
    EXPECT_NE(directory.str().back(), '/');
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
    struct stat expected {};
    struct stat found {};
    ASSERT_EQ(::stat(program.c_str(), &expected), 0);
    const std::string inFolder = GbkToUtf8(directory) + "/" + program.filename().string();
    ASSERT_EQ(::stat(inFolder.c_str(), &found), 0);
    EXPECT_EQ(found.st_ino, expected.st_ino);
    EXPECT_EQ(ProgramDirectory(), directory);
}

TEST(ProcessPendingMessages, CallsTheHookWhenOneIsSet) {
    ProcessPendingMessages();  // no hook: nothing happens
    int calls = 0;
    SetPendingMessagesHook([&] { ++calls; });
    ProcessPendingMessages();
    ProcessPendingMessages();
    SetPendingMessagesHook(nullptr);
    ProcessPendingMessages();
    EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace korvel
