#pragma once
// Where the QR encoder writes its picture: "二维码图片.bmp" in a folder of this process's
// own, made at the first call (readable by the user alone) on a memory-backed file system
// when the machine has a writable one, else under $TMPDIR or /tmp. The folder and the file
// are removed when the process exits normally.
#include "core/Text.h"

namespace korvel {

// The GBK path of the picture file; the same for every call of the process. Empty when no
// private folder could be made.
Text TemporaryImagePath();

}  // namespace korvel
