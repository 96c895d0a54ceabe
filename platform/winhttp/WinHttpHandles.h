#pragma once
// The objects behind the opaque WinHTTP handles. Each handle stands alone: a connection
// copies what it needs from its session, a request from its connection, so closing them
// in any order leaves no dangling reference.
#include <memory>
#include <string>

#include "core/binding/WindowsTypes.h"
#include "platform/winhttp/CurlExchange.h"
#include "platform/winhttp/ProxySetting.h"
#include "platform/winhttp/RequestHeaderList.h"

namespace korvel::platform::winhttp {

struct Handle {
    virtual ~Handle() = default;
};

struct Session : Handle {
    std::string agent;    // UTF-8; sent as User-Agent unless a request names its own
    ProxySetting proxy;   // no entries: every request goes direct
};

struct Connection : Handle {
    std::string agent;
    ProxySetting proxy;
    std::string host;     // UTF-8
    INTERNET_PORT port = 0;   // 0: the scheme's default
};

struct Request : Handle {
    enum class Stage { Opened, Sent, Received };

    // Set up by WinHttpOpenRequest and the option calls.
    std::string url;          // absolute, as libcurl takes it
    std::string verb;
    bool secure = false;
    std::string agent;
    RequestHeaderList headers;
    ExchangeTimeouts timeouts;
    ExchangeCredentials server;
    ExchangeCredentials proxyCredentials;
    std::string proxyUrl;
    bool cookieEngine = true;
    bool followRedirects = true;
    // Revocation checking was asked for. The TLS library verifies the chain and the host
    // name on every request; it offers no revocation switch beyond that, so this stays a
    // record of the request.
    bool revocationCheckRequested = false;

    // Filled by WinHttpSendRequest, served by the receive and read calls.
    Stage stage = Stage::Opened;
    ExchangeResult response;
    size_t served = 0;        // body bytes handed to the caller so far
};

// Hands out a handle for the object, which the table then owns.
HINTERNET Adopt(std::unique_ptr<Handle> object);

// Closes handle; false when it is not open.
bool Close(HINTERNET handle);

// The object behind handle when it is open; null otherwise.
Handle* LookupAny(HINTERNET handle);

// The object behind handle when it is open and of type T; null otherwise.
template <typename T>
T* Lookup(HINTERNET handle) {
    return dynamic_cast<T*>(LookupAny(handle));
}

}  // namespace korvel::platform::winhttp
