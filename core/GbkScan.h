#pragma once
// Byte-level helpers shared by the text primitives. They work on GBK bytes held in a
// string_view; a lead byte (0x80 or above) and the byte after it form one character,
// except a lead byte that is the last byte, which stands alone.
#include <cstddef>
#include <string_view>

#include "core/Text.h"

namespace korvel::detail {

enum class LetterCase { kExact, kFoldAscii };

// The width of the character that begins at offset: 2 for a lead byte followed by another
// byte, 1 otherwise. offset must lie inside bytes.
inline std::size_t CharacterWidth(std::string_view bytes, std::size_t offset) {
    return IsLeadByte(static_cast<unsigned char>(bytes[offset])) && offset + 1 < bytes.size() ? 2 : 1;
}

// ASCII letters only: a byte of a two-byte character is folded too when it is one.
inline unsigned char FoldAscii(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// True when sought stands at offset; the caller has checked that enough bytes remain.
inline bool MatchesAt(std::string_view bytes, std::size_t offset, std::string_view sought, LetterCase letterCase) {
    if (letterCase == LetterCase::kExact) return bytes.compare(offset, sought.size(), sought) == 0;
    for (std::size_t i = 0; i < sought.size(); ++i) {
        if (FoldAscii(static_cast<unsigned char>(bytes[offset + i])) != FoldAscii(static_cast<unsigned char>(sought[i])))
            return false;
    }
    return true;
}

}  // namespace korvel::detail
