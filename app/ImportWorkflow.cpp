#include "app/ImportWorkflow.h"

#include <optional>

#include "app/RegistrationOutcome.h"
#include "app/Roster.h"
#include "app/RosterPayload.h"
#include "app/Workflows.h"
#include "http/HttpRequest.h"
#include "qr/MakeQrImage.h"

namespace korvel {
namespace {

// Registrations under way on the user-interface thread. A click on 按钮1 while another
// registration waits for its server runs nested inside it; the inner one must not make
// 按钮2 usable while the outer one still goes on to show its code.
int registrationsUnderWay = 0;

class RegistrationUnderWay {
public:
    RegistrationUnderWay() { ++registrationsUnderWay; }
    ~RegistrationUnderWay() { --registrationsUnderWay; }
    RegistrationUnderWay(const RegistrationUnderWay&) = delete;
    RegistrationUnderWay& operator=(const RegistrationUnderWay&) = delete;

    bool Nested() const { return registrationsUnderWay > 1; }
};

// The end of a registration that shows no code: the personal export may run again.
void ReleaseExportButton(WindowOperations& window, const RegistrationUnderWay& registration) {
    if (!registration.Nested()) window.SetDisabled(Control::按钮2, false);
}

}  // namespace

void GenerateImportQr(WindowOperations& window, const RegistrationServer& server) {
    const RegistrationUnderWay registration;
    // The personal export would overwrite the picture this workflow is about to show.
    window.SetDisabled(Control::按钮2, true);
    const Roster roster = ReadRoster(window);
    if (!RosterCountsEqual(roster)) {
        window.ShowMessage(RosterMismatchMessage());
        ReleaseExportButton(window, registration);
        return;
    }

    const Text payload = BuildRosterPayload(roster);
    Text statusText;
    const Text reply = HttpRequest({
        .url = server.RegistrationUrl(),
        .method = 1,
        .body = RegistrationBody(payload),
        .statusText = &statusText,
    });
    // The request let other handlers run; one of them may have closed the window.
    if (window.IsClosed()) return;

    window.WriteText(Control::编辑框4, payload);
    const Text viewUrl = server.ViewUrl(reply);
    if (const std::optional<Text> failure = RegistrationFailure(statusText, reply, viewUrl)) {
        window.ShowMessage(*failure);
        ReleaseExportButton(window, registration);
        return;
    }
    window.SetPicture(Control::图片框1, MakeQrImage(viewUrl, 0, 0, 1.0));
    // 按钮2 stays disabled while the code shows; closing the preview releases it.
    window.SetVisible(Control::分组框1, true);
}

void GenerateImportQr(WindowOperations& window) { GenerateImportQr(window, RegistrationServer::BuiltIn()); }

}  // namespace korvel
