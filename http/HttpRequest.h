#pragma once
// The program's one HTTP client call: a complete synchronous request through the
// platform's HTTP services ("Winhttp.dll"), with default headers, cookies, redirects,
// credentials, a proxy and a time-out. Texts are GBK. Failures never throw: a failing
// step leaves its numbered error text in statusText and the result is the empty text.
#include <cstdint>
#include <optional>

#include "core/Bytes.h"
#include "core/Text.h"

namespace korvel {

// The arguments in their fixed order; fill them with designated initialisers. A value
// not given reads as the empty text, 0 or false, except cookies, whose being given also
// selects the cookie option. Outputs are the caller's variables; null ones are dropped.
struct HttpRequestArguments {
    Text url{};                                 // absolute http or https URL
    std::optional<int32_t> method{};            // 0 GET, 1 POST, 2 HEAD, 3 PUT, any other GET
    std::optional<Text> body{};                 // sent as its bytes, unencoded
    std::optional<Text> cookies{};              // value of a "Cookie: " request header
    Text* returnedCookies = nullptr;            // out: cookies the response set, "; " between
    std::optional<Text> extraHeaders{};         // request header lines, CR LF between
    Text* returnedHeaders = nullptr;            // out: raw response header text
    std::optional<bool> noRedirect{};           // true: a redirect reaches the caller unchanged
    std::optional<Text> user{};                 // Basic credentials for the server ...
    std::optional<Text> password{};             // ... set only when both are non-empty
    std::optional<Text> proxy{};                // "host" or "host:port"
    std::optional<Text> proxyUser{};            // Basic credentials for the proxy ...
    std::optional<Text> proxyPassword{};        // ... set only when both are non-empty
    std::optional<int32_t> timeoutSeconds{};    // 0 or less: 30; above 2147483: 2147483
    Text* location = nullptr;                   // in, out: target of a Location header
    Text* statusText = nullptr;                 // out: error text, or the response status
    Bytes* responseBytes = nullptr;             // out: the raw response body
};

// The response body up to its first NUL as GBK text, or the empty text when the exchange
// did not get that far.
Text HttpRequest(const HttpRequestArguments& arguments);

}  // namespace korvel
