// Sending performs the whole exchange; receiving, the data calls and the header query
// then serve the response collected in memory.
#include <algorithm>
#include <cstring>

#include "platform/winhttp/WideText.h"
#include "platform/winhttp/WinHttpFunctions.h"
#include "platform/winhttp/WinHttpHandles.h"

namespace korvel::platform::winhttp {
namespace {

// After a broken body the data calls announce what the server still owed, in pieces of
// at most this size, and the read of it fails.
constexpr uint64_t kOwedAnnouncement = 8192;

ExchangeRequest ExchangeFor(const Request& request, std::string_view body) {
    ExchangeRequest exchange;
    exchange.url = request.url;
    exchange.verb = request.verb;
    exchange.headers = &request.headers;
    exchange.body = body;
    exchange.proxyUrl = request.proxyUrl;
    exchange.timeouts = request.timeouts;
    exchange.server = request.server;
    exchange.proxy = request.proxyCredentials;
    exchange.cookieEngine = request.cookieEngine;
    exchange.followRedirects = request.followRedirects;
    return exchange;
}

size_t Unserved(const Request& request) { return request.response.body.size() - request.served; }

}  // namespace

BOOL WinHttpSendRequest(HINTERNET handle, const char16_t* headers, DWORD headersLength, const void* optional,
                        DWORD optionalLength, DWORD totalLength, uintptr_t) {
    auto* request = Lookup<Request>(handle);
    if (!request) return 0;
    // The body comes whole with the call; later writes of more data are not supported.
    if (totalLength != optionalLength || (optionalLength > 0 && !optional)) return 0;
    std::u16string_view extra = WideArgument(headers, headersLength);
    if (!extra.empty() && !request->headers.Add(Utf16ToCodePage936(extra), WINHTTP_ADDREQ_FLAG_ADD)) return 0;
    if (!request->agent.empty() && !request->headers.Find("User-Agent")) {
        request->headers.Add("User-Agent: " + request->agent, WINHTTP_ADDREQ_FLAG_ADD);
    }

    std::string_view body(static_cast<const char*>(optional), optionalLength);
    request->response = PerformExchange(ExchangeFor(*request, body));
    request->served = 0;
    if (request->response.failure == ExchangeFailure::Send) {
        request->stage = Request::Stage::Opened;
        return 0;
    }
    request->stage = Request::Stage::Sent;
    return 1;
}

BOOL WinHttpReceiveResponse(HINTERNET handle, void* reserved) {
    auto* request = Lookup<Request>(handle);
    if (!request || reserved || request->stage != Request::Stage::Sent) return 0;
    if (request->response.failure == ExchangeFailure::Receive) return 0;
    request->stage = Request::Stage::Received;
    return 1;
}

BOOL WinHttpQueryDataAvailable(HINTERNET handle, DWORD* available) {
    auto* request = Lookup<Request>(handle);
    if (!request || !available || request->stage != Request::Stage::Received) return 0;
    size_t unserved = Unserved(*request);
    if (unserved > 0) {
        *available = static_cast<DWORD>(std::min<size_t>(unserved, 0x7FFFFFFF));
    } else if (request->response.failure == ExchangeFailure::Body) {
        *available = static_cast<DWORD>(std::min(request->response.bytesOwed, kOwedAnnouncement));
    } else {
        *available = 0;
    }
    return 1;
}

BOOL WinHttpReadData(HINTERNET handle, void* buffer, DWORD toRead, DWORD* read) {
    auto* request = Lookup<Request>(handle);
    if (!request || !read || (toRead > 0 && !buffer) || request->stage != Request::Stage::Received) return 0;
    size_t unserved = Unserved(*request);
    size_t count = std::min<size_t>(unserved, toRead);
    if (count > 0) std::memcpy(buffer, request->response.body.data() + request->served, count);
    request->served += count;
    *read = static_cast<DWORD>(count);
    // The bytes that arrived are all served; what the server still owed never comes.
    if (unserved == 0 && toRead > 0 && request->response.failure == ExchangeFailure::Body) return 0;
    return 1;
}

// Level 22 only: the final response's raw header text, UTF-16. A buffer too small fails
// and sets the size needed in bytes, NUL included; success writes text and NUL and sets
// the size to the text's bytes without the NUL.
BOOL WinHttpQueryHeaders(HINTERNET handle, DWORD infoLevel, const char16_t* name, void* buffer, DWORD* bufferLength,
                         DWORD*) {
    auto* request = Lookup<Request>(handle);
    if (!request || !bufferLength || name || infoLevel != WINHTTP_QUERY_RAW_HEADERS_CRLF) return 0;
    if (request->stage != Request::Stage::Received || request->response.rawHeaders.empty()) return 0;
    std::u16string text = WidenLatin1(request->response.rawHeaders);
    auto needed = static_cast<DWORD>((text.size() + 1) * sizeof(char16_t));
    if (!buffer || *bufferLength < needed) {
        *bufferLength = needed;
        return 0;
    }
    std::memcpy(buffer, text.c_str(), needed);
    *bufferLength = needed - sizeof(char16_t);
    return 1;
}

}  // namespace korvel::platform::winhttp
