#pragma once
// The personal export behind 按钮2: one QR code picture per roster row, written into a
// folder the user chooses, each holding "djxh" + the row's ID and named after the row.
#include <chrono>

#include "app/WindowOperations.h"

namespace korvel {

// When the progress indicator of a long export appears and how often it changes.
struct ProgressPacing {
    // An export that ends sooner shows no indicator at all.
    std::chrono::milliseconds showAfter{500};
    // Redrawing after every row would slow a long export down for nothing the eye sees.
    std::chrono::milliseconds updateEvery{50};
};

// The whole click of 按钮2: 按钮2 is disabled from the first step to the last on every path.
// The folder is chosen first (cancelled: nothing more happens), then the roster is read
// (unequal columns: the mismatch message). Row by row the code is made, set into 图片框1,
// read back and written, unchanged BMP bytes, to folder + separator + key + ".jpg",
// overwriting what is there; the window takes its pending messages once per row. A row
// that cannot be written safely or at all is counted as failed and named in the final
// message. The user may stop the export after any row; written files stay. Once the
// window is closed, the export returns without touching it again.
void ExportPersonalQrs(WindowOperations& window, const ProgressPacing& pacing);

}  // namespace korvel
