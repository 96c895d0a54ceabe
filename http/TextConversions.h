#pragma once
// Text (GBK, code page 936) to UTF-16LE bytes and back, through the kernel's conversion
// functions; the code page is 936 whatever the machine's own is.
#include <optional>

#include "core/Bytes.h"
#include "core/Text.h"

namespace korvel {

// UTF-16LE bytes of text, two per unit, ending in the NUL unit unless dropTerminator is
// true. The empty text gives empty Bytes, terminator or not; so does a text the platform
// cannot convert.
Bytes AnsiToUtf16(const Text& text, std::optional<bool> dropTerminator = std::nullopt);

// The GBK text of the whole UTF-16LE units in bytes (an odd last byte is ignored), up to
// the first NUL unit. A character GBK cannot hold becomes the platform's default character.
Text Utf16ToAnsi(const Bytes& bytes);

}  // namespace korvel
