#include "app/Workflows.h"

namespace korvel {

void GenerateImportQr(WindowOperations& window) {
    // The registration itself lands with its own change; until then the click only goes
    // through the guard that keeps the personal export from running over it.
    window.SetDisabled(Control::按钮2, true);
    window.SetDisabled(Control::按钮2, false);
}

}  // namespace korvel
