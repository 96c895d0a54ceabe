// Placeholder until these stand-ins land; their change replaces this file.
#include "platform/Registrations.h"

namespace korvel::platform {

void RegisterWinHttp() {}

}  // namespace korvel::platform
