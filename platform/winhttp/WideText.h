#pragma once
// The stand-in receives every string as UTF-16, as the Windows functions do, and hands
// bytes to libcurl. These are the few conversions it needs, each naming its encodings.
#include <string>
#include <string_view>

#include "core/binding/WindowsTypes.h"

namespace korvel::platform::winhttp {

// The caller's UTF-16 argument: length units, or up to the NUL when length is -1
// (all bits set). A null pointer is the empty string.
std::u16string_view WideArgument(const char16_t* text, DWORD length = 0xFFFFFFFF);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Header bytes are ISO-8859-1 on the wire: each byte becomes the UTF-16 unit of equal value.
std::u16string WidenLatin1(std::string_view bytes);

// Request header text and credentials leave in the program's code page 936 (GBK), so a
// GBK cookie or user name reaches the server as the caller's bytes.
std::string Utf16ToCodePage936(std::u16string_view text);

// ASCII letters folded to lower case, for header and scheme names.
std::string AsciiLower(std::string_view text);

}  // namespace korvel::platform::winhttp
