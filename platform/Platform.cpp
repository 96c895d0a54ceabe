#include "platform/Platform.h"

#include "core/CodePage.h"
#include "platform/IcuCodePage.h"

namespace korvel::platform {

void Install() {
    SetCodePage936(&SharedIcuCodePage());
}

}  // namespace korvel::platform
