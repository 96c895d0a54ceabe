#pragma once
// Code page 936 over ICU's "windows-936" converter.
#include "core/CodePage.h"

namespace korvel::platform {

class IcuCodePage final : public CodePageConverter {
public:
    std::u16string ToUtf16(std::string_view gbk) const override;
    std::string FromUtf16(std::u16string_view utf16) const override;
    std::string ToUtf8(std::string_view gbk) const override;
    std::string FromUtf8(std::string_view utf8) const override;
};

// The one instance the program registers.
const IcuCodePage& SharedIcuCodePage();

}  // namespace korvel::platform
