#pragma once
// The last response step: a page that declares a charset other than GBK in its first
// 1024 bytes comes back converted from that charset by the automation class
// "Adodb.Stream". The declaration is found by the request's own RegexObject.
#include "core/Bytes.h"
#include "core/Text.h"
#include "http/RegexObject.h"

namespace korvel {

// pageText: the body up to its first NUL, GBK as stored; responseBytes: the whole body,
// which is what a conversion reads. Returns the page text: as stored when there is no
// declaration, or it names "gbk" or "gb2312" (exactly so, in lower case), or the stream
// class cannot be made; otherwise the stream's text of the whole body in that charset,
// which is the empty text when the stream does not know the charset.
// Brackets its work in one CoInitialize and CoUninitialize, and yields to the window once
// after a search that ran.
Text ApplyCharsetStep(RegexObject& regex, const Text& pageText, const Bytes& responseBytes);

// The same with a RegexObject of its own, for a caller that holds none.
Text ApplyCharsetStep(const Text& pageText, const Bytes& responseBytes);

}  // namespace korvel
