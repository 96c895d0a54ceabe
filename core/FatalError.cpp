#include "core/FatalError.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/CodePage.h"
#include "core/FatalTexts.h"

namespace korvel {
namespace {

std::function<void(const Text&)>& ReportHook() {
    static std::function<void(const Text&)> hook;
    return hook;
}

std::function<void()>& ReleaseHook() {
    static std::function<void()> hook;
    return hook;
}

std::vector<std::function<void()>>& Cleanups() {
    static std::vector<std::function<void()>> cleanups;
    return cleanups;
}

// Set while a report is under way: a second fatal error raised by the hooks themselves
// (the message box, the converter, the release of a library) ends the process at once.
bool g_reporting = false;

thread_local bool t_throwFatalErrors = false;
std::atomic<int> g_helpersWorking{0};

[[noreturn]] void ThrowToTheOwner(int32_t code, const Text& message) {
    FatalErrorOnHelperThread error{.code = code, .message = Text()};
    try {
        error.message = message;
    } catch (...) {
        // Out of memory: the code and the heading still tell what happened.
    }
    throw error;
}

void WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

// Standard error takes UTF-8; without a converter the GBK bytes go out as they are,
// which still carries the report rather than losing it.
void WriteToStandardError(const Text& report) {
    if (HasCodePage936()) {
        WriteAll(STDERR_FILENO, GbkToUtf8(report));
    } else {
        WriteAll(STDERR_FILENO, report.view());
    }
}

void ShowReport(int32_t code, const Text& message) {
    try {
        const Text report = BuildFatalReport(code, message);
        if (ReportHook()) {
            ReportHook()(report);
        } else {
            WriteToStandardError(report);
        }
    } catch (...) {
        // Out of memory or a failing hook: the heading alone still tells what happened.
        WriteAll(STDERR_FILENO, fatal_texts::kHeading);
        WriteAll(STDERR_FILENO, "\r\n");
    }
}

[[noreturn]] void EndProcess() {
    std::fflush(nullptr);
    // Ends at once, without running destructors of objects that may be in use further
    // up the stack; a parent sees the status 255.
    std::_Exit(-1);
}

}  // namespace

Text BuildFatalReport(int32_t code, const Text& message) {
    std::string report = fatal_texts::kHeading;
    report += "\r\n";
    if (code != 0) {
        report += "\r\n";
        report += fatal_texts::kCodeLabel;
        report += std::to_string(code);
        report += "\r\n";
    }
    if (!message.empty()) {
        report += "\r\n";
        report += fatal_texts::kMessageLabel;
        report += message.view();
        report += "\r\n";
    }
    return Text(std::move(report));
}

void ReportFatalError(int32_t code, const Text& message) {
    if (t_throwFatalErrors) ThrowToTheOwner(code, message);
    if (g_reporting) EndProcess();
    g_reporting = true;
    ShowReport(code, message);
    try {
        if (ReleaseHook() && g_helpersWorking.load() == 0) ReleaseHook()();
        for (const std::function<void()>& cleanup : Cleanups()) cleanup();
    } catch (...) {
        // The process ends either way; a library that fails to unload changes nothing.
    }
    EndProcess();
}

HelperThreadMark::HelperThreadMark() {
    t_throwFatalErrors = true;
    ++g_helpersWorking;
}

HelperThreadMark::~HelperThreadMark() {
    --g_helpersWorking;
    t_throwFatalErrors = false;
}

void SetFatalReportHook(std::function<void(const Text& report)> hook) { ReportHook() = std::move(hook); }

void SetLibraryReleaseHook(std::function<void()> hook) { ReleaseHook() = std::move(hook); }

void AddFatalCleanup(std::function<void()> cleanup) { Cleanups().push_back(std::move(cleanup)); }

}  // namespace korvel
