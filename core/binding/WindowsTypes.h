#pragma once
// The plain types and records that the outside functions take, written for this program
// from what its call sites pass. UTF-16 text is char16_t; every count is 32 bits.
#include <cstdint>

namespace korvel {

using BOOL = int32_t;          // nonzero: success
using DWORD = uint32_t;
using HINTERNET = void*;       // an opaque WinHTTP handle; null on failure
using INTERNET_PORT = uint16_t;

// URL_COMPONENTS: the cracked URL. A length of -1 (all bits set) on input asks for a
// pointer into the caller's string; on output the pointer and length describe the piece.
struct URL_COMPONENTS {
    DWORD dwStructSize = 0;
    char16_t* lpszScheme = nullptr;
    DWORD dwSchemeLength = 0;
    int32_t nScheme = 0;             // INTERNET_SCHEME_HTTP or INTERNET_SCHEME_HTTPS
    char16_t* lpszHostName = nullptr;
    DWORD dwHostNameLength = 0;
    INTERNET_PORT nPort = 0;
    char16_t* lpszUserName = nullptr;
    DWORD dwUserNameLength = 0;
    char16_t* lpszPassword = nullptr;
    DWORD dwPasswordLength = 0;
    char16_t* lpszUrlPath = nullptr;
    DWORD dwUrlPathLength = 0;
    char16_t* lpszExtraInfo = nullptr;
    DWORD dwExtraInfoLength = 0;
};

inline constexpr int32_t INTERNET_SCHEME_HTTP = 1;
inline constexpr int32_t INTERNET_SCHEME_HTTPS = 2;
inline constexpr DWORD WINHTTP_ACCESS_TYPE_NO_PROXY = 1;
inline constexpr DWORD WINHTTP_ACCESS_TYPE_NAMED_PROXY = 3;
inline constexpr DWORD WINHTTP_FLAG_SECURE = 0x00800000;
inline constexpr DWORD WINHTTP_AUTH_TARGET_SERVER = 0;
inline constexpr DWORD WINHTTP_AUTH_TARGET_PROXY = 1;
inline constexpr DWORD WINHTTP_AUTH_SCHEME_BASIC = 1;
inline constexpr DWORD WINHTTP_OPTION_DISABLE_FEATURE = 63;
inline constexpr DWORD WINHTTP_OPTION_ENABLE_FEATURE = 79;
inline constexpr DWORD WINHTTP_DISABLE_COOKIES = 1;
inline constexpr DWORD WINHTTP_DISABLE_REDIRECTS = 2;
inline constexpr DWORD WINHTTP_ENABLE_SSL_REVOCATION = 1;
inline constexpr DWORD WINHTTP_ADDREQ_FLAG_ADD = 0x20000000;
inline constexpr DWORD WINHTTP_ADDREQ_FLAG_REPLACE = 0x80000000;
inline constexpr DWORD WINHTTP_QUERY_RAW_HEADERS_CRLF = 22;
inline constexpr uint32_t CODE_PAGE_936 = 936;
inline constexpr uint32_t WC_COMPOSITECHECK = 0x200;

}  // namespace korvel
