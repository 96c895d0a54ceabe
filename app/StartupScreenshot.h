#pragma once
// For the screenshot script: when the environment variable KORVEL_SCREENSHOT names a PNG
// file, the program saves a picture of its window there as soon as the window is on the
// screen, then ends (exit code 0 when the file was written, 2 when not).
#include <QWidget>

namespace korvel {

inline constexpr const char* kScreenshotVariable = "KORVEL_SCREENSHOT";

// Does nothing when the variable is unset or empty.
void SaveScreenshotWhenShown(QWidget& window);

}  // namespace korvel
