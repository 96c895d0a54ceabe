#include "platform/Ole32.h"

namespace korvel::platform {
namespace {

thread_local int t_initCount = 0;

}  // namespace

int32_t CoInitialize(void* reserved) {
    if (reserved) return E_INVALIDARG;
    return t_initCount++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (t_initCount > 0) --t_initCount;
}

int CurrentComInitCount() { return t_initCount; }

}  // namespace korvel::platform
