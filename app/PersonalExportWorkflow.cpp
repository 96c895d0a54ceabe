#include "app/PersonalExport.h"
#include "app/Workflows.h"

namespace korvel {

void GeneratePersonalQrs(WindowOperations& window) { ExportPersonalQrs(window, ProgressPacing{}); }

}  // namespace korvel
