#pragma once
// The two message boxes of the program. Both have no owner and are modal to the whole
// program, so the main window takes no input while one is open; both return when the
// user dismisses the box. Texts are GBK; CR LF breaks lines.
#include "core/Text.h"

namespace korvel {

// Caption "信息：", one OK button, no icon: the workflows' messages.
void ShowInformationBox(const Text& text);

// Caption "错误", critical icon, one OK button: the fatal report.
void ShowErrorBox(const Text& report);

}  // namespace korvel
