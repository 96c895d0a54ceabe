#pragma once
// The request header block: the caller's lines, then each default line whose header the
// block does not hold yet.
#include <optional>

#include "core/Text.h"

namespace korvel {

// extraHeaders (followed by CR LF when not empty), then the default User-Agent, Accept,
// Accept-Encoding, Accept-Language, Content-Type and Cache-Control lines, then
// "Cookie: " + cookies when cookies is not empty. A default is left out when its name
// already stands anywhere in the block built so far: "Name: " in any letter case, but
// "Content-Type:" only in exactly that case. GBK; the block always ends in CR LF.
Text BuildRequestHeaderBlock(const Text& extraHeaders, const Text& cookies);

}  // namespace korvel
