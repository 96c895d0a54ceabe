#pragma once
// The program's icon: 16, 32 and 48 pixel images of a small QR-like mark, used for the
// window's caption, task bar entry and switcher.
#include <QIcon>

namespace korvel {

QIcon ProgramIcon();

}  // namespace korvel
