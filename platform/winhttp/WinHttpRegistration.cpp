// Registers the WinHTTP stand-in as the system library "Winhttp.dll".
#include "core/binding/Binding.h"
#include "platform/Registrations.h"
#include "platform/winhttp/CurlExchange.h"
#include "platform/winhttp/WinHttpFunctions.h"

namespace korvel::platform {

void RegisterWinHttp() {
    using namespace winhttp;
    StartCurl();
    auto address = [](auto* function) { return reinterpret_cast<void*>(function); };
    binding::RegisterSystemLibrary("Winhttp.dll", {
        {"WinHttpCheckPlatform", address(&WinHttpCheckPlatform)},
        {"WinHttpCrackUrl", address(&WinHttpCrackUrl)},
        {"WinHttpOpen", address(&WinHttpOpen)},
        {"WinHttpConnect", address(&WinHttpConnect)},
        {"WinHttpOpenRequest", address(&WinHttpOpenRequest)},
        {"WinHttpSetTimeouts", address(&WinHttpSetTimeouts)},
        {"WinHttpSetCredentials", address(&WinHttpSetCredentials)},
        {"WinHttpCloseHandle", address(&WinHttpCloseHandle)},
        {"WinHttpSetOption", address(&WinHttpSetOption)},
        {"WinHttpAddRequestHeaders", address(&WinHttpAddRequestHeaders)},
        {"WinHttpSendRequest", address(&WinHttpSendRequest)},
        {"WinHttpReceiveResponse", address(&WinHttpReceiveResponse)},
        {"WinHttpQueryDataAvailable", address(&WinHttpQueryDataAvailable)},
        {"WinHttpReadData", address(&WinHttpReadData)},
        {"WinHttpQueryHeaders", address(&WinHttpQueryHeaders)},
    });
}

}  // namespace korvel::platform
