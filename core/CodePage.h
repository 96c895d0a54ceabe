#pragma once
// Code page 936 conversions. The program's texts are GBK; Qt, the file system and the
// HTTP stand-in speak UTF-16 or UTF-8. The converter itself is platform's (ICU); core
// only declares it, and main() or a test fixture registers it before first use.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/Text.h"

namespace korvel {

class CodePageConverter {
public:
    virtual ~CodePageConverter() = default;
    // GBK bytes to UTF-16; a byte sequence GBK does not define becomes U+FFFD.
    virtual std::u16string ToUtf16(std::string_view gbk) const = 0;
    // UTF-16 to GBK; a character GBK cannot hold becomes the default character "?".
    virtual std::string FromUtf16(std::u16string_view utf16) const = 0;
    virtual std::string ToUtf8(std::string_view gbk) const = 0;
    virtual std::string FromUtf8(std::string_view utf8) const = 0;
};

// Registers the converter (not owned; it must outlive its use). Null unregisters.
void SetCodePage936(const CodePageConverter* converter);
// The registered converter; the fatal report when none is registered.
const CodePageConverter& CodePage936();
bool HasCodePage936();

std::u16string GbkToUtf16(const Text& text);
Text Utf16ToGbk(std::u16string_view utf16);
std::string GbkToUtf8(const Text& text);
Text Utf8ToGbk(std::string_view utf8);

// A Chinese literal written in this UTF-8 source, as the GBK Text the program uses.
Text operator""_gbk(const char* utf8, std::size_t length);

}  // namespace korvel
