// The response steps over arbitrary raw header text and bodies, through a fake
// "Winhttp.dll" whose header query serves the input's header text: status, header name
// rewriting, cookies, redirect target, body bytes, and the charset step with its regex
// search and stream conversion over whatever charset name the page declares.
//
// Input: an options byte (bit 0: the header text is UTF-16LE as given, else each byte is
// one unit, as the stand-in widens the wire's ISO-8859-1; bit 1: the second header query
// fails), a 16-bit little-endian length of the header bytes, those bytes, then the body.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "core/Bytes.h"
#include "core/Services.h"
#include "core/TextOperations.h"
#include "core/binding/Binding.h"
#include "http/RegexObject.h"
#include "http/ResponseSteps.h"
#include "http/TextConversions.h"
#include "platform/Platform.h"

namespace {

using namespace korvel;

std::u16string g_headers;            // what the header query serves, without its NUL
bool g_secondQueryFails = false;
int g_request;                       // the request handle points here

// The contract the steps rely on: a buffer too small fails and sets the size needed in
// bytes, NUL included; a large enough one gets text and NUL.
BOOL QueryHeaders(HINTERNET request, DWORD infoLevel, const char16_t* name, void* buffer, DWORD* size, DWORD* index) {
    FUZZ_CHECK(request == &g_request && infoLevel == WINHTTP_QUERY_RAW_HEADERS_CRLF && !name && size && index);
    const auto needed = static_cast<DWORD>((g_headers.size() + 1) * sizeof(char16_t));
    if (!buffer || *size < needed) {
        *size = needed;
        return 0;
    }
    if (g_secondQueryFails) return 0;
    std::memcpy(buffer, g_headers.c_str(), needed);
    *size = needed - sizeof(char16_t);
    return 1;
}

std::u16string HeaderUnits(std::string_view bytes, bool utf16) {
    std::u16string units;
    if (utf16) {
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            units += static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8);
        }
    } else {
        for (char byte : bytes) units += static_cast<char16_t>(static_cast<uint8_t>(byte));
    }
    return units;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    platform::Install();
    binding::RegisterSystemLibrary("Winhttp.dll", {{"WinHttpQueryHeaders", binding::FunctionAddress(&QueryHeaders)}});
    binding::ResetBindings();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const uint8_t options = input.TakeByte();
    size_t headerLength = input.TakeByte();
    headerLength |= size_t{input.TakeByte()} << 8;
    const std::string_view rest = input.Rest();
    headerLength = std::min(headerLength, rest.size());
    g_headers = HeaderUnits(rest.substr(0, headerLength), options & 1);
    g_secondQueryFails = options & 2;
    const std::string_view bodyBytes = rest.substr(headerLength);
    const Bytes body(bodyBytes.data(), static_cast<int32_t>(bodyBytes.size()));

    // The caller's values, to see which ones the steps touch.
    const Text before("before");
    Text headers = before, status = before, cookies = before, location = before;
    Bytes responseBytes(before.c_str(), before.size());
    int yields = 0;
    SetPendingMessagesHook([&yields] { ++yields; });
    std::optional<Text> page;
    {
        RegexObject regex;   // the request's own, from its start to its return
        page = RunResponseSteps(&g_request, body, {&headers, &status, &cookies, &location, &responseBytes}, regex);
    }
    SetPendingMessagesHook(nullptr);

    if (g_secondQueryFails) {
        FUZZ_CHECK(!page && yields == 0);
        FUZZ_CHECK(headers == before && status == before && cookies == before && location == before);
        FUZZ_CHECK(responseBytes == Bytes(before.c_str(), before.size()));
        return 0;
    }
    FUZZ_CHECK(page.has_value());
    FUZZ_CHECK(responseBytes == body);
    // Only the header name is rewritten, to a name of the same length.
    const Text raw = Utf16ToAnsi(Bytes(g_headers.data(), static_cast<int32_t>(g_headers.size() * 2)));
    FUZZ_CHECK(TextLength(headers) == TextLength(raw));
    FUZZ_CHECK(FindText(status, Text("\r\n")) == -1);
    FUZZ_CHECK(yields >= ElementCount(SplitText(headers, Text("\r\n"))));
    return 0;
}
