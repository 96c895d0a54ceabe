#include "encoder/GbkPath.h"

#include <iconv.h>

#include <cerrno>

namespace korvel::encoder {

std::optional<std::string> GbkPathToUtf8(std::string_view gbk) {
    iconv_t converter = ::iconv_open("UTF-8", "CP936");
    if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;

    // One GBK byte never takes more than three UTF-8 bytes.
    std::string utf8(gbk.size() * 3, '\0');
    char* in = const_cast<char*>(gbk.data());
    std::size_t inLeft = gbk.size();
    char* out = utf8.data();
    std::size_t outLeft = utf8.size();
    const std::size_t result = ::iconv(converter, &in, &inLeft, &out, &outLeft);
    ::iconv_close(converter);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
    utf8.resize(utf8.size() - outLeft);
    return utf8;
}

}  // namespace korvel::encoder
