#include "platform/winhttp/UrlCracker.h"

#include <string>

#include "platform/winhttp/WideText.h"

namespace korvel::platform::winhttp {
namespace {

constexpr DWORD kPointerIntoUrl = 0xFFFFFFFF;

bool IsAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Characters a host name may not hold: blanks, controls and URL delimiters.
bool IsForbiddenHostUnit(char16_t c) {
    if (c <= 0x20 || c == 0x7F) return true;
    return std::u16string_view(u"\"#%/<>?@[\\]^`{|}").find(c) != std::u16string_view::npos;
}

std::optional<int32_t> SchemeOf(std::u16string_view name) {
    std::string lower = AsciiLower(Utf16ToUtf8(name));
    if (lower == "http") return INTERNET_SCHEME_HTTP;
    if (lower == "https") return INTERNET_SCHEME_HTTPS;
    return std::nullopt;
}

// Digits only, 1..65535. An empty port (the URL ends its host with ":") takes the default.
std::optional<INTERNET_PORT> ParsePort(std::u16string_view digits, INTERNET_PORT defaultPort) {
    if (digits.empty()) return defaultPort;
    if (digits.size() > 5) return std::nullopt;
    uint32_t value = 0;
    for (char16_t c : digits) {
        if (!IsAsciiDigit(c)) return std::nullopt;
        value = value * 10 + static_cast<uint32_t>(c - u'0');
    }
    if (value < 1 || value > 65535) return std::nullopt;
    return static_cast<INTERNET_PORT>(value);
}

// The host and port part "host", "host:port", "[v6]" or "[v6]:port", at offset in url.
bool CrackHostAndPort(std::u16string_view url, size_t offset, size_t length, CrackedUrl& out) {
    std::u16string_view hostPort = url.substr(offset, length);
    INTERNET_PORT defaultPort = out.scheme == INTERNET_SCHEME_HTTPS ? 443 : 80;
    size_t portStart = std::u16string_view::npos;
    if (!hostPort.empty() && hostPort.front() == u'[') {
        size_t close = hostPort.find(u']');
        if (close == std::u16string_view::npos || close < 2) return false;
        for (char16_t c : hostPort.substr(1, close - 1)) {
            if (!(IsAsciiDigit(c) || c == u':' || c == u'.' || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'))) return false;
        }
        out.hostName = {offset + 1, close - 1};
        if (close + 1 < hostPort.size()) {
            if (hostPort[close + 1] != u':') return false;
            portStart = close + 2;
        }
    } else {
        size_t colon = hostPort.find(u':');
        size_t hostLength = colon == std::u16string_view::npos ? hostPort.size() : colon;
        if (hostLength == 0) return false;
        for (char16_t c : hostPort.substr(0, hostLength)) {
            if (IsForbiddenHostUnit(c) || c == u':') return false;
        }
        out.hostName = {offset, hostLength};
        if (colon != std::u16string_view::npos) portStart = colon + 1;
    }
    std::u16string_view digits = portStart == std::u16string_view::npos ? std::u16string_view() : hostPort.substr(portStart);
    std::optional<INTERNET_PORT> port = ParsePort(digits, defaultPort);
    if (!port) return false;
    out.port = *port;
    return true;
}

// "user[:password]@" before the host; the last "@" of the authority ends it.
void CrackUserInfo(std::u16string_view url, size_t offset, size_t length, CrackedUrl& out) {
    std::u16string_view userInfo = url.substr(offset, length);
    size_t colon = userInfo.find(u':');
    if (colon == std::u16string_view::npos) {
        out.userName = {offset, length};
    } else {
        out.userName = {offset, colon};
        out.password = {offset + colon + 1, length - colon - 1};
    }
}

}  // namespace

std::optional<CrackedUrl> CrackHttpUrl(std::u16string_view url) {
    CrackedUrl out;
    size_t schemeEnd = url.find(u"://");
    if (schemeEnd == std::u16string_view::npos || schemeEnd == 0) return std::nullopt;
    std::optional<int32_t> scheme = SchemeOf(url.substr(0, schemeEnd));
    if (!scheme) return std::nullopt;
    out.scheme = *scheme;
    out.schemeName = {0, schemeEnd};

    size_t authorityStart = schemeEnd + 3;
    size_t authorityEnd = url.find_first_of(u"/?#", authorityStart);
    if (authorityEnd == std::u16string_view::npos) authorityEnd = url.size();
    size_t hostStart = authorityStart;
    size_t at = url.substr(authorityStart, authorityEnd - authorityStart).rfind(u'@');
    if (at != std::u16string_view::npos) {
        CrackUserInfo(url, authorityStart, at, out);
        hostStart = authorityStart + at + 1;
    }
    if (!CrackHostAndPort(url, hostStart, authorityEnd - hostStart, out)) return std::nullopt;

    size_t extraStart = url.find_first_of(u"?#", authorityEnd);
    if (extraStart == std::u16string_view::npos) extraStart = url.size();
    out.urlPath = {authorityEnd, extraStart - authorityEnd};
    out.extraInfo = {extraStart, url.size() - extraStart};
    return out;
}

namespace {

// Fills one pointer/length pair of URL_COMPONENTS as its length field asks.
bool FillPiece(const char16_t* url, const UrlPiece& piece, char16_t*& pointer, DWORD& length) {
    if (length == 0) return true;
    if (length == kPointerIntoUrl || !pointer) {
        pointer = const_cast<char16_t*>(url) + piece.offset;
        length = static_cast<DWORD>(piece.length);
        return true;
    }
    if (piece.length + 1 > length) {
        length = static_cast<DWORD>(piece.length + 1);
        return false;
    }
    std::char_traits<char16_t>::copy(pointer, url + piece.offset, piece.length);
    pointer[piece.length] = u'\0';
    length = static_cast<DWORD>(piece.length);
    return true;
}

}  // namespace

BOOL CrackUrlInto(const char16_t* url, DWORD length, DWORD flags, URL_COMPONENTS* components) {
    if (!url || !components || flags != 0 || components->dwStructSize != sizeof(URL_COMPONENTS)) return 0;
    std::optional<CrackedUrl> cracked = CrackHttpUrl(WideArgument(url, length == 0 ? kPointerIntoUrl : length));
    if (!cracked) return 0;
    URL_COMPONENTS& c = *components;
    bool filled = FillPiece(url, cracked->schemeName, c.lpszScheme, c.dwSchemeLength);
    filled = FillPiece(url, cracked->hostName, c.lpszHostName, c.dwHostNameLength) && filled;
    filled = FillPiece(url, cracked->userName, c.lpszUserName, c.dwUserNameLength) && filled;
    filled = FillPiece(url, cracked->password, c.lpszPassword, c.dwPasswordLength) && filled;
    filled = FillPiece(url, cracked->urlPath, c.lpszUrlPath, c.dwUrlPathLength) && filled;
    filled = FillPiece(url, cracked->extraInfo, c.lpszExtraInfo, c.dwExtraInfoLength) && filled;
    c.nScheme = cracked->scheme;
    c.nPort = cracked->port;
    return filled ? 1 : 0;
}

}  // namespace korvel::platform::winhttp
