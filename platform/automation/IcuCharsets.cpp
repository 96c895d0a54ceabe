#include "platform/automation/IcuCharsets.h"

#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <memory>
#include <set>

namespace korvel::platform {
namespace {

// The converter the program's own texts use (platform/IcuCodePage.cpp), so a page in
// code page 936 reads back byte for byte.
constexpr const char* kCodePage936 = "windows-936";

std::string Folded(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

// Every name ICU gives a converter it has, folded to lower case. Built once.
const std::set<std::string>& IcuNames() {
    static const std::set<std::string> names = [] {
        std::set<std::string> all;
        const int32_t converters = ucnv_countAvailable();
        for (int32_t i = 0; i < converters; ++i) {
            const char* converter = ucnv_getAvailableName(i);
            all.insert(Folded(converter));
            UErrorCode status = U_ZERO_ERROR;
            const uint16_t aliases = ucnv_countAliases(converter, &status);
            for (uint16_t a = 0; U_SUCCESS(status) && a < aliases; ++a) {
                const char* alias = ucnv_getAlias(converter, a, &status);
                if (U_SUCCESS(status) && alias) all.insert(Folded(alias));
            }
        }
        return all;
    }();
    return names;
}

bool IsGbkName(const std::string& folded) {
    static const std::set<std::string> names = {
        "gb2312", "csgb2312", "gb_2312-80", "gb2312-1980", "chinese", "iso-ir-58", "csiso58gb231280",
        "euc-cn", "x-euc-cn", "x-gbk", "gbk", "cp936", "ms936", "windows-936",
    };
    return names.contains(folded);
}

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};

}  // namespace

std::optional<std::string> ConverterForCharset(std::u16string_view charset) {
    std::string ascii;
    for (char16_t unit : charset) {
        if (unit == 0 || unit > 0x7F) return std::nullopt;
        ascii.push_back(static_cast<char>(unit));
    }
    const std::string folded = Folded(ascii);
    if (folded == "unicode") return std::string("UTF-16LE");
    if (IsGbkName(folded)) return std::string(kCodePage936);
    if (!IcuNames().contains(folded)) return std::nullopt;
    return ascii;
}

std::optional<std::u16string> DecodeBytes(const std::string& converter, std::span<const uint8_t> bytes) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, ConverterCloser> open(ucnv_open(converter.c_str(), &status));
    if (U_FAILURE(status) || !open) return std::nullopt;
    if (bytes.empty()) return std::u16string();
    status = U_ZERO_ERROR;
    const icu::UnicodeString decoded(reinterpret_cast<const char*>(bytes.data()), static_cast<int32_t>(bytes.size()),
                                     open.get(), status);
    if (U_FAILURE(status)) return std::nullopt;
    return std::u16string(decoded.getBuffer(), static_cast<std::size_t>(decoded.length()));
}

}  // namespace korvel::platform
