#pragma once
// The 27 outside functions the program calls, each by library and exported name, with a
// C++ function type per entry: a call site that does not match its entry does not compile.
// The entries never change; numbers are their places in the table.
#include <array>
#include <cstdint>

#include "core/binding/WindowsTypes.h"

namespace korvel::binding {

struct Declaration {
    const char* library;   // "" lets the system library search find it
    const char* function;
};

enum Entry : int {
    kWinHttpCheckPlatform = 0,
    kWinHttpCrackUrl = 1,
    kWinHttpOpen = 2,
    kWinHttpConnect = 3,
    kWinHttpOpenRequest = 4,
    kWinHttpSetTimeouts = 5,
    kWinHttpSetCredentials = 6,
    kWinHttpCloseHandle = 7,
    kWinHttpSetOption = 8,
    kWinHttpAddRequestHeaders = 9,
    kWinHttpSendRequest = 10,
    kWinHttpReceiveResponse = 11,
    kWinHttpQueryDataAvailable = 12,
    kWinHttpReadData = 13,
    kWinHttpQueryHeaders = 14,
    kCoInitialize = 15,
    kCoUninitialize = 16,
    kMultiByteToWideChar = 17,
    kWideCharToMultiByteSize = 18,   // asks for the size only
    kWideCharToMultiByte = 19,       // converts into the buffer
    kQRSetMessage = 20,
    kQRSetBackColor = 21,
    kQRSetBarColor = 22,
    kQRConfigure = 23,
    kQRAppearance = 24,
    kQRSetSize = 25,
    kQRSaveAsBMP = 26,
    kEntryCount = 27,
};

inline constexpr std::array<Declaration, kEntryCount> kDeclarations = {{
    {"Winhttp.dll", "WinHttpCheckPlatform"},
    {"Winhttp.dll", "WinHttpCrackUrl"},
    {"Winhttp.dll", "WinHttpOpen"},
    {"Winhttp.dll", "WinHttpConnect"},
    {"Winhttp.dll", "WinHttpOpenRequest"},
    {"Winhttp.dll", "WinHttpSetTimeouts"},
    {"Winhttp.dll", "WinHttpSetCredentials"},
    {"Winhttp.dll", "WinHttpCloseHandle"},
    {"Winhttp.dll", "WinHttpSetOption"},
    {"Winhttp.dll", "WinHttpAddRequestHeaders"},
    {"Winhttp.dll", "WinHttpSendRequest"},
    {"Winhttp.dll", "WinHttpReceiveResponse"},
    {"Winhttp.dll", "WinHttpQueryDataAvailable"},
    {"Winhttp.dll", "WinHttpReadData"},
    {"Winhttp.dll", "WinHttpQueryHeaders"},
    {"ole32.dll", "CoInitialize"},
    {"ole32.dll", "CoUninitialize"},
    {"", "MultiByteToWideChar"},
    {"kernel32.dll", "WideCharToMultiByte"},
    {"kernel32.dll", "WideCharToMultiByte"},
    {"QRCodeWin32.dll", "QRSetMessage"},
    {"QRCodeWin32.dll", "QRSetBackColor"},
    {"QRCodeWin32.dll", "QRSetBarColor"},
    {"QRCodeWin32.dll", "QRConfigure"},
    {"QRCodeWin32.dll", "QRAppearance"},
    {"QRCodeWin32.dll", "QRSetSize"},
    {"QRCodeWin32.dll", "QRSaveAsBMP"},
}};

// The function type of each entry, in the argument order the call sites pass.
template <int N> struct Signature;
// clang-format off
template <> struct Signature<0>  { using Type = BOOL(); };
template <> struct Signature<1>  { using Type = BOOL(const char16_t* url, DWORD length, DWORD flags, URL_COMPONENTS* components); };
template <> struct Signature<2>  { using Type = HINTERNET(const char16_t* agent, DWORD accessType, const char16_t* proxyName, const char16_t* proxyBypass, DWORD flags); };
template <> struct Signature<3>  { using Type = HINTERNET(HINTERNET session, const char16_t* host, INTERNET_PORT port, DWORD reserved); };
template <> struct Signature<4>  { using Type = HINTERNET(HINTERNET connection, const char16_t* verb, const char16_t* objectName, const char16_t* version, const char16_t* referrer, const char16_t* const* acceptTypes, DWORD flags); };
template <> struct Signature<5>  { using Type = BOOL(HINTERNET request, int32_t resolveMs, int32_t connectMs, int32_t sendMs, int32_t receiveMs); };
template <> struct Signature<6>  { using Type = BOOL(HINTERNET request, DWORD target, DWORD scheme, const char16_t* user, const char16_t* password, void* params); };
template <> struct Signature<7>  { using Type = BOOL(HINTERNET handle); };
template <> struct Signature<8>  { using Type = BOOL(HINTERNET request, DWORD option, void* buffer, DWORD bufferLength); };
template <> struct Signature<9>  { using Type = BOOL(HINTERNET request, const char16_t* headers, DWORD headersLength, DWORD modifiers); };
template <> struct Signature<10> { using Type = BOOL(HINTERNET request, const char16_t* headers, DWORD headersLength, const void* optional, DWORD optionalLength, DWORD totalLength, uintptr_t context); };
template <> struct Signature<11> { using Type = BOOL(HINTERNET request, void* reserved); };
template <> struct Signature<12> { using Type = BOOL(HINTERNET request, DWORD* available); };
template <> struct Signature<13> { using Type = BOOL(HINTERNET request, void* buffer, DWORD toRead, DWORD* read); };
template <> struct Signature<14> { using Type = BOOL(HINTERNET request, DWORD infoLevel, const char16_t* name, void* buffer, DWORD* bufferLength, DWORD* index); };
template <> struct Signature<15> { using Type = int32_t(void* reserved); };
template <> struct Signature<16> { using Type = void(); };
template <> struct Signature<17> { using Type = int32_t(uint32_t codePage, uint32_t flags, const char* text, int32_t textLength, char16_t* buffer, int32_t capacity); };
template <> struct Signature<18> { using Type = int32_t(uint32_t codePage, uint32_t flags, const char16_t* units, int32_t unitCount, char* buffer, int32_t capacity, const char* defaultChar, int32_t* usedDefault); };
template <> struct Signature<19> { using Type = int32_t(uint32_t codePage, uint32_t flags, const char16_t* units, int32_t unitCount, char* buffer, int32_t capacity, const char* defaultChar, int32_t* usedDefault); };
template <> struct Signature<20> { using Type = int32_t(const char* text); };
template <> struct Signature<21> { using Type = int32_t(int32_t red, int32_t green, int32_t blue); };
template <> struct Signature<22> { using Type = int32_t(int32_t red, int32_t green, int32_t blue); };
template <> struct Signature<23> { using Type = int32_t(int32_t version, int32_t level, int32_t third); };
template <> struct Signature<24> { using Type = int32_t(double appearance, int32_t second, int32_t third); };
template <> struct Signature<25> { using Type = int32_t(int32_t width, int32_t height); };
template <> struct Signature<26> { using Type = int32_t(const char* path); };
// clang-format on

}  // namespace korvel::binding
