#include "core/Services.h"

#include <unistd.h>

#include <climits>
#include <string>

#include "core/CodePage.h"

namespace korvel {
namespace {

std::function<void()>& PendingMessagesHook() {
    static std::function<void()> hook;
    return hook;
}

// The UTF-8 path of the running program file, as the kernel names it; empty when it
// cannot be read.
std::string ProgramFilePath() {
    std::string path(PATH_MAX, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0) return {};
        if (static_cast<std::size_t>(length) < path.size()) {
            path.resize(static_cast<std::size_t>(length));
            return path;
        }
        path.resize(path.size() * 2);  // cut short: try again with more room
    }
}

}  // namespace

Text ProgramDirectory() {
    static const Text directory = [] {
        const std::string file = ProgramFilePath();
        const std::size_t separator = file.rfind('/');
        if (separator == std::string::npos) return Text();
        // The root folder keeps its separator; any other loses it.
        return Utf8ToGbk(file.substr(0, separator == 0 ? 1 : separator));
    }();
    return directory;
}

Text PathSeparator() { return Text("/"); }

bool RemoveFile(const Text& path) {
    if (path.empty()) return false;
    return ::unlink(GbkToUtf8(path).c_str()) == 0;
}

void ProcessPendingMessages() {
    if (PendingMessagesHook()) PendingMessagesHook()();
}

void SetPendingMessagesHook(std::function<void()> hook) { PendingMessagesHook() = std::move(hook); }

}  // namespace korvel
