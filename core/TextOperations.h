#pragma once
// The text primitives every part of the program uses. Positions are 1-based byte
// positions in GBK text; a search never starts a match inside a two-byte character.
// None of them fails: positions outside the text give the empty text or -1.
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "core/Text.h"
#include "core/TextList.h"

namespace korvel {

// Splits at every separator that starts on a character boundary. A separator at the very
// end gives no empty last element; two in a row give an empty element between them.
// maxPieces, when given, caps the number of elements (0 or less: the empty list).
TextList SplitText(const Text& text, const Text& separator, std::optional<int32_t> maxPieces = std::nullopt);

int32_t TextLength(const Text& text);

// The first min(n, length) bytes; empty for n <= 0. May cut a two-byte character.
Text LeftText(const Text& text, int32_t n);

// min(n, length - start + 1) bytes from start; empty when start is outside 1..length or n <= 0.
Text MidText(const Text& text, int32_t start, int32_t n);

// Position of sought at or after start (below 1 counts as 1), counted from the first byte
// of text; -1 when absent. An empty sought text gives 1 when a byte lies at or after start.
// ignoreCase folds only the ASCII letters, byte by byte.
int32_t FindText(const Text& text, const Text& sought, std::optional<int32_t> start = std::nullopt, bool ignoreCase = false);

// Replaces every non-overlapping occurrence, left to right; a missing replacement deletes.
Text ReplaceText(const Text& text, const Text& sought, std::optional<Text> replacement, bool caseSensitive);

// Removes blanks (0x20) and full-width blanks (A1 A1) from both ends, nothing else.
Text TrimText(const Text& text);

// Negative, 0 or positive; two-byte characters compare as units, by unsigned byte values.
int32_t CompareText(const Text& a, const Text& b, bool caseSensitive);

namespace detail {
Text ConcatViews(std::initializer_list<std::string_view> pieces);
inline std::string_view PieceOf(const Text& text) { return text.view(); }
inline std::string_view PieceOf(const char* text) { return text ? std::string_view(text) : std::string_view(); }
}  // namespace detail

// The texts one after another. Plain string literals are taken as they are stored, so
// only ASCII literals belong here; Chinese literals go through "..."_gbk first.
template <typename... Pieces>
Text ConcatText(const Pieces&... pieces) {
    return detail::ConcatViews({detail::PieceOf(pieces)...});
}

// Decimal digits, "-" for negative values.
Text IntToText(int32_t n);

}  // namespace korvel
