#pragma once
// The name under which a roster row's picture is saved: the row key followed by ".jpg".
// The key is the user's own text, so it is checked before it names anything: a saved
// picture must land in the chosen folder itself and under a name that a Windows file
// system can hold too.
#include <optional>

#include "core/Text.h"

namespace korvel {

// True when the GBK key can stand as one file name: it is neither "." nor "..", and holds
// no \ / : * ? " < > | and no control character (0x00-0x1F, 0x7F). The key is read
// character by character: the second byte of a two-byte character (0x40-0xFE, not 0x7F)
// may be 0x5C or 0x7C and is then no backslash or bar.
bool IsPlainFileStem(const Text& key);

// key + ".jpg", or nothing when the key fails IsPlainFileStem.
std::optional<Text> ExportFileName(const Text& key);

}  // namespace korvel
