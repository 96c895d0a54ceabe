// Platform check, URL cracking and the three kinds of handle: session, connection, request.
#include <algorithm>

#include "platform/winhttp/UrlCracker.h"
#include "platform/winhttp/WideText.h"
#include "platform/winhttp/WinHttpFunctions.h"
#include "platform/winhttp/WinHttpHandles.h"

namespace korvel::platform::winhttp {
namespace {

constexpr DWORD kAccessTypeDefaultProxy = 0;
constexpr DWORD kAccessTypeAutomaticProxy = 4;
constexpr DWORD kFlagAsync = 0x10000000;

// A verb is an HTTP token: visible ASCII without separators.
bool IsToken(std::string_view word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte > 0x20 && byte < 0x7F && std::string_view("()<>@,;:\\\"/[]?={}").find(c) == std::string_view::npos;
    });
}

// The object name as libcurl takes it: UTF-8, with blanks, controls, non-ASCII bytes and
// the characters a URL may not hold percent-escaped. A fragment stays in the text and is
// dropped by libcurl, as a fragment never goes to the server.
std::string EscapeObjectName(std::u16string_view objectName) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string utf8 = Utf16ToUtf8(objectName);
    std::string out;
    if (utf8.empty() || (utf8.front() != '/' && utf8 != "*")) out += '/';
    for (char c : utf8) {
        auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || std::string_view("\"<>\\^`{|}").find(c) != std::string_view::npos) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

std::string RequestUrl(const Connection& connection, bool secure, std::u16string_view objectName) {
    INTERNET_PORT port = connection.port != 0 ? connection.port : (secure ? 443 : 80);
    bool literalV6 = connection.host.find(':') != std::string::npos;
    std::string host = literalV6 ? "[" + connection.host + "]" : connection.host;
    return std::string(secure ? "https://" : "http://") + host + ":" + std::to_string(port) + EscapeObjectName(objectName);
}

}  // namespace

BOOL WinHttpCheckPlatform() { return 1; }

BOOL WinHttpCrackUrl(const char16_t* url, DWORD length, DWORD flags, URL_COMPONENTS* components) {
    return CrackUrlInto(url, length, flags, components);
}

HINTERNET WinHttpOpen(const char16_t* agent, DWORD accessType, const char16_t* proxyName, const char16_t* proxyBypass,
                      DWORD flags) {
    if (flags & kFlagAsync) return nullptr;   // the stand-in is synchronous only
    auto session = std::make_unique<Session>();
    session->agent = Utf16ToUtf8(WideArgument(agent));
    switch (accessType) {
        case WINHTTP_ACCESS_TYPE_NO_PROXY:
        case kAccessTypeDefaultProxy:      // no system proxy settings here: direct
        case kAccessTypeAutomaticProxy:
            break;
        case WINHTTP_ACCESS_TYPE_NAMED_PROXY: {
            std::optional<ProxySetting> proxy =
                ProxySetting::Parse(Utf16ToUtf8(WideArgument(proxyName)), Utf16ToUtf8(WideArgument(proxyBypass)));
            if (!proxy) return nullptr;
            session->proxy = *proxy;
            break;
        }
        default:
            return nullptr;
    }
    return Adopt(std::move(session));
}

HINTERNET WinHttpConnect(HINTERNET sessionHandle, const char16_t* host, INTERNET_PORT port, DWORD reserved) {
    auto* session = Lookup<Session>(sessionHandle);
    std::u16string_view hostName = WideArgument(host);
    if (!session || hostName.empty() || reserved != 0) return nullptr;
    auto connection = std::make_unique<Connection>();
    connection->agent = session->agent;
    connection->proxy = session->proxy;
    connection->host = Utf16ToUtf8(hostName);
    connection->port = port;
    return Adopt(std::move(connection));
}

HINTERNET WinHttpOpenRequest(HINTERNET connectionHandle, const char16_t* verb, const char16_t* objectName,
                             const char16_t* version, const char16_t* referrer, const char16_t* const* acceptTypes,
                             DWORD flags) {
    auto* connection = Lookup<Connection>(connectionHandle);
    if (!connection) return nullptr;
    std::u16string_view versionText = WideArgument(version);
    if (!versionText.empty() && versionText != u"HTTP/1.1") return nullptr;   // HTTP/1.1 only
    auto request = std::make_unique<Request>();
    request->verb = verb ? Utf16ToUtf8(WideArgument(verb)) : "GET";
    if (!IsToken(request->verb)) return nullptr;
    request->secure = (flags & WINHTTP_FLAG_SECURE) != 0;
    request->url = RequestUrl(*connection, request->secure, objectName ? WideArgument(objectName) : u"/");
    request->proxyUrl = connection->proxy.ProxyUrlFor(request->secure ? "https" : "http", connection->host);
    request->agent = connection->agent;
    if (referrer && *referrer) request->headers.Add("Referer: " + Utf16ToCodePage936(WideArgument(referrer)), WINHTTP_ADDREQ_FLAG_ADD);
    if (acceptTypes && *acceptTypes) {
        std::string accept;
        for (const char16_t* const* type = acceptTypes; *type; ++type) {
            accept += (accept.empty() ? "" : ", ") + Utf16ToCodePage936(WideArgument(*type));
        }
        request->headers.Add("Accept: " + accept, WINHTTP_ADDREQ_FLAG_ADD);
    }
    return Adopt(std::move(request));
}

BOOL WinHttpCloseHandle(HINTERNET handle) { return Close(handle) ? 1 : 0; }

}  // namespace korvel::platform::winhttp
