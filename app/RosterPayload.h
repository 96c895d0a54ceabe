#pragma once
// The registration text of a roster, and the request body that carries it to the server.
#include "app/Roster.h"
#include "core/Text.h"

namespace korvel {

// "bjdl" followed by the row keys of rows 1..n joined by "|", nothing after the last one;
// "bjdl" alone for n = 0. Values holding "-" or "|" go in unchanged. GBK. The roster's
// counts must be equal.
Text BuildRosterPayload(const Roster& roster);

// "nr=" + payload, the payload written as a form field value: "%", "&" and "+" become
// "%25", "%26" and "%2B", so the server's form decoding gives back the payload exactly.
// Every other byte, two-byte GBK characters included, stands as it is.
Text RegistrationBody(const Text& payload);

}  // namespace korvel
