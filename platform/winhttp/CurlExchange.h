#pragma once
// One complete HTTP exchange over one libcurl easy handle: connection, request, redirects
// and the whole response, collected in memory. Only CurlExchange.cpp includes libcurl.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/winhttp/RequestHeaderList.h"

namespace korvel::platform::winhttp {

// Milliseconds; 0 means no limit.
struct ExchangeTimeouts {
    int32_t resolveMs = 0;
    int32_t connectMs = 60000;
    int32_t sendMs = 30000;
    int32_t receiveMs = 30000;
};

struct ExchangeCredentials {
    bool given = false;
    std::string user;       // code page 936 bytes, as the server sees them
    std::string password;
};

struct ExchangeRequest {
    std::string url;                  // absolute, UTF-8, path already escaped
    std::string verb;                 // "GET", "POST", "HEAD", "PUT" or any other token
    const RequestHeaderList* headers = nullptr;
    std::string_view body;            // sent exactly; must outlive the exchange
    std::string proxyUrl;             // "" for a direct connection
    ExchangeTimeouts timeouts;
    ExchangeCredentials server;
    ExchangeCredentials proxy;
    bool cookieEngine = true;         // cookies set during redirects are sent on
    bool followRedirects = true;      // at most 10; POST becomes GET on 301, 302 and 303
};

// Where the exchange stopped, in the caller's terms.
enum class ExchangeFailure {
    None,
    Send,      // no connection, TLS refused, or the request could not be sent whole
    Receive,   // the request went out but no final response headers came back
    Body,      // the final headers came, the connection broke inside the body
};

struct ExchangeResult {
    ExchangeFailure failure = ExchangeFailure::Send;
    std::string rawHeaders;           // final response: status line, headers, CR LF each, empty line
    std::string body;                 // every body byte that arrived
    uint64_t bytesOwed = 0;           // Body failure: bytes the server still owed, at least 1
    std::string detail;               // libcurl's words, for a person reading a log
};

ExchangeResult PerformExchange(const ExchangeRequest& request);

// Starts libcurl once per process; the registration calls it.
void StartCurl();

}  // namespace korvel::platform::winhttp
