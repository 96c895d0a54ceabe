#pragma once
// Plain, slow models of the text primitives, written straight from their definitions,
// for the fuzz target to compare the real ones with. GBK bytes: a byte of 0x80 or above
// and the byte after it are one character, except as the last byte, where it stands alone.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::fuzz::reference {

std::vector<std::string> Split(std::string_view text, std::string_view separator, std::optional<int32_t> maxPieces);
int32_t Find(std::string_view text, std::string_view sought, std::optional<int32_t> start, bool ignoreCase);
std::string Replace(std::string_view text, std::string_view sought, std::string_view replacement, bool caseSensitive);
std::string Trim(std::string_view text);
// quoteMarker: the GBK bytes of the marker that stands for a double quote in left and right.
std::string Between(std::string_view text, std::string_view left, std::string_view right, std::optional<int32_t> start,
                    bool ignoreCase, std::string_view quoteMarker);

}  // namespace korvel::fuzz::reference
