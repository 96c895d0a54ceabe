#pragma once
// The code page conversions of "kernel32.dll". Only code page 936 is served; any other
// code page fails with 0, as an unknown code page does.
#include <cstdint>

namespace korvel::platform {

// GBK bytes to UTF-16 units. textLength -1 converts up to and including the first NUL
// and counts it; otherwise exactly textLength bytes, NULs included. Capacity 0 asks for
// the number of units only. Returns the units written (or needed), or 0 on failure: a
// null text, a length of 0 or below -1, a capacity too small, a negative capacity.
// Bytes GBK does not define become U+FFFD. flags are accepted and not looked at.
int32_t MultiByteToWideChar(uint32_t codePage, uint32_t flags, const char* text, int32_t textLength,
                            char16_t* buffer, int32_t capacity);

// UTF-16 units to GBK bytes, with the same length, capacity and result rules. A character
// GBK cannot hold (or a lone surrogate) becomes "?", the platform's default character;
// defaultChar is not looked at, and usedDefault, when given, is set to 1 when that
// happened and to 0 otherwise. flags are accepted and not looked at.
int32_t WideCharToMultiByte(uint32_t codePage, uint32_t flags, const char16_t* units, int32_t unitCount,
                            char* buffer, int32_t capacity, const char* defaultChar, int32_t* usedDefault);

}  // namespace korvel::platform
