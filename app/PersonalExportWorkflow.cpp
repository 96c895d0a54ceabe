#include "app/Workflows.h"

namespace korvel {

void GeneratePersonalQrs(WindowOperations& window) {
    // The export itself lands with its own change; until then the click only goes
    // through the guard that keeps a second export from starting over it.
    window.SetDisabled(Control::按钮2, true);
    window.SetDisabled(Control::按钮2, false);
}

}  // namespace korvel
