#include "http/ResponseSteps.h"

#include <utility>

#include "core/BytesOperations.h"
#include "core/Services.h"
#include "core/TextOperations.h"
#include "core/binding/Binding.h"
#include "http/CharsetStep.h"
#include "http/TextBetween.h"
#include "http/TextConversions.h"

namespace korvel {
namespace {

using binding::Call;

// The raw header text by the two-call size protocol: the first call, with no buffer,
// fails and tells the size in bytes; the second fills a buffer of that size.
std::optional<Text> QueryRawHeaders(HINTERNET request) {
    DWORD size = 0;
    DWORD index = 0;
    Call<binding::kWinHttpQueryHeaders>(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, nullptr, nullptr, &size, &index);
    Bytes buffer = BlankBytes(static_cast<int32_t>(size));
    index = 0;
    if (!Call<binding::kWinHttpQueryHeaders>(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, nullptr, buffer.ArgumentPointer(),
                                             &size, &index)) {
        return std::nullopt;
    }
    return Utf16ToAnsi(buffer);
}

// The status code and reason: what follows the nine characters "HTTP/1.1 " of the first
// line, up to its line break; the empty text when no line break stands there.
Text StatusOf(const Text& rawHeaders) {
    int32_t lineEnd = FindText(rawHeaders, Text("\r\n"), 10, false);
    if (lineEnd == -1) return Text();
    return MidText(rawHeaders, 10, lineEnd - 10);
}

// A Set-Cookie line's cookie without its attributes, trimmed.
Text CookieOf(const Text& line) {
    Text value = FindText(line, Text(";")) != -1 ? TextBetween(line, Text("Set-Cookie:"), Text(";"), 1, false)
                                                 : ReplaceText(line, Text("Set-Cookie:"), std::nullopt, false);
    return TrimText(value);
}

}  // namespace

std::optional<Text> RunResponseSteps(HINTERNET request, Bytes responseBody, const ResponseOutputs& outputs,
                                     RegexObject& regex) {
    std::optional<Text> rawHeaders = QueryRawHeaders(request);
    if (!rawHeaders) return std::nullopt;

    *outputs.statusText = StatusOf(*rawHeaders);
    // Every spelling of the cookie header's name becomes one, inside values too.
    Text headers = ReplaceText(*rawHeaders, Text("Set-Cookie"), Text("Set-Cookie"), false);
    *outputs.returnedHeaders = headers;

    TextList lines = SplitText(headers, Text("\r\n"));
    Text cookies;
    for (int32_t i = 1; i <= lines.count(); ++i) {
        const Text& line = lines[i];
        if (FindText(line, Text("Set-Cookie"), 1, false) != -1) cookies = ConcatText(cookies, CookieOf(line), "; ");
        if (CompareText(LeftText(line, 10), Text("Location: "), false) == 0) {
            *outputs.location = MidText(line, 11, TextLength(line) - 10);
        }
        ProcessPendingMessages();
    }
    *outputs.returnedCookies = LeftText(cookies, TextLength(cookies) - 2);

    *outputs.responseBytes = std::move(responseBody);
    Text page = BytesToText(*outputs.responseBytes);
    return ApplyCharsetStep(regex, page, *outputs.responseBytes);
}

}  // namespace korvel
