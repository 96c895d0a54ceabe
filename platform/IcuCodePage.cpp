#include "platform/IcuCodePage.h"

#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <memory>

namespace korvel::platform {
namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr OpenGbk() {
    UErrorCode status = U_ZERO_ERROR;
    ConverterPtr converter(ucnv_open("windows-936", &status));
    if (U_FAILURE(status)) return nullptr;
    // Windows writes "?" for a character the code page cannot hold.
    ucnv_setSubstChars(converter.get(), "?", 1, &status);
    return converter;
}

// Each thread keeps a converter of its own: no state is shared between threads, and the
// paths converted for every picture do not open one each time (opening takes a lock that
// all threads share). Reset before each use, so no conversion sees another's leftovers.
UConverter* ThreadGbk() {
    thread_local const ConverterPtr converter = OpenGbk();
    if (converter) ucnv_reset(converter.get());
    return converter.get();
}

}  // namespace

std::u16string IcuCodePage::ToUtf16(std::string_view gbk) const {
    if (gbk.empty()) return {};
    UConverter* const converter = ThreadGbk();
    if (!converter) return {};
    std::u16string out(gbk.size() + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t written = ucnv_toUChars(converter, out.data(), static_cast<int32_t>(out.size()), gbk.data(),
                                    static_cast<int32_t>(gbk.size()), &status);
    if (U_FAILURE(status)) return {};
    out.resize(static_cast<size_t>(written));
    return out;
}

std::string IcuCodePage::FromUtf16(std::u16string_view utf16) const {
    if (utf16.empty()) return {};
    UConverter* const converter = ThreadGbk();
    if (!converter) return {};
    std::string out(utf16.size() * 2 + 1, '\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t written = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()), utf16.data(),
                                      static_cast<int32_t>(utf16.size()), &status);
    if (U_FAILURE(status)) return {};
    out.resize(static_cast<size_t>(written));
    return out;
}

std::string IcuCodePage::ToUtf8(std::string_view gbk) const {
    std::u16string utf16 = ToUtf16(gbk);
    std::string out;
    icu::UnicodeString(false, utf16.data(), static_cast<int32_t>(utf16.size())).toUTF8String(out);
    return out;
}

std::string IcuCodePage::FromUtf8(std::string_view utf8) const {
    icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    return FromUtf16(std::u16string_view(unicode.getBuffer(), static_cast<size_t>(unicode.length())));
}

const IcuCodePage& SharedIcuCodePage() {
    static const IcuCodePage instance;
    return instance;
}

}  // namespace korvel::platform
