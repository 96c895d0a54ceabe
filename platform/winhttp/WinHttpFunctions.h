#pragma once
// The fifteen WinHTTP functions of the stand-in, each with the exact type of its entry in
// the declaration table, synchronous. Strings are UTF-16; handles are opaque; boolean
// results are nonzero on success, handle results null on failure.
#include <cstdint>

#include "core/binding/WindowsTypes.h"

namespace korvel::platform::winhttp {

BOOL WinHttpCheckPlatform();
BOOL WinHttpCrackUrl(const char16_t* url, DWORD length, DWORD flags, URL_COMPONENTS* components);
HINTERNET WinHttpOpen(const char16_t* agent, DWORD accessType, const char16_t* proxyName, const char16_t* proxyBypass,
                      DWORD flags);
HINTERNET WinHttpConnect(HINTERNET session, const char16_t* host, INTERNET_PORT port, DWORD reserved);
HINTERNET WinHttpOpenRequest(HINTERNET connection, const char16_t* verb, const char16_t* objectName,
                             const char16_t* version, const char16_t* referrer, const char16_t* const* acceptTypes,
                             DWORD flags);
BOOL WinHttpSetTimeouts(HINTERNET request, int32_t resolveMs, int32_t connectMs, int32_t sendMs, int32_t receiveMs);
BOOL WinHttpSetCredentials(HINTERNET request, DWORD target, DWORD scheme, const char16_t* user, const char16_t* password,
                           void* params);
BOOL WinHttpCloseHandle(HINTERNET handle);
BOOL WinHttpSetOption(HINTERNET request, DWORD option, void* buffer, DWORD bufferLength);
BOOL WinHttpAddRequestHeaders(HINTERNET request, const char16_t* headers, DWORD headersLength, DWORD modifiers);
BOOL WinHttpSendRequest(HINTERNET request, const char16_t* headers, DWORD headersLength, const void* optional,
                        DWORD optionalLength, DWORD totalLength, uintptr_t context);
BOOL WinHttpReceiveResponse(HINTERNET request, void* reserved);
BOOL WinHttpQueryDataAvailable(HINTERNET request, DWORD* available);
BOOL WinHttpReadData(HINTERNET request, void* buffer, DWORD toRead, DWORD* read);
BOOL WinHttpQueryHeaders(HINTERNET request, DWORD infoLevel, const char16_t* name, void* buffer, DWORD* bufferLength,
                         DWORD* index);

}  // namespace korvel::platform::winhttp
