#pragma once
// Charset names and byte decoding for the stream class, over ICU's converters.
//
// A charset name is known when it is one of ICU's converter names or aliases, letter case
// ignored and nothing else relaxed: ICU's own lookup would also accept "u-t-f-8" or
// "g b k", which no page or caller means. On top of ICU's list, the names that page
// authors use for simplified Chinese text (gb2312 and its relatives, which ICU gives to
// the narrower EUC-CN table) convert as code page 936, as the platform has always read
// them, and "unicode" means UTF-16LE.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace korvel::platform {

// The ICU converter to open for this charset name, or nothing when the name is unknown.
std::optional<std::string> ConverterForCharset(std::u16string_view charset);

// The bytes decoded by that converter; a byte sequence the charset does not define
// becomes the converter's substitute character. Nothing when the converter cannot open.
std::optional<std::u16string> DecodeBytes(const std::string& converter, std::span<const uint8_t> bytes);

}  // namespace korvel::platform
