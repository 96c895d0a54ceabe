// Start-up: the platform's stand-ins, the window system, the program's folder as the
// current directory, then the one window and its event loop until the window is closed.
#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QDir>

#include "app/MainWindow.h"
#include "app/StartupScreenshot.h"
#include "app/WindowHooks.h"
#include "core/CodePage.h"
#include "core/Services.h"
#include "platform/Ole32.h"
#include "platform/Platform.h"

namespace {

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}

// Qt would abort with a long message of its own; a plain line says what to do instead.
bool HasDisplay() { return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM"); }

}  // namespace

int main(int argc, char** argv) {
    if (!HasDisplay()) {
        std::fputs("korvel-qr: no display available (set DISPLAY or QT_QPA_PLATFORM=offscreen)\n", stderr);
        return 1;
    }
    korvel::platform::Install();
    // COM stays started on the user-interface thread for the life of the process.
    korvel::platform::CoInitialize(nullptr);
    QApplication application(argc, argv);
    const korvel::WindowHooks hooks;
    // Relative paths, the outside libraries' included, resolve in the program's folder.
    QDir::setCurrent(QString::fromStdString(korvel::GbkToUtf8(korvel::ProgramDirectory())));

    korvel::MainWindow window;
    window.PlaceCentred();
    window.show();
    korvel::SaveScreenshotWhenShown(window);
    const int exitCode = application.exec();
    korvel::platform::CoUninitialize();
    return exitCode;
}
