#include "encoder/GbkPath.h"

#include <iconv.h>

#include <cerrno>

namespace korvel::encoder {

namespace {

std::optional<std::string> Convert(std::string_view gbk) {
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

}  // namespace

// Each thread asks for the same picture path image after image: its last conversion is
// kept, which spares opening a converter for every picture.
std::optional<std::string> GbkPathToUtf8(std::string_view gbk) {
    thread_local std::string lastGbk;
    thread_local std::optional<std::string> lastUtf8;
    if (!lastUtf8 || gbk != lastGbk) {
        lastUtf8 = Convert(gbk);
        lastGbk = gbk;
    }
    return lastUtf8;
}

}  // namespace korvel::encoder
