// Registers the WinHTTP stand-in as the system library "Winhttp.dll".
#include "core/binding/Binding.h"
#include "platform/Registrations.h"
#include "platform/winhttp/CurlExchange.h"
#include "platform/winhttp/WinHttpFunctions.h"

namespace korvel::platform {

void RegisterWinHttp() {
    using namespace winhttp;
    StartCurl();
    using binding::FunctionAddress;
    binding::RegisterSystemLibrary("Winhttp.dll", {
        {"WinHttpCheckPlatform", FunctionAddress(&WinHttpCheckPlatform)},
        {"WinHttpCrackUrl", FunctionAddress(&WinHttpCrackUrl)},
        {"WinHttpOpen", FunctionAddress(&WinHttpOpen)},
        {"WinHttpConnect", FunctionAddress(&WinHttpConnect)},
        {"WinHttpOpenRequest", FunctionAddress(&WinHttpOpenRequest)},
        {"WinHttpSetTimeouts", FunctionAddress(&WinHttpSetTimeouts)},
        {"WinHttpSetCredentials", FunctionAddress(&WinHttpSetCredentials)},
        {"WinHttpCloseHandle", FunctionAddress(&WinHttpCloseHandle)},
        {"WinHttpSetOption", FunctionAddress(&WinHttpSetOption)},
        {"WinHttpAddRequestHeaders", FunctionAddress(&WinHttpAddRequestHeaders)},
        {"WinHttpSendRequest", FunctionAddress(&WinHttpSendRequest)},
        {"WinHttpReceiveResponse", FunctionAddress(&WinHttpReceiveResponse)},
        {"WinHttpQueryDataAvailable", FunctionAddress(&WinHttpQueryDataAvailable)},
        {"WinHttpReadData", FunctionAddress(&WinHttpReadData)},
        {"WinHttpQueryHeaders", FunctionAddress(&WinHttpQueryHeaders)},
    });
}

}  // namespace korvel::platform
