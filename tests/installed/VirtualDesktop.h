#pragma once
// A bare X server of the test's own (Xvfb, no window manager) and a user's hands on it
// (xdotool): finding windows by title, clicking, typing and pressing keys. Every wait is
// bounded, and every xdotool call has a time-out of its own.
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "tests/installed/ChildProcess.h"

namespace korvel::test {

class VirtualDesktop {
public:
    // Starts the server on a display number it picks itself, so tests running side by
    // side never meet; output goes under folder.
    explicit VirtualDesktop(const std::filesystem::path& folder);
    ~VirtualDesktop();

    // False, with the reason in Error(), when the server did not come up.
    bool Ready() const { return !display_.empty(); }
    const std::string& Error() const { return error_; }
    // ":N", for DISPLAY.
    const std::string& Display() const { return display_; }

    // The id of a shown window whose title is exactly title, once there is one; nullopt
    // when none appeared within timeout.
    std::optional<std::string> WaitForWindow(const std::string& title, std::chrono::milliseconds timeout);
    // True once no shown window has the title (within timeout).
    bool WaitUntilGone(const std::string& title, std::chrono::milliseconds timeout);
    // True once the window with the title has the keyboard (within timeout).
    bool WaitForFocus(const std::string& title, std::chrono::milliseconds timeout);

    // Gives the window the keyboard, as a window manager would on a click on its frame.
    bool Focus(const std::string& window);
    // A left click at x, y inside the window.
    bool Click(const std::string& window, int x, int y);
    // Types ASCII text into the window that has the keyboard.
    bool Type(const std::string& text);
    // Presses a key combination ("Return", "ctrl+a") in the window that has the keyboard,
    // or, with window given, sends it to that window.
    bool Key(const std::string& keys, const std::optional<std::string>& window = std::nullopt);

    // What the last failing xdotool call said.
    const std::string& LastFailure() const { return lastFailure_; }

private:
    Finished Xdotool(std::vector<std::string> arguments);

    std::filesystem::path folder_;
    std::unique_ptr<ChildProcess> server_;
    std::string display_;
    std::string error_;
    std::string lastFailure_;
};

}  // namespace korvel::test
