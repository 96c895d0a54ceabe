#pragma once
// Cracks an absolute http or https URL (UTF-16) into the pieces of URL_COMPONENTS.
#include <cstddef>
#include <optional>
#include <string_view>

#include "core/binding/WindowsTypes.h"

namespace korvel::platform::winhttp {

// One piece of the URL: offset and length in UTF-16 units from the URL's first unit.
struct UrlPiece {
    size_t offset = 0;
    size_t length = 0;
};

struct CrackedUrl {
    int32_t scheme = 0;            // INTERNET_SCHEME_HTTP or INTERNET_SCHEME_HTTPS
    INTERNET_PORT port = 0;        // the scheme's default when the URL names none
    UrlPiece schemeName;           // "http" or "https", as written
    UrlPiece userName;
    UrlPiece password;
    UrlPiece hostName;             // without the brackets of an IPv6 literal
    UrlPiece urlPath;              // from "/" up to "?" or "#"; empty when the URL has none
    UrlPiece extraInfo;            // from "?" or "#" to the end, fragment included
};

// Nothing for a URL without "http://" or "https://" (letter case ignored), with an empty
// or malformed host, or with a port outside 1..65535 or holding anything but digits.
std::optional<CrackedUrl> CrackHttpUrl(std::u16string_view url);

// WinHttpCrackUrl's contract over CrackHttpUrl: a length field of -1 asks for a pointer
// into url; 0 asks for nothing; any other length is the capacity of the caller's buffer
// (units, NUL included), into which the piece is copied. flags must be 0.
BOOL CrackUrlInto(const char16_t* url, DWORD length, DWORD flags, URL_COMPONENTS* components);

}  // namespace korvel::platform::winhttp
