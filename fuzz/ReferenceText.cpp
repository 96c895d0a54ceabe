#include "ReferenceText.h"

namespace korvel::fuzz::reference {
namespace {

bool IsLead(char byte) { return static_cast<unsigned char>(byte) >= 0x80; }

// The width of the character at offset i.
size_t Width(std::string_view text, size_t i) { return IsLead(text[i]) && i + 1 < text.size() ? 2 : 1; }

char Fold(char byte) { return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte; }

bool SameAt(std::string_view text, size_t i, std::string_view sought, bool ignoreCase) {
    if (text.size() - i < sought.size()) return false;
    for (size_t k = 0; k < sought.size(); ++k) {
        const char a = text[i + k];
        const char b = sought[k];
        if (ignoreCase ? Fold(a) != Fold(b) : a != b) return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> Split(std::string_view text, std::string_view separator, std::optional<int32_t> maxPieces) {
    std::vector<std::string> pieces;
    if (text.empty() || (maxPieces && *maxPieces <= 0)) return pieces;
    if (separator.empty()) return {std::string(text)};
    size_t cursor = 0, start = 0;
    bool limitReached = false;
    while (text.size() - cursor >= separator.size()) {
        if (SameAt(text, cursor, separator, false)) {
            pieces.emplace_back(text.substr(start, cursor - start));
            cursor += separator.size();
            start = cursor;
            if (maxPieces && static_cast<int64_t>(pieces.size()) == *maxPieces) {
                limitReached = true;
                break;
            }
        } else {
            if (IsLead(text[cursor]) && cursor + 1 == text.size()) break;
            cursor += Width(text, cursor);
        }
    }
    if (!limitReached && start < text.size()) pieces.emplace_back(text.substr(start));
    return pieces;
}

int32_t Find(std::string_view text, std::string_view sought, std::optional<int32_t> start, bool ignoreCase) {
    const size_t begin = start && *start > 1 ? static_cast<size_t>(*start) - 1 : 0;
    if (sought.empty()) return begin < text.size() ? 1 : -1;
    for (size_t i = begin; i < text.size(); i += Width(text, i)) {
        if (SameAt(text, i, sought, ignoreCase)) return static_cast<int32_t>(i + 1);
    }
    return -1;
}

std::string Replace(std::string_view text, std::string_view sought, std::string_view replacement, bool caseSensitive) {
    if (text.empty() || sought.empty()) return std::string(text);
    std::string result;
    size_t i = 0;
    while (i < text.size()) {
        if (SameAt(text, i, sought, !caseSensitive)) {
            result += replacement;
            i += sought.size();
        } else {
            result += text.substr(i, Width(text, i));
            i += Width(text, i);
        }
    }
    return result;
}

std::string Trim(std::string_view text) {
    struct Character {
        size_t offset, width;
    };
    std::vector<Character> characters;
    for (size_t i = 0; i < text.size(); i += Width(text, i)) characters.push_back({i, Width(text, i)});
    auto blank = [&](const Character& c) {
        std::string_view bytes = text.substr(c.offset, c.width);
        return bytes == " " || bytes == "\xA1\xA1";
    };
    size_t first = 0, last = characters.size();
    while (first < last && blank(characters[first])) ++first;
    while (last > first && blank(characters[last - 1])) --last;
    if (first == last) return {};
    const size_t from = characters[first].offset;
    const size_t to = characters[last - 1].offset + characters[last - 1].width;
    return std::string(text.substr(from, to - from));
}

std::string Between(std::string_view text, std::string_view left, std::string_view right, std::optional<int32_t> start,
                    bool ignoreCase, std::string_view quoteMarker) {
    const std::string leftMarker = Replace(left, quoteMarker, "\"", true);
    const std::string rightMarker = Replace(right, quoteMarker, "\"", true);
    int32_t p = Find(text, leftMarker, start, ignoreCase);
    if (p != -1) p += static_cast<int32_t>(leftMarker.size());
    const int32_t q = Find(text, rightMarker, p, ignoreCase);
    if (p == -1 || q == -1) return {};
    if (p < 1 || p > static_cast<int32_t>(text.size()) || q - p <= 0) return {};
    return std::string(text.substr(static_cast<size_t>(p - 1), static_cast<size_t>(q - p)));
}

}  // namespace korvel::fuzz::reference
