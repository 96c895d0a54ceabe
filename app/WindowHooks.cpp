#include "app/WindowHooks.h"

#include <QCoreApplication>

#include "app/MessageBoxes.h"
#include "core/FatalError.h"
#include "core/Services.h"

namespace korvel {

WindowHooks::WindowHooks() {
    // Dispatches what is already waiting and returns; it never waits for new events.
    SetPendingMessagesHook([] { QCoreApplication::processEvents(); });
    SetFatalReportHook([](const Text& report) { ShowErrorBox(report); });
}

WindowHooks::~WindowHooks() {
    SetPendingMessagesHook(nullptr);
    SetFatalReportHook(nullptr);
}

}  // namespace korvel
