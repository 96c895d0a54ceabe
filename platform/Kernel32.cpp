#include "platform/Kernel32.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "core/binding/WindowsTypes.h"
#include "platform/IcuCodePage.h"

namespace korvel::platform {
namespace {

// The source length a call means: -1 reaches up to and including the first terminator;
// any other value below 1 is refused (-2: refused).
template <typename Unit>
int32_t SourceLength(const Unit* source, int32_t length) {
    if (!source || length == 0 || length < -1) return -2;
    if (length != -1) return length;
    return static_cast<int32_t>(std::char_traits<Unit>::length(source)) + 1;
}

// Copies a finished conversion out: capacity 0 asks for the size only.
template <typename Unit>
int32_t Deliver(const std::basic_string<Unit>& converted, Unit* buffer, int32_t capacity) {
    const auto needed = static_cast<int32_t>(converted.size());
    if (capacity == 0) return needed;
    if (capacity < 0 || !buffer || capacity < needed) return 0;
    std::copy(converted.begin(), converted.end(), buffer);
    return needed;
}

}  // namespace

int32_t MultiByteToWideChar(uint32_t codePage, uint32_t /*flags*/, const char* text, int32_t textLength,
                            char16_t* buffer, int32_t capacity) {
    if (codePage != CODE_PAGE_936) return 0;
    const int32_t length = SourceLength(text, textLength);
    if (length < 0) return 0;
    const std::u16string converted = SharedIcuCodePage().ToUtf16(std::string_view(text, static_cast<size_t>(length)));
    if (converted.empty()) return 0;
    return Deliver(converted, buffer, capacity);
}

int32_t WideCharToMultiByte(uint32_t codePage, uint32_t /*flags*/, const char16_t* units, int32_t unitCount,
                            char* buffer, int32_t capacity, const char* /*defaultChar*/, int32_t* usedDefault) {
    if (codePage != CODE_PAGE_936) return 0;
    const int32_t length = SourceLength(units, unitCount);
    if (length < 0) return 0;
    const std::u16string_view source(units, static_cast<size_t>(length));
    const std::string converted = SharedIcuCodePage().FromUtf16(source);
    if (converted.empty()) return 0;
    if (usedDefault) {
        // "?" never trails a GBK lead byte, so every "?" beyond the source's own came
        // from the default character.
        const auto ownMarks = std::count(source.begin(), source.end(), u'?');
        *usedDefault = std::count(converted.begin(), converted.end(), '?') > ownMarks ? 1 : 0;
    }
    return Deliver(converted, buffer, capacity);
}

}  // namespace korvel::platform
