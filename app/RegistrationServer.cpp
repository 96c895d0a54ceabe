#include "app/RegistrationServer.h"

#include "core/TextOperations.h"

#ifndef KORVEL_REGISTRATION_HOST
#error "KORVEL_REGISTRATION_HOST names the registration server; the build defines it"
#endif

namespace korvel {
namespace {

constexpr uint16_t kRegistrationPort = 81;

}  // namespace

RegistrationServer RegistrationServer::BuiltIn() { return RegistrationServer(Text(KORVEL_REGISTRATION_HOST), kRegistrationPort); }

Text RegistrationServer::Origin() const { return ConcatText("http://", host_, ":", IntToText(port_)); }

Text RegistrationServer::RegistrationUrl() const { return ConcatText(Origin(), "/kv/dj.asp"); }

Text RegistrationServer::ViewUrl(const Text& reply) const { return ConcatText(Origin(), "/kv/ck.asp?id=", reply); }

}  // namespace korvel
