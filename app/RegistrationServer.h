#pragma once
// The companion application's registration server: one host, plain HTTP, and the two
// addresses the import workflow uses on it. The program's own server is fixed when the
// program is built; nothing a user does at run time moves it.
#include <cstdint>
#include <utility>

#include "core/Text.h"

namespace korvel {

class RegistrationServer {
public:
    // host: a name or an address, ASCII; port: 1..65535.
    RegistrationServer(Text host, uint16_t port) : host_(std::move(host)), port_(port) {}

    // The server chosen at build time (KORVEL_REGISTRATION_HOST, port 81).
    static RegistrationServer BuiltIn();

    // Where the roster is posted: "http://" + host + ":" + port + "/kv/dj.asp".
    Text RegistrationUrl() const;
    // Where the phone application finds a registered roster: "http://" + host + ":" +
    // port + "/kv/ck.asp?id=" + reply, the reply appended exactly as received.
    Text ViewUrl(const Text& reply) const;

private:
    Text Origin() const;

    Text host_;
    uint16_t port_;
};

}  // namespace korvel
