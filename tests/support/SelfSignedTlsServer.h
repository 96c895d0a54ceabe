#pragma once
// An https server with a certificate made on the spot and signed by itself, which no
// client trusts: `openssl s_server` as a child process on an ephemeral port of
// 127.0.0.1. The destructor kills it and removes its files. Every wait is bounded.
#include <cstdint>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace korvel::testing {

class SelfSignedTlsServer {
public:
    SelfSignedTlsServer();    // running (port() != 0) or failed (port() == 0)
    ~SelfSignedTlsServer();
    SelfSignedTlsServer(const SelfSignedTlsServer&) = delete;
    SelfSignedTlsServer& operator=(const SelfSignedTlsServer&) = delete;

    uint16_t port() const { return port_; }
    // "https://127.0.0.1:<port>" followed by pathAndQuery.
    std::string Url(std::string_view pathAndQuery = "/") const;

private:
    std::string folder_;
    pid_t child_ = -1;
    uint16_t port_ = 0;
};

}  // namespace korvel::testing
