#pragma once
// The last response step: a page that declares a charset other than GBK in its first
// 1024 bytes comes back converted from that charset.
#include "core/Bytes.h"
#include "core/Text.h"

namespace korvel {

// pageText: the body up to its first NUL, GBK as stored; responseBytes: the whole body.
// Returns the page text, converted when the page declares another charset.
Text ApplyCharsetStep(const Text& pageText, const Bytes& responseBytes);

}  // namespace korvel
