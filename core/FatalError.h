#pragma once
// The one way the program stops on a broken limit: a report, then exit code -1.
#include <cstdint>
#include <functional>

#include "core/Text.h"

namespace korvel {

// "运行时出错!" CR LF, then the code (when not 0) and the message (when not empty), each
// on lines of their own, as the report has always been laid out.
Text BuildFatalReport(int32_t code, const Text& message);

// Shows the report (through the hook, or on standard error as UTF-8 without one),
// releases every bound library and ends the process with exit code -1.
[[noreturn]] void ReportFatalError(int32_t code, const Text& message);

// The window shows the report in its error box; the hook returns when the box is closed.
void SetFatalReportHook(std::function<void(const Text& report)> hook);
// The binding layer releases its libraries here.
void SetLibraryReleaseHook(std::function<void()> hook);
// Work that must also happen on the fatal path, which runs no exit handlers (for example
// removing a private temporary folder). Runs after the libraries are released.
void AddFatalCleanup(std::function<void()> cleanup);

// A helper thread cannot show the report: a fatal error raised on a thread while it holds
// a HelperThreadMark is thrown as this instead, for the thread's owner to catch and hand to
// ReportFatalError on the window's thread. The process ends there as ever.
struct FatalErrorOnHelperThread {
    int32_t code = 0;
    Text message;
};

// Held by a helper thread for as long as it works. While any helper holds one, a fatal
// report leaves the bound libraries loaded: a helper may be running their code, and the
// process ends at once either way.
class HelperThreadMark {
public:
    HelperThreadMark();
    ~HelperThreadMark();
    HelperThreadMark(const HelperThreadMark&) = delete;
    HelperThreadMark& operator=(const HelperThreadMark&) = delete;
};

// An allocation of byteCount bytes that cannot be satisfied: the fatal report, code 0.
[[noreturn]] void ReportAllocationFailure(int64_t byteCount);

}  // namespace korvel
