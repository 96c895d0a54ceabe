#include "app/Workflows.h"

namespace korvel {

void ClosePreview(WindowOperations& window) {
    // The picture stays set: it is replaced only by the next code a workflow makes.
    window.SetVisible(Control::分组框1, false);
    window.SetDisabled(Control::按钮2, false);
}

}  // namespace korvel
