// Splitting, searching and replacing: the primitives that scan a text character by
// character, so that a match never starts on the second byte of a two-byte character.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "core/FatalError.h"
#include "core/GbkScan.h"
#include "core/TextOperations.h"

namespace korvel {

using detail::CharacterWidth;
using detail::LetterCase;
using detail::MatchesAt;

namespace {
// A Text's length is a 32-bit count; a longer result cannot be held.
constexpr std::size_t kMaxLength = INT32_MAX;
}  // namespace

TextList SplitText(const Text& text, const Text& separator, std::optional<int32_t> maxPieces) {
    if (text.empty() || (maxPieces && *maxPieces <= 0)) return {};
    if (separator.empty()) return TextList({text});

    const std::string_view bytes = text.view();
    const std::string_view sought = separator.view();
    const char* const base = bytes.data();
    const char first = sought[0];
    const std::size_t length = bytes.size();
    std::vector<Text> pieces;
    // Every separator starts with its first byte, so counting that byte bounds the number
    // of pieces: one allocation for the list instead of a chain of growing copies.
    pieces.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), first)) + 1);
    std::size_t pieceStart = 0;
    std::size_t cursor = 0;
    bool limitReached = false;

    // Each byte is looked at once and each piece copied once, so the cost stays linear in
    // the length of the text whatever the number of pieces.
    while (length - cursor >= sought.size()) {
        const char byte = base[cursor];
        if (byte == first && std::memcmp(base + cursor + 1, sought.data() + 1, sought.size() - 1) == 0) {
            pieces.emplace_back(bytes.substr(pieceStart, cursor - pieceStart));
            cursor += sought.size();
            pieceStart = cursor;
            if (maxPieces && static_cast<int64_t>(pieces.size()) >= *maxPieces) {
                limitReached = true;
                break;
            }
        } else if (IsLeadByte(static_cast<unsigned char>(byte))) {
            if (cursor + 1 >= length) break;  // a lead byte before the terminator ends the scan
            cursor += 2;
        } else {
            cursor += 1;
        }
    }
    if (!limitReached && pieceStart < length) pieces.emplace_back(bytes.substr(pieceStart));
    return TextList(std::move(pieces));
}

int32_t FindText(const Text& text, const Text& sought, std::optional<int32_t> start, bool ignoreCase) {
    const std::string_view bytes = text.view();
    const int64_t length = static_cast<int64_t>(bytes.size());
    // 0-based offset where the search begins; a start below 1 counts as 1.
    const int64_t begin = start && *start > 1 ? static_cast<int64_t>(*start) - 1 : 0;
    if (sought.empty()) return begin < length ? 1 : -1;

    const std::string_view pattern = sought.view();
    const int64_t patternLength = static_cast<int64_t>(pattern.size());
    const LetterCase letterCase = ignoreCase ? LetterCase::kFoldAscii : LetterCase::kExact;
    int64_t cursor = begin;
    while (length - cursor >= patternLength) {
        const std::size_t offset = static_cast<std::size_t>(cursor);
        if (MatchesAt(bytes, offset, pattern, letterCase)) return static_cast<int32_t>(cursor + 1);
        if (IsLeadByte(static_cast<unsigned char>(bytes[offset]))) {
            if (cursor + 1 >= length) break;
            cursor += 2;
        } else {
            cursor += 1;
        }
    }
    return -1;
}

Text ReplaceText(const Text& text, const Text& sought, std::optional<Text> replacement, bool caseSensitive) {
    if (text.empty() || sought.empty()) return text;

    const std::string_view bytes = text.view();
    const std::string_view pattern = sought.view();
    const std::string_view substitute = replacement ? replacement->view() : std::string_view();
    const LetterCase letterCase = caseSensitive ? LetterCase::kExact : LetterCase::kFoldAscii;
    std::string result;
    result.reserve(bytes.size());
    std::size_t cursor = 0;
    while (bytes.size() - cursor >= pattern.size()) {
        if (MatchesAt(bytes, cursor, pattern, letterCase)) {
            result.append(substitute);
            cursor += pattern.size();  // replaced bytes are never scanned again
            if (result.size() > kMaxLength) ReportAllocationFailure(static_cast<int64_t>(result.size()));
        } else {
            const std::size_t width = CharacterWidth(bytes, cursor);
            result.append(bytes.substr(cursor, width));
            cursor += width;
        }
    }
    result.append(bytes.substr(cursor));
    return Text(std::move(result));
}

}  // namespace korvel
