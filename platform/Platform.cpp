#include "platform/Platform.h"

#include "core/CodePage.h"
#include "platform/IcuCodePage.h"
#include "platform/Registrations.h"

namespace korvel::platform {

void Install() {
    SetCodePage936(&SharedIcuCodePage());
    RegisterKernelAndCom();
    RegisterWinHttp();
    RegisterAutomationClasses();
}

}  // namespace korvel::platform
