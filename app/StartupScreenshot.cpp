#include "app/StartupScreenshot.h"

#include <cstdio>

#include <QCoreApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace korvel {
namespace {

constexpr int kPollMilliseconds = 100;
constexpr int kGiveUpAfterPolls = 100;

// What the screen shows over the window's frame; the widget's own rendering where the
// platform cannot read the screen back (offscreen).
QPixmap Capture(QWidget& window) {
    if (QScreen* screen = window.screen()) {
        const QRect frame = window.frameGeometry();
        QPixmap shot = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
        if (!shot.isNull()) return shot;
    }
    return window.grab();
}

void Finish(QWidget& window, const QString& path) {
    const bool saved = Capture(window).save(path, "PNG");
    if (!saved) std::fprintf(stderr, "korvel-qr: could not write the screenshot %s\n", qPrintable(path));
    QCoreApplication::exit(saved ? 0 : 2);
}

void PollUntilExposed(QWidget* window, QString path, int pollsLeft) {
    const QWindow* handle = window->windowHandle();
    if ((handle && handle->isExposed()) || pollsLeft <= 0) {
        // One more round lets the first paint reach the screen.
        QTimer::singleShot(3 * kPollMilliseconds, window, [window, path] { Finish(*window, path); });
        return;
    }
    QTimer::singleShot(kPollMilliseconds, window,
                       [window, path, pollsLeft] { PollUntilExposed(window, path, pollsLeft - 1); });
}

}  // namespace

void SaveScreenshotWhenShown(QWidget& window) {
    const QString path = qEnvironmentVariable(kScreenshotVariable);
    if (path.isEmpty()) return;
    PollUntilExposed(&window, path, kGiveUpAfterPolls);
}

}  // namespace korvel
