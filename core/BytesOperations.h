#pragma once
// Conversions between Text and Bytes, and the byte buffer primitives.
#include <cstdint>
#include <initializer_list>

#include "core/Bytes.h"
#include "core/Text.h"

namespace korvel {

Bytes TextToBytes(const Text& text);          // the bytes without a terminator
Text BytesToText(const Bytes& bytes);         // up to, not including, the first zero byte
int32_t BytesLength(const Bytes& bytes);
Bytes LeftBytes(const Bytes& bytes, int32_t n);  // n held between 0 and the length
Bytes BlankBytes(int32_t n);                   // n zero bytes; empty for n <= 0
Bytes BytesFromAddress(const void* address, int32_t n);  // a copy; empty for n <= 0

namespace detail {
Bytes ConcatByteList(std::initializer_list<const Bytes*> pieces);
}

template <typename... Pieces>
Bytes ConcatBytes(const Pieces&... pieces) {
    return detail::ConcatByteList({&pieces...});
}

}  // namespace korvel
