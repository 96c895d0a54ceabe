// The automation classes the program reaches by name.
#include "core/automation/AutomationRegistry.h"
#include "platform/Registrations.h"
#include "platform/automation/RegExpClass.h"
#include "platform/automation/StreamClass.h"

namespace korvel::platform {

void RegisterAutomationClasses() {
    // The class identifiers are this platform's own.
    RegisterAutomationClass("VBScript.RegExp", "{6E1C7B52-3F0A-4D8E-9B61-2A4F5C8D1E07}", NewRegExp);
    RegisterAutomationClass("Adodb.Stream", "{B83D2A19-7C64-4E25-A0F3-9D51E6B7C248}", NewStream);
}

}  // namespace korvel::platform
