#pragma once
// "Adodb.Stream": a byte buffer that takes bytes and gives them back as text in a charset.
//   Type (integer, 1 binary / 2 text; default 2): changes only while the stream is closed
//     or stands at Position 0.
//   Mode (integer, default 0): changes only while the stream is closed; 1 (read only)
//     makes Write fail, 2 (write only) makes ReadText fail.
//   Open(): opens an empty stream; fails when it is already open. No source is taken.
//   Write(buffer): a byte array, in binary type only; written at Position, over what
//     stands there and past the end, and Position moves behind it.
//   Position (integer): 0 up to Size while open; read and write.
//   Size (integer): the number of bytes, while open.
//   Charset (string, default "Unicode"): a name ICU knows (see IcuCharsets.h). Writing an
//     unknown name fails and leaves the stream without a charset, so ReadText fails until
//     a known one is written: the text never comes back read in some other charset.
//   ReadText(count): in text type, the bytes from Position to the end decoded in the
//     charset; Position moves to the end. A count, when given, must be -1 (everything).
//     A byte order mark at Position 0 is not part of the text.
//   Close(): empties and closes the stream; fails when it is not open.
// Everything but Type, Mode and Charset fails on a closed stream.
#include <memory>

#include "core/automation/AutomationInstance.h"

namespace korvel::platform {

std::shared_ptr<AutomationInstance> NewStream();

}  // namespace korvel::platform
