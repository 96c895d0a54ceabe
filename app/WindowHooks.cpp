#include "app/WindowHooks.h"

#include <cstdio>
#include <string>

#include <QCoreApplication>

#include "app/MessageBoxes.h"
#include "core/CodePage.h"
#include "core/FatalError.h"
#include "core/Services.h"

namespace korvel {

WindowHooks::WindowHooks() {
    // Dispatches what is already waiting and returns; it never waits for new events.
    SetPendingMessagesHook([] { QCoreApplication::processEvents(); });
    SetFatalReportHook([](const Text& report) {
        // Also on standard error, first: a report nobody sees on the screen (a program
        // started from a script, a box that is never answered) still leaves its record.
        const std::string utf8 = GbkToUtf8(report);
        std::fwrite(utf8.data(), 1, utf8.size(), stderr);
        std::fflush(stderr);
        ShowErrorBox(report);
    });
}

WindowHooks::~WindowHooks() {
    SetPendingMessagesHook(nullptr);
    SetFatalReportHook(nullptr);
}

}  // namespace korvel
