// What a request is set up with before it is sent: time-outs, credentials, options and
// headers. Each call fails on a handle that is not an open request.
#include <cstring>

#include "platform/winhttp/WideText.h"
#include "platform/winhttp/WinHttpFunctions.h"
#include "platform/winhttp/WinHttpHandles.h"

namespace korvel::platform::winhttp {
namespace {

constexpr DWORD kAllDisableBits = WINHTTP_DISABLE_COOKIES | WINHTTP_DISABLE_REDIRECTS;

// -1 and 0 mean no limit; anything below -1 is refused.
bool ValidTimeout(int32_t ms) { return ms >= -1; }
int32_t Limit(int32_t ms) { return ms < 0 ? 0 : ms; }

}  // namespace

BOOL WinHttpSetTimeouts(HINTERNET handle, int32_t resolveMs, int32_t connectMs, int32_t sendMs, int32_t receiveMs) {
    auto* request = Lookup<Request>(handle);
    if (!request) return 0;
    if (!ValidTimeout(resolveMs) || !ValidTimeout(connectMs) || !ValidTimeout(sendMs) || !ValidTimeout(receiveMs)) return 0;
    request->timeouts = {Limit(resolveMs), Limit(connectMs), Limit(sendMs), Limit(receiveMs)};
    return 1;
}

// Basic only. The pair leaves in code page 936, the program's own, as Windows would send it.
BOOL WinHttpSetCredentials(HINTERNET handle, DWORD target, DWORD scheme, const char16_t* user, const char16_t* password,
                           void*) {
    auto* request = Lookup<Request>(handle);
    if (!request || !user || scheme != WINHTTP_AUTH_SCHEME_BASIC) return 0;
    ExchangeCredentials credentials{true, Utf16ToCodePage936(WideArgument(user)), Utf16ToCodePage936(WideArgument(password))};
    if (target == WINHTTP_AUTH_TARGET_SERVER) {
        request->server = std::move(credentials);
    } else if (target == WINHTTP_AUTH_TARGET_PROXY) {
        request->proxyCredentials = std::move(credentials);
    } else {
        return 0;
    }
    return 1;
}

// Option 63 (disable) takes the cookie and redirect bits; option 79 (enable) takes the
// revocation bit. Every other option or value fails.
BOOL WinHttpSetOption(HINTERNET handle, DWORD option, void* buffer, DWORD bufferLength) {
    auto* request = Lookup<Request>(handle);
    if (!request || !buffer || bufferLength != sizeof(DWORD)) return 0;
    DWORD value = 0;
    std::memcpy(&value, buffer, sizeof value);
    if (option == WINHTTP_OPTION_DISABLE_FEATURE) {
        if (value == 0 || (value & ~kAllDisableBits) != 0) return 0;
        if (value & WINHTTP_DISABLE_COOKIES) request->cookieEngine = false;
        if (value & WINHTTP_DISABLE_REDIRECTS) request->followRedirects = false;
        return 1;
    }
    if (option == WINHTTP_OPTION_ENABLE_FEATURE && value == WINHTTP_ENABLE_SSL_REVOCATION) {
        request->revocationCheckRequested = true;
        return 1;
    }
    return 0;
}

BOOL WinHttpAddRequestHeaders(HINTERNET handle, const char16_t* headers, DWORD headersLength, DWORD modifiers) {
    auto* request = Lookup<Request>(handle);
    if (!request || request->stage != Request::Stage::Opened) return 0;
    std::u16string_view block = WideArgument(headers, headersLength);
    if (block.empty()) return 0;
    return request->headers.Add(Utf16ToCodePage936(block), modifiers) ? 1 : 0;
}

}  // namespace korvel::platform::winhttp
