#include "http/HttpRequest.h"

#include <algorithm>
#include <utility>

#include "core/BytesOperations.h"
#include "core/Services.h"
#include "core/TextOperations.h"
#include "core/binding/Binding.h"
#include "http/RegexObject.h"
#include "http/RequestErrors.h"
#include "http/RequestHeaderBlock.h"
#include "http/ResponseSteps.h"
#include "http/TextConversions.h"

namespace korvel {
namespace {

using binding::Call;

constexpr DWORD kAskForPointer = 0xFFFFFFFF;
constexpr int32_t kDefaultTimeoutMs = 30000;
// The largest time-out whose milliseconds still fit a 32-bit signed integer.
constexpr int32_t kLongestTimeoutSeconds = 2147483;

const char* VerbOf(int32_t method) {
    switch (method) {
        case 1: return "POST";
        case 2: return "HEAD";
        case 3: return "PUT";
        default: return "GET";
    }
}

int32_t TimeoutMs(int32_t seconds) {
    return seconds > 0 ? std::min(seconds, kLongestTimeoutSeconds) * 1000 : kDefaultTimeoutMs;
}

// A pointer to the first UTF-16 unit of converted text, or null for empty Bytes.
const char16_t* Wide(const Bytes& utf16) { return static_cast<const char16_t*>(utf16.ArgumentPointer()); }

// The UTF-16 units from a cracked URL piece, as Bytes.
Bytes UnitsAt(const char16_t* units, DWORD count) { return BytesFromAddress(units, static_cast<int32_t>(count * 2)); }

// One call of the routine: its handles, the URL pieces and the count of steps that
// succeeded (each is owed one yield before the handles close).
class RequestCall {
public:
    RequestCall(const HttpRequestArguments& arguments, const ResponseOutputs& outputs)
        : a_(arguments), out_(outputs) {}

    Text Run();

private:
    bool Succeeded(bool ok, int32_t errorNumber);
    bool CrackUrl();
    bool OpenHandles();
    int32_t ConfigureRequest();
    Bytes ReadBody();
    Text Finish(const Text& result);  // yields, closes, returns
    Text CloseAtOnce(int32_t errorNumber);

    const HttpRequestArguments& a_;
    ResponseOutputs out_;
    // Each call holds one regular-expression object from its start to its return.
    RegexObject regex_;
    int32_t yieldsOwed_ = 0;
    HINTERNET session_ = nullptr;
    HINTERNET connection_ = nullptr;
    HINTERNET request_ = nullptr;
    Bytes url_;                 // UTF-16 with NUL; the cracked pieces point into it
    URL_COMPONENTS components_;
    Text host_;
    Bytes objectName_;          // UTF-16 with NUL
    INTERNET_PORT port_ = 0;
    bool secure_ = false;
};

bool RequestCall::Succeeded(bool ok, int32_t errorNumber) {
    if (ok) {
        ++yieldsOwed_;
    } else {
        *out_.statusText = RequestErrorText(errorNumber);
    }
    return ok;
}

// Steps 2 and 3: crack the URL, then take host, object name, port and scheme from it.
bool RequestCall::CrackUrl() {
    url_ = AnsiToUtf16(a_.url);
    components_.dwStructSize = sizeof(URL_COMPONENTS);
    components_.dwSchemeLength = kAskForPointer;
    components_.dwHostNameLength = kAskForPointer;
    components_.dwUrlPathLength = kAskForPointer;
    components_.dwExtraInfoLength = kAskForPointer;
    auto units = static_cast<DWORD>(std::max(BytesLength(url_) / 2 - 1, 0));
    if (!Succeeded(Call<binding::kWinHttpCrackUrl>(Wide(url_), units, 0u, &components_), 701)) return false;

    host_ = Utf16ToAnsi(UnitsAt(components_.lpszHostName, components_.dwHostNameLength));
    if (components_.dwUrlPathLength < 1) {
        // Without a path the request goes to "/", and any query is left behind.
        objectName_ = AnsiToUtf16(Text("/"));
    } else {
        objectName_ = ConcatBytes(UnitsAt(components_.lpszUrlPath, components_.dwUrlPathLength),
                                  UnitsAt(components_.lpszExtraInfo, components_.dwExtraInfoLength), BlankBytes(2));
    }
    port_ = components_.nPort;
    secure_ = components_.nScheme == INTERNET_SCHEME_HTTPS;
    return true;
}

// Steps 4 to 7: session, connection, request.
bool RequestCall::OpenHandles() {
    Text proxy = a_.proxy.value_or(Text());
    DWORD accessType = proxy.empty() ? WINHTTP_ACCESS_TYPE_NO_PROXY : WINHTTP_ACCESS_TYPE_NAMED_PROXY;
    // The proxy serves the http scheme alone unless the request itself is secure.
    Text proxyName = proxy.empty() || secure_ ? proxy : ConcatText("http=", proxy);
    Bytes proxyWide = AnsiToUtf16(proxyName);
    session_ = Call<binding::kWinHttpOpen>(nullptr, accessType, Wide(proxyWide), nullptr, 0u);
    if (!Succeeded(session_ != nullptr, 702)) return false;

    Bytes hostWide = AnsiToUtf16(host_);
    connection_ = Call<binding::kWinHttpConnect>(session_, Wide(hostWide), port_, 0u);
    if (!Succeeded(connection_ != nullptr, 703)) return false;

    Bytes verbWide = AnsiToUtf16(Text(VerbOf(a_.method.value_or(0))));
    request_ = Call<binding::kWinHttpOpenRequest>(connection_, Wide(verbWide), Wide(objectName_), nullptr, nullptr,
                                                  nullptr, secure_ ? WINHTTP_FLAG_SECURE : 0u);
    return Succeeded(request_ != nullptr, 704);
}

// Steps 9 to 12: the number of the error that ends the call at once, or 0.
int32_t RequestCall::ConfigureRequest() {
    auto setCredentials = [this](DWORD target, const std::optional<Text>& user, const std::optional<Text>& password) {
        Text name = user.value_or(Text()), secret = password.value_or(Text());
        if (name.empty() || secret.empty()) return true;
        Bytes nameWide = AnsiToUtf16(name), secretWide = AnsiToUtf16(secret);
        return Call<binding::kWinHttpSetCredentials>(request_, target, WINHTTP_AUTH_SCHEME_BASIC, Wide(nameWide),
                                                     Wide(secretWide), nullptr) != 0;
    };
    if (!setCredentials(WINHTTP_AUTH_TARGET_SERVER, a_.user, a_.password)) return 706;
    if (!setCredentials(WINHTTP_AUTH_TARGET_PROXY, a_.proxyUser, a_.proxyPassword)) return 707;

    // Without cookies the platform's own cookie handling is switched off; with them it
    // stays on, and revocation checking is asked for instead.
    DWORD enable = 1;
    DWORD option = a_.cookies ? WINHTTP_OPTION_ENABLE_FEATURE : WINHTTP_OPTION_DISABLE_FEATURE;
    if (!Call<binding::kWinHttpSetOption>(request_, option, &enable, 4u)) return 708;
    if (a_.noRedirect.value_or(false)) {
        DWORD disableRedirects = WINHTTP_DISABLE_REDIRECTS;
        if (!Call<binding::kWinHttpSetOption>(request_, WINHTTP_OPTION_DISABLE_FEATURE, &disableRedirects, 4u)) return 709;
    }
    return 0;
}

// Step 16: as many bytes as are available, until none are; a failed read keeps what came.
Bytes RequestCall::ReadBody() {
    Bytes body;
    while (true) {
        DWORD available = 0;
        if (!Call<binding::kWinHttpQueryDataAvailable>(request_, &available) || static_cast<int32_t>(available) < 1) break;
        Bytes buffer = BlankBytes(static_cast<int32_t>(available));
        DWORD read = 0;
        if (!Call<binding::kWinHttpReadData>(request_, buffer.ArgumentPointer(), available, &read)) {
            *out_.statusText = RequestErrorText(713);
            break;
        }
        // A read that brings nothing although data was announced would loop for ever.
        if (read == 0) break;
        body.vector().insert(body.vector().end(), buffer.data(), buffer.data() + std::min(read, available));
    }
    return body;
}

Text RequestCall::Finish(const Text& result) {
    for (int32_t i = 0; i < yieldsOwed_; ++i) ProcessPendingMessages();
    if (request_) Call<binding::kWinHttpCloseHandle>(request_);
    if (connection_) Call<binding::kWinHttpCloseHandle>(connection_);
    if (session_) Call<binding::kWinHttpCloseHandle>(session_);
    return result;
}

// The early end of steps 9 to 12: the handles close without the yields.
Text RequestCall::CloseAtOnce(int32_t errorNumber) {
    *out_.statusText = RequestErrorText(errorNumber);
    yieldsOwed_ = 0;
    return Finish(Text());
}

Text RequestCall::Run() {
    if (!Succeeded(Call<binding::kWinHttpCheckPlatform>() != 0, 700)) return Finish(Text());
    if (!CrackUrl() || !OpenHandles()) return Finish(Text());
    int32_t ms = TimeoutMs(a_.timeoutSeconds.value_or(0));
    if (!Succeeded(Call<binding::kWinHttpSetTimeouts>(request_, ms, ms, ms, ms) != 0, 705)) return Finish(Text());
    if (int32_t error = ConfigureRequest()) return CloseAtOnce(error);

    Bytes headers = AnsiToUtf16(BuildRequestHeaderBlock(a_.extraHeaders.value_or(Text()), a_.cookies.value_or(Text())));
    auto headerUnits = static_cast<DWORD>(std::max(BytesLength(headers) / 2 - 1, 0));
    if (!Succeeded(Call<binding::kWinHttpAddRequestHeaders>(request_, Wide(headers), headerUnits,
                                                            WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE) != 0,
                   710)) {
        return Finish(Text());
    }
    Bytes body = TextToBytes(a_.body.value_or(Text()));
    auto bodyLength = static_cast<DWORD>(BytesLength(body));
    if (!Succeeded(Call<binding::kWinHttpSendRequest>(request_, nullptr, 0u, body.ArgumentPointer(), bodyLength,
                                                      bodyLength, uintptr_t{0}) != 0,
                   711)) {
        return Finish(Text());
    }
    if (!Succeeded(Call<binding::kWinHttpReceiveResponse>(request_, nullptr) != 0, 712)) return Finish(Text());

    Bytes responseBody = ReadBody();
    return Finish(RunResponseSteps(request_, std::move(responseBody), out_, regex_).value_or(Text()));
}

}  // namespace

Text HttpRequest(const HttpRequestArguments& arguments) {
    // Outputs the caller did not give are written to scratch values dropped on return.
    Text scratchCookies, scratchHeaders, scratchLocation, scratchStatus;
    Bytes scratchBytes;
    ResponseOutputs outputs{
        arguments.returnedHeaders ? arguments.returnedHeaders : &scratchHeaders,
        arguments.statusText ? arguments.statusText : &scratchStatus,
        arguments.returnedCookies ? arguments.returnedCookies : &scratchCookies,
        arguments.location ? arguments.location : &scratchLocation,
        arguments.responseBytes ? arguments.responseBytes : &scratchBytes,
    };
    return RequestCall(arguments, outputs).Run();
}

}  // namespace korvel
