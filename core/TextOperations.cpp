// Cutting, trimming, comparing and joining texts, and numbers as text.
#include "core/TextOperations.h"

#include <charconv>
#include <string>

#include "core/AllocationRequest.h"
#include "core/FatalError.h"
#include "core/GbkScan.h"

namespace korvel {

using detail::CharacterWidth;
using detail::FoldAscii;

int32_t TextLength(const Text& text) { return text.size(); }

Text LeftText(const Text& text, int32_t n) {
    if (n <= 0) return {};
    return Text(text.view().substr(0, static_cast<std::size_t>(n)));
}

Text MidText(const Text& text, int32_t start, int32_t n) {
    if (start < 1 || start > text.size() || n <= 0) return {};
    return Text(text.view().substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(n)));
}

Text TrimText(const Text& text) {
    const std::string_view bytes = text.view();
    const auto isFullWidthBlank = [&](std::size_t offset, std::size_t width) {
        return width == 2 && static_cast<unsigned char>(bytes[offset]) == 0xA1 &&
               static_cast<unsigned char>(bytes[offset + 1]) == 0xA1;
    };
    // Walk forward character by character, so that an A1 A1 pair is only taken for a
    // full-width blank where it really is one character (not a trail byte plus a lead byte).
    std::size_t cursor = 0;
    std::size_t keepFrom = bytes.size();
    std::size_t keepTo = 0;
    while (cursor < bytes.size()) {
        const std::size_t width = CharacterWidth(bytes, cursor);
        const bool blank = bytes[cursor] == ' ' || isFullWidthBlank(cursor, width);
        if (!blank) {
            if (keepFrom == bytes.size()) keepFrom = cursor;
            keepTo = cursor + width;
        }
        cursor += width;
    }
    if (keepTo == 0) return {};
    return Text(bytes.substr(keepFrom, keepTo - keepFrom));
}

int32_t CompareText(const Text& a, const Text& b, bool caseSensitive) {
    const std::string_view left = a.view();
    const std::string_view right = b.view();
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < left.size() && j < right.size()) {
        const std::size_t leftWidth = CharacterWidth(left, i);
        const std::size_t rightWidth = CharacterWidth(right, j);
        if (leftWidth == 1 && rightWidth == 1) {
            // Letters fold to lower case, as a case-blind comparison usually orders them.
            unsigned char x = static_cast<unsigned char>(left[i]);
            unsigned char y = static_cast<unsigned char>(right[j]);
            if (!caseSensitive) {
                x = FoldAscii(x);
                y = FoldAscii(y);
            }
            if (x != y) return x < y ? -1 : 1;
        } else {
            // A two-byte character is one unit: its bytes compare as they are.
            const int order = left.substr(i, leftWidth).compare(right.substr(j, rightWidth));
            if (order != 0) return order < 0 ? -1 : 1;
        }
        i += leftWidth;
        j += rightWidth;
    }
    if (i < left.size()) return 1;
    if (j < right.size()) return -1;
    return 0;
}

namespace detail {

Text ConcatViews(std::initializer_list<std::string_view> pieces) {
    int64_t total = 0;
    for (std::string_view piece : pieces) total += static_cast<int64_t>(piece.size());
    if (total > INT32_MAX) ReportAllocationFailure(total);
    AllocationRequest request(total);
    std::string joined;
    joined.reserve(static_cast<std::size_t>(total));
    for (std::string_view piece : pieces) joined.append(piece);
    return Text(std::move(joined));
}

}  // namespace detail

Text IntToText(int32_t n) {
    char digits[16];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, n);
    (void)error;  // eleven characters at most always fit
    return Text(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

}  // namespace korvel
