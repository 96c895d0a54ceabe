#pragma once
// Connects core's run-time services to the window system for as long as this object
// lives: ProcessPendingMessages runs Qt's waiting events, and the fatal report shows its
// error box, after writing the report to standard error as UTF-8. Create it after the
// QApplication and destroy it before; afterwards the services fall back to doing nothing
// and to standard error.
namespace korvel {

class WindowHooks {
public:
    WindowHooks();
    ~WindowHooks();
    WindowHooks(const WindowHooks&) = delete;
    WindowHooks& operator=(const WindowHooks&) = delete;
};

}  // namespace korvel
