#include "app/WindowIcon.h"

// The icon images are compiled into this static library; a resource that no code names
// would be dropped by the linker, so it is named here. Resource set-up lives outside any
// namespace.
static void InitialiseIconResources() { Q_INIT_RESOURCE(icons); }

namespace korvel {

QIcon ProgramIcon() {
    InitialiseIconResources();
    QIcon icon;
    for (int size : {16, 32, 48}) icon.addFile(QStringLiteral(":/icons/korvel-qr-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace korvel
