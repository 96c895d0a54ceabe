#include "tests/installed/VirtualDesktop.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cctype>
#include <thread>

namespace korvel::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kServerStart = 30s;
constexpr auto kXdotoolCall = 10s;
constexpr auto kPoll = 100ms;

// xdotool takes the title as a regular expression: every character that could mean more
// than itself is escaped, and the whole title must match.
std::string ExactTitlePattern(const std::string& title) {
    std::string pattern = "^";
    for (const char c : title) {
        if (std::string_view("\\^$.|?*+()[]{}").find(c) != std::string_view::npos) pattern += '\\';
        pattern += c;
    }
    return pattern + "$";
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

// Reads the display number the server writes once it takes connections.
std::string ReadDisplayNumber(int descriptor, std::chrono::milliseconds timeout) {
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd waiting{.fd = descriptor, .events = POLLIN, .revents = 0};
        if (::poll(&waiting, 1, static_cast<int>(kPoll.count())) <= 0) continue;
        char c = 0;
        if (::read(descriptor, &c, 1) != 1) break;
        if (c == '\n') return number;
        if (std::isdigit(static_cast<unsigned char>(c))) number += c;
    }
    return {};
}

}  // namespace

VirtualDesktop::VirtualDesktop(const std::filesystem::path& folder) : folder_(folder) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        error_ = "pipe failed";
        return;
    }
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(ends[1]), "-screen", "0", "1024x768x24",
                                 "-nolisten", "tcp", "-noreset"},
        EnvironmentWith({}), folder_, "Xvfb", ends[1]);
    ::close(ends[1]);
    if (!server_->Started()) {
        error_ = server_->StartError() + " (scripts/install-deps installs xvfb)";
    } else {
        const std::string number = ReadDisplayNumber(ends[0], kServerStart);
        if (number.empty()) {
            error_ = "Xvfb gave no display number: " + server_->Errors();
        } else {
            display_ = ":" + number;
        }
    }
    ::close(ends[0]);
}

VirtualDesktop::~VirtualDesktop() {
    if (server_) server_->Stop(5s);
}

Finished VirtualDesktop::Xdotool(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "xdotool");
    Finished finished = RunToEnd(arguments, EnvironmentWith({{"DISPLAY", display_}}), folder_, kXdotoolCall);
    if (!finished.ended || finished.exitCode != 0) {
        lastFailure_ = "xdotool " + arguments[1] + ": " + finished.errors;
        if (!finished.ended && finished.errors.find("could not be started") != std::string::npos) {
            lastFailure_ += " (scripts/install-deps installs xdotool)";
        }
    }
    return finished;
}

std::optional<std::string> VirtualDesktop::WaitForWindow(const std::string& title, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        // Exit code 1 and no output: no such window yet.
        const Finished found = Xdotool({"search", "--onlyvisible", "--name", ExactTitlePattern(title)});
        if (found.ended && found.exitCode == 0 && !FirstLine(found.output).empty()) return FirstLine(found.output);
        std::this_thread::sleep_for(kPoll);
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

bool VirtualDesktop::WaitUntilGone(const std::string& title, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        const Finished found = Xdotool({"search", "--onlyvisible", "--name", ExactTitlePattern(title)});
        if (found.ended && FirstLine(found.output).empty()) return true;
        std::this_thread::sleep_for(kPoll);
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

bool VirtualDesktop::WaitForFocus(const std::string& title, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string focused;
    do {
        const Finished focus = Xdotool({"getwindowfocus", "getwindowname"});
        focused = FirstLine(focus.output);
        if (focus.ended && focus.exitCode == 0 && focused == title) return true;
        std::this_thread::sleep_for(kPoll);
    } while (std::chrono::steady_clock::now() < deadline);
    lastFailure_ = "the keyboard stayed with \"" + focused + "\", not \"" + title + "\"";
    return false;
}

bool VirtualDesktop::Focus(const std::string& window) {
    const Finished focused = Xdotool({"windowfocus", window});
    return focused.ended && focused.exitCode == 0;
}

bool VirtualDesktop::Click(const std::string& window, int x, int y) {
    const Finished clicked =
        Xdotool({"mousemove", "--window", window, std::to_string(x), std::to_string(y), "click", "1"});
    return clicked.ended && clicked.exitCode == 0;
}

bool VirtualDesktop::Type(const std::string& text) {
    const Finished typed = Xdotool({"type", "--delay", "5", text});
    return typed.ended && typed.exitCode == 0;
}

bool VirtualDesktop::Key(const std::string& keys, const std::optional<std::string>& window) {
    std::vector<std::string> arguments = {"key"};
    if (window) {
        arguments.push_back("--window");
        arguments.push_back(*window);
    }
    arguments.push_back(keys);
    const Finished pressed = Xdotool(arguments);
    return pressed.ended && pressed.exitCode == 0;
}

}  // namespace korvel::test
