#pragma once
// The handlers of the two buttons and of a double-click on the preview. Each runs on the
// user-interface thread and reaches the window only through its operations.
#include "app/WindowOperations.h"

namespace korvel {

// Click on 按钮1: registers the roster with the server and shows the import QR code.
void GenerateImportQr(WindowOperations& window);

// Click on 按钮2: asks for a folder and writes one personal QR code image per roster row.
void GeneratePersonalQrs(WindowOperations& window);

// Double-click on 图片框1: hides the preview and makes 按钮2 usable again.
void ClosePreview(WindowOperations& window);

}  // namespace korvel
