#pragma once
#include <cstdint>

namespace korvel {

// The integer part of x, cut toward zero (2.9 gives 2, -2.9 gives -2). Values beyond the
// 32-bit range saturate; NaN gives 0.
int32_t TruncateToInt(double x);

template <typename... More>
constexpr int32_t BitOr(int32_t a, int32_t b, More... more) {
    return static_cast<int32_t>(((static_cast<uint32_t>(a) | static_cast<uint32_t>(b)) | ... | static_cast<uint32_t>(more)));
}

}  // namespace korvel
