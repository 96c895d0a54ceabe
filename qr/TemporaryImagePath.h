#pragma once
// Where the QR encoder writes its picture: "二维码图片.bmp" in a folder of this process's
// own, made at the first call (readable by the user alone) on a memory-backed file system
// when the machine has a writable one, else under $TMPDIR or /tmp. The folder and the file
// are removed when the process exits normally.
#include "core/Text.h"

namespace korvel {

// The GBK path of the calling thread's picture file; the same for every call of a thread,
// and never the file of another thread that is still running. The first thread's file is
// "二维码图片.bmp" in the folder itself, another thread's the same name in a numbered
// subfolder. Empty when no private folder (or subfolder) could be made.
Text TemporaryImagePath();

}  // namespace korvel
