#pragma once
// The import workflow against a given registration server. The click handler of 按钮1
// (Workflows.h) uses the server fixed at build time; tests hand in one of their own.
#include "app/RegistrationServer.h"
#include "app/WindowOperations.h"

namespace korvel {

// Registers the roster of the three column boxes with the server and shows the QR code
// of its view URL in the preview. Runs on the user-interface thread; other handlers can
// run nested while the request is under way, and a window closed meanwhile stops it.
void GenerateImportQr(WindowOperations& window, const RegistrationServer& server);

}  // namespace korvel
