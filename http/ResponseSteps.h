#pragma once
// What the request routine does with a response once its body has been read: the raw
// header text, the status, the cookies the server set, the redirect target, the body
// bytes and the page text.
#include <optional>

#include "core/Bytes.h"
#include "core/Text.h"
#include "core/binding/WindowsTypes.h"
#include "http/RegexObject.h"

namespace korvel {

// The caller's output variables (or the routine's scratch ones); none is null.
struct ResponseOutputs {
    Text* returnedHeaders;
    Text* statusText;
    Text* returnedCookies;
    Text* location;          // changed only by a Location line
    Bytes* responseBytes;
};

// Runs on the open request handle after a successful receive. Nothing, with every output
// untouched, when the raw header text cannot be had; otherwise the page text (GBK).
// Yields to the window once per header line. regex is the request's own, used by the
// charset step.
std::optional<Text> RunResponseSteps(HINTERNET request, Bytes responseBody, const ResponseOutputs& outputs,
                                     RegexObject& regex);

}  // namespace korvel
