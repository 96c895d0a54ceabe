#include "RecordingWinHttp.h"

#include <algorithm>
#include <cstring>

#include "core/BytesOperations.h"
#include "core/CodePage.h"
#include "core/Services.h"
#include "core/binding/Binding.h"
#include "http/CharsetStep.h"
#include "platform/Registrations.h"

namespace korvel::testing {
namespace {

WinHttpScript g_script;
WinHttpRecord g_record;
size_t g_served = 0;

// Distinct handles that point nowhere.
int g_handleTargets[3];
HINTERNET const kSession = &g_handleTargets[0];
HINTERNET const kConnection = &g_handleTargets[1];
HINTERNET const kRequest = &g_handleTargets[2];

// Records the call; true when the script makes it fail.
bool Fails(const char* name) {
    g_record.calls.emplace_back(name);
    return g_script.failing == name;
}

std::u16string Units(const char16_t* text) { return text ? std::u16string(text) : std::u16string(); }

BOOL CheckPlatform() { return Fails("WinHttpCheckPlatform") ? 0 : 1; }

// The real cracker's job is covered by its own tests; the routine only needs the pieces.
BOOL CrackUrl(const char16_t* url, DWORD length, DWORD, URL_COMPONENTS* components) {
    if (Fails("WinHttpCrackUrl") || !url) return 0;
    std::u16string_view text(url, length);
    size_t hostStart = text.find(u"://") + 3;
    size_t pathStart = std::min(text.find_first_of(u"/?", hostStart), text.size());
    size_t extraStart = std::min(text.find(u'?', hostStart), text.size());
    if (extraStart < pathStart) pathStart = extraStart;
    std::u16string_view hostPort = text.substr(hostStart, pathStart - hostStart);
    size_t colon = hostPort.find(u':');
    components->nScheme = text.starts_with(u"https") ? INTERNET_SCHEME_HTTPS : INTERNET_SCHEME_HTTP;
    components->nPort = components->nScheme == INTERNET_SCHEME_HTTPS ? 443 : 80;
    if (colon != std::u16string_view::npos) {
        components->nPort = 0;
        for (char16_t c : hostPort.substr(colon + 1)) components->nPort = static_cast<INTERNET_PORT>(components->nPort * 10 + (c - u'0'));
    }
    components->lpszHostName = const_cast<char16_t*>(url) + hostStart;
    components->dwHostNameLength = static_cast<DWORD>(std::min(colon, hostPort.size()));
    components->lpszUrlPath = const_cast<char16_t*>(url) + pathStart;
    components->dwUrlPathLength = static_cast<DWORD>(extraStart - pathStart);
    components->lpszExtraInfo = const_cast<char16_t*>(url) + extraStart;
    components->dwExtraInfoLength = static_cast<DWORD>(text.size() - extraStart);
    return 1;
}

HINTERNET Open(const char16_t*, DWORD accessType, const char16_t* proxyName, const char16_t*, DWORD) {
    g_record.accessType = accessType;
    g_record.proxyName = Units(proxyName);
    g_record.proxyNameNull = proxyName == nullptr;
    return Fails("WinHttpOpen") ? nullptr : kSession;
}

HINTERNET Connect(HINTERNET, const char16_t* host, INTERNET_PORT port, DWORD) {
    g_record.host = Units(host);
    g_record.port = port;
    return Fails("WinHttpConnect") ? nullptr : kConnection;
}

HINTERNET OpenRequest(HINTERNET, const char16_t* verb, const char16_t* objectName, const char16_t*, const char16_t*,
                      const char16_t* const*, DWORD flags) {
    g_record.verb = Units(verb);
    g_record.objectName = Units(objectName);
    g_record.requestFlags = flags;
    return Fails("WinHttpOpenRequest") ? nullptr : kRequest;
}

BOOL SetTimeouts(HINTERNET, int32_t resolveMs, int32_t connectMs, int32_t sendMs, int32_t receiveMs) {
    g_record.timeouts = {resolveMs, connectMs, sendMs, receiveMs};
    return Fails("WinHttpSetTimeouts") ? 0 : 1;
}

BOOL SetCredentials(HINTERNET, DWORD target, DWORD scheme, const char16_t* user, const char16_t* password, void*) {
    g_record.credentials.push_back({target, scheme, Units(user), Units(password)});
    return Fails("WinHttpSetCredentials") && g_script.failingCredentialsTarget == target ? 0 : 1;
}

BOOL CloseHandle(HINTERNET handle) {
    g_record.calls.emplace_back("WinHttpCloseHandle");
    g_record.closed.push_back(handle == kRequest ? "request" : handle == kConnection ? "connection" : handle == kSession ? "session" : "?");
    return 1;
}

BOOL SetOption(HINTERNET, DWORD option, void* buffer, DWORD length) {
    DWORD value = 0;
    std::memcpy(&value, buffer, sizeof value);
    g_record.options.push_back({option, value, length});
    return Fails("WinHttpSetOption") && g_script.failingOptionValue == value ? 0 : 1;
}

BOOL AddRequestHeaders(HINTERNET, const char16_t* headers, DWORD length, DWORD modifiers) {
    g_record.headers.assign(headers, length);
    g_record.headersTerminated = headers[length] == u'\0';
    g_record.headersModifiers = modifiers;
    return Fails("WinHttpAddRequestHeaders") ? 0 : 1;
}

BOOL SendRequest(HINTERNET, const char16_t*, DWORD, const void* optional, DWORD optionalLength, DWORD totalLength,
                 uintptr_t) {
    g_record.sentBody = optional ? std::string(static_cast<const char*>(optional), optionalLength) : "";
    g_record.optionalLength = optionalLength;
    g_record.totalLength = totalLength;
    g_served = 0;
    return Fails("WinHttpSendRequest") ? 0 : 1;
}

BOOL ReceiveResponse(HINTERNET, void*) { return Fails("WinHttpReceiveResponse") ? 0 : 1; }

BOOL QueryDataAvailable(HINTERNET, DWORD* available) {
    g_record.calls.emplace_back("WinHttpQueryDataAvailable");
    // Two bytes at a time, so the loop turns more than once.
    size_t left = g_script.body.size() - g_served;
    *available = static_cast<DWORD>(std::min<size_t>(left, 2));
    if (left == 0 && g_script.readFailsAfter >= 0) *available = 1;
    return 1;
}

BOOL ReadData(HINTERNET, void* buffer, DWORD toRead, DWORD* read) {
    g_record.calls.emplace_back("WinHttpReadData");
    if (g_script.readFailsAfter >= 0 && g_served >= static_cast<size_t>(g_script.readFailsAfter)) return 0;
    size_t count = std::min<size_t>(toRead, g_script.body.size() - g_served);
    std::memcpy(buffer, g_script.body.data() + g_served, count);
    g_served += count;
    *read = static_cast<DWORD>(count);
    return 1;
}

BOOL QueryHeaders(HINTERNET, DWORD, const char16_t*, void* buffer, DWORD* size, DWORD*) {
    g_record.calls.emplace_back("WinHttpQueryHeaders");
    auto needed = static_cast<DWORD>((g_script.rawHeaders.size() + 1) * 2);
    if (!buffer || *size < needed) {
        *size = needed;
        return 0;
    }
    if (g_script.secondHeaderQueryFails) return 0;
    std::memcpy(buffer, g_script.rawHeaders.c_str(), needed);
    *size = needed - 2;
    return 1;
}

}  // namespace

void RecordingWinHttpTest::SetUp() {
    g_script = WinHttpScript();
    g_record = WinHttpRecord();
    auto address = [](auto* function) { return binding::FunctionAddress(function); };
    binding::RegisterSystemLibrary("Winhttp.dll", {
        {"WinHttpCheckPlatform", address(&CheckPlatform)},
        {"WinHttpCrackUrl", address(&CrackUrl)},
        {"WinHttpOpen", address(&Open)},
        {"WinHttpConnect", address(&Connect)},
        {"WinHttpOpenRequest", address(&OpenRequest)},
        {"WinHttpSetTimeouts", address(&SetTimeouts)},
        {"WinHttpSetCredentials", address(&SetCredentials)},
        {"WinHttpCloseHandle", address(&CloseHandle)},
        {"WinHttpSetOption", address(&SetOption)},
        {"WinHttpAddRequestHeaders", address(&AddRequestHeaders)},
        {"WinHttpSendRequest", address(&SendRequest)},
        {"WinHttpReceiveResponse", address(&ReceiveResponse)},
        {"WinHttpQueryDataAvailable", address(&QueryDataAvailable)},
        {"WinHttpReadData", address(&ReadData)},
        {"WinHttpQueryHeaders", address(&QueryHeaders)},
    });
    binding::ResetBindings();
    yields_ = 0;
    SetPendingMessagesHook([this] { ++yields_; });
}

void RecordingWinHttpTest::TearDown() {
    SetPendingMessagesHook(nullptr);
    platform::RegisterWinHttp();
    binding::ResetBindings();
}

int RecordingWinHttpTest::CharsetStepYields(const std::string& body) {
    int count = 0;
    SetPendingMessagesHook([&count] { ++count; });
    Bytes bytes = BytesFromAddress(body.data(), static_cast<int32_t>(body.size()));
    ApplyCharsetStep(BytesToText(bytes), bytes);
    SetPendingMessagesHook([this] { ++yields_; });
    return count;
}

WinHttpScript& RecordingWinHttpTest::script() { return g_script; }
const WinHttpRecord& RecordingWinHttpTest::record() { return g_record; }
void RecordingWinHttpTest::ClearRecord() { g_record = WinHttpRecord(); }

std::string Narrow(const std::u16string& text) { return Utf16ToGbk(text).str(); }

}  // namespace korvel::testing
