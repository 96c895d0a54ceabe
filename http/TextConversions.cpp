#include "http/TextConversions.h"

#include "core/BytesOperations.h"
#include "core/binding/Binding.h"

namespace korvel {

using binding::Call;

Bytes AnsiToUtf16(const Text& text, std::optional<bool> dropTerminator) {
    if (text.empty()) return Bytes();
    // Source length -1: the count includes the terminating NUL, and so does the conversion.
    int32_t units = Call<binding::kMultiByteToWideChar>(CODE_PAGE_936, 0u, text.ArgumentPointer(), -1, nullptr, 0);
    if (units <= 0) return Bytes();
    Bytes wide = BlankBytes(units * 2);
    Call<binding::kMultiByteToWideChar>(CODE_PAGE_936, 0u, text.ArgumentPointer(), -1,
                                        static_cast<char16_t*>(wide.ArgumentPointer()), units);
    if (dropTerminator.value_or(false)) return LeftBytes(wide, BytesLength(wide) - 2);
    return wide;
}

Text Utf16ToAnsi(const Bytes& bytes) {
    int32_t units = BytesLength(bytes) / 2;
    auto* wide = static_cast<const char16_t*>(bytes.ArgumentPointer());
    int32_t size = Call<binding::kWideCharToMultiByteSize>(CODE_PAGE_936, WC_COMPOSITECHECK, wide, units, nullptr, 0,
                                                           nullptr, nullptr);
    if (size <= 0) return Text();
    Bytes narrow = BlankBytes(size);
    Call<binding::kWideCharToMultiByte>(CODE_PAGE_936, WC_COMPOSITECHECK, wide, units,
                                        static_cast<char*>(narrow.ArgumentPointer()), size, nullptr, nullptr);
    return BytesToText(narrow);
}

}  // namespace korvel
