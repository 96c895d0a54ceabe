// The fatal report: its exact text, where it goes, and the process ending with -1.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/BytesOperations.h"
#include "core/CodePage.h"
#include "core/FatalError.h"
#include "core/FatalTexts.h"
#include "core/TextOperations.h"

namespace korvel {
namespace {

// The report as a user reads it, in UTF-8.
std::string Utf8Report(int32_t code, const Text& message) { return GbkToUtf8(BuildFatalReport(code, message)); }

TEST(BuildFatalReport, LaysOutHeadingCodeAndMessage) {
    const struct {
        const char* name;
        int32_t code;
        Text message;
        Text expected;
    } cases[] = {
        {"heading only", 0, "", "运行时出错!\r\n"_gbk},
        {"code only", -5, "", "运行时出错!\r\n\r\n错误代码：-5\r\n"_gbk},
        {"message only", 0, "x", "运行时出错!\r\n\r\n错误信息：x\r\n"_gbk},
        {"code and message", 4, "数组成员引用下标必须大于等于1"_gbk,
         "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n"_gbk},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BuildFatalReport(c.code, c.message), c.expected);
    }
}

// The fixed texts are spelled out in GBK bytes so the report needs no converter.
TEST(BuildFatalReport, FixedTextsAreTheirGbkBytes) {
    EXPECT_EQ(Text(fatal_texts::kIndexBelowOne), "数组成员引用下标必须大于等于1"_gbk);
    EXPECT_EQ(Text(fatal_texts::kIndexAboveCount), "数组成员引用下标超出定义范围"_gbk);
    EXPECT_EQ(ConcatText(fatal_texts::kAllocationBefore, "%d", fatal_texts::kAllocationAfter), "分配 %d 字节内存失败!"_gbk);
}

// A helper thread cannot show the report: there the error is thrown to the thread's owner
// instead, with its code and message, and the process goes on until the owner reports it.
TEST(FatalErrorOnHelperThread, IsThrownToTheThreadsOwnerInsteadOfReported) {
    struct Case {
        const char* name;
        void (*raise)();
        int32_t code;
        Text message;
    };
    const Case cases[] = {
        {"a broken limit", [] { ReportFatalError(5, "在途"_gbk); }, 5, "在途"_gbk},
        {"memory that cannot be had", [] { ReportAllocationFailure(77); }, 0, "分配 77 字节内存失败!"_gbk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<FatalErrorOnHelperThread> caught;
        std::thread helper([&] {
            const HelperThreadMark mark;
            try {
                c.raise();
            } catch (const FatalErrorOnHelperThread& error) {
                caught = error;
            }
        });
        helper.join();
        ASSERT_TRUE(caught.has_value());
        EXPECT_EQ(caught->code, c.code);
        EXPECT_EQ(caught->message, c.message);
    }
}

// A helper may be running a bound library's code when the window's thread reports: the
// libraries then stay loaded until the process ends.
TEST(FatalErrorDeathTest, LibrariesStayLoadedWhileAHelperWorks) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            SetLibraryReleaseHook([] { std::fputs("released\n", stderr); });
            std::promise<void> marked;
            std::thread([&marked] {
                const HelperThreadMark mark;
                marked.set_value();
                for (;;) ::pause();
            }).detach();
            marked.get_future().wait();
            ReportFatalError(7, "m");
        },
        ::testing::ExitedWithCode(255), ::testing::Eq(Utf8Report(7, "m")));
}

TEST(FatalErrorDeathTest, ListIndexOutsideTheList) {
    const TextList list = SplitText("a\r\nb", "\r\n");
    const std::string below = Utf8Report(4, "数组成员引用下标必须大于等于1"_gbk);
    const std::string above = Utf8Report(1, "数组成员引用下标超出定义范围"_gbk);
    EXPECT_EXIT((void)list[0], ::testing::ExitedWithCode(255), ::testing::Eq(below));
    EXPECT_EXIT((void)list[-3], ::testing::ExitedWithCode(255), ::testing::Eq(below));
    EXPECT_EXIT((void)list[3], ::testing::ExitedWithCode(255), ::testing::Eq(above));
    EXPECT_EXIT((void)TextList()[1], ::testing::ExitedWithCode(255), ::testing::Eq(above));
}

TEST(FatalErrorDeathTest, WritesTheReportAndReleasesLibraries) {
    const std::string expected = Utf8Report(7, "无法绑定"_gbk) + "released\n";
    EXPECT_EXIT(
        {
            SetLibraryReleaseHook([] { std::fputs("released\n", stderr); });
            ReportFatalError(7, "无法绑定"_gbk);
        },
        ::testing::ExitedWithCode(255), ::testing::Eq(expected));
}

TEST(FatalErrorDeathTest, TheHookShowsTheReportInstead) {
    const std::string expected = "hook:" + BuildFatalReport(2, "m").str();
    EXPECT_EXIT(
        {
            SetFatalReportHook([](const Text& report) { std::fputs(("hook:" + report.str()).c_str(), stderr); });
            ReportFatalError(2, "m");
        },
        ::testing::ExitedWithCode(255), ::testing::Eq(expected));
}

TEST(FatalErrorDeathTest, AFatalErrorInsideTheHookEndsAtOnce) {
    EXPECT_EXIT(
        {
            SetFatalReportHook([](const Text&) { ReportFatalError(9, "again"); });
            ReportFatalError(2, "m");
        },
        ::testing::ExitedWithCode(255), ::testing::IsEmpty());
}

TEST(FatalErrorDeathTest, WithoutAConverterTheGbkBytesGoOut) {
    const std::string expected = BuildFatalReport(0, "code page 936 converter not registered").str();
    EXPECT_EXIT(
        {
            SetCodePage936(nullptr);
            (void)GbkToUtf8("a");
        },
        ::testing::ExitedWithCode(255), ::testing::Eq(expected));
}

TEST(FatalErrorDeathTest, AllocationFailureNamesTheSize) {
    EXPECT_EXIT(ReportAllocationFailure(123), ::testing::ExitedWithCode(255),
                ::testing::Eq(Utf8Report(0, "分配 123 字节内存失败!"_gbk)));
}

// The address space of the dying child is capped just above what it already uses, so a
// large request fails at once instead of being promised and touched.
void CapAddressSpace() {
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (64u << 20);
    const rlimit cap{limit, limit};
    setrlimit(RLIMIT_AS, &cap);
}

TEST(FatalErrorDeathTest, MemoryThatCannotBeHadEndsTheProgram) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves the address space itself";
#endif
    EXPECT_EXIT(
        {
            CapAddressSpace();
            (void)BlankBytes(0x7FFFFFFF);
        },
        ::testing::ExitedWithCode(255), ::testing::Eq(Utf8Report(0, "分配 2147483647 字节内存失败!"_gbk)));
    // Outside the value primitives nobody names the size: the report says 0 bytes.
    EXPECT_EXIT(
        {
            CapAddressSpace();
            std::vector<char> huge(std::size_t{1} << 40);
            std::fputs(huge.data(), stderr);
        },
        ::testing::ExitedWithCode(255), ::testing::Eq(Utf8Report(0, "分配 0 字节内存失败!"_gbk)));
}

}  // namespace
}  // namespace korvel
