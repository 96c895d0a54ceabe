// URL cracking of the WinHTTP stand-in: the pieces as pointers into the caller's string,
// the scheme's default port, and the URLs it refuses.
#include <gtest/gtest.h>

#include <string>

#include "platform/winhttp/WinHttpFunctions.h"

namespace korvel::platform::winhttp {
namespace {

constexpr DWORD kAsk = 0xFFFFFFFF;

struct Pieces {
    std::u16string scheme, host, user, password, path, extra;
    int32_t nScheme = 0;
    int port = 0;
};

URL_COMPONENTS AskForEverything() {
    URL_COMPONENTS components;
    components.dwStructSize = sizeof components;
    components.dwSchemeLength = components.dwHostNameLength = components.dwUserNameLength = kAsk;
    components.dwPasswordLength = components.dwUrlPathLength = components.dwExtraInfoLength = kAsk;
    return components;
}

std::u16string PieceOf(const std::u16string& url, const char16_t* pointer, DWORD length) {
    // Every piece must point into the caller's string.
    EXPECT_GE(pointer, url.data());
    EXPECT_LE(pointer + length, url.data() + url.size());
    return std::u16string(pointer, length);
}

struct CrackCase {
    const char* name;
    std::u16string url;
    Pieces expected;
};

TEST(WinHttpCrackUrl, GivesEachPieceInsideTheCallersString) {
    const CrackCase cases[] = {
        {"bare host", u"http://example.com", {u"http", u"example.com", u"", u"", u"", u"", 1, 80}},
        {"https default port", u"https://example.com/", {u"https", u"example.com", u"", u"", u"/", u"", 2, 443}},
        {"port path query fragment", u"https://Ex.com:8443/a/b?x=1&y=2#frag",
         {u"https", u"Ex.com", u"", u"", u"/a/b", u"?x=1&y=2#frag", 2, 8443}},
        {"scheme letter case", u"HTTP://h/p", {u"HTTP", u"h", u"", u"", u"/p", u"", 1, 80}},
        {"fragment alone", u"http://h/p#top", {u"http", u"h", u"", u"", u"/p", u"#top", 1, 80}},
        {"query without path", u"http://h?q=1", {u"http", u"h", u"", u"", u"", u"?q=1", 1, 80}},
        {"user and password", u"http://ann:pw@h:81/x", {u"http", u"h", u"ann", u"pw", u"/x", u"", 1, 81}},
        {"IPv6 literal", u"http://[::1]:8080/x", {u"http", u"::1", u"", u"", u"/x", u"", 1, 8080}},
        {"empty port", u"http://h:/x", {u"http", u"h", u"", u"", u"/x", u"", 1, 80}},
        {"Chinese path", u"http://h/中文?名=值", {u"http", u"h", u"", u"", u"/中文", u"?名=值", 1, 80}},
        {"highest port", u"http://h:65535", {u"http", u"h", u"", u"", u"", u"", 1, 65535}},
    };
    for (const CrackCase& c : cases) {
        SCOPED_TRACE(c.name);
        URL_COMPONENTS components = AskForEverything();
        ASSERT_TRUE(WinHttpCrackUrl(c.url.c_str(), static_cast<DWORD>(c.url.size()), 0, &components));
        Pieces got;
        got.scheme = PieceOf(c.url, components.lpszScheme, components.dwSchemeLength);
        got.host = PieceOf(c.url, components.lpszHostName, components.dwHostNameLength);
        got.user = PieceOf(c.url, components.lpszUserName, components.dwUserNameLength);
        got.password = PieceOf(c.url, components.lpszPassword, components.dwPasswordLength);
        got.path = PieceOf(c.url, components.lpszUrlPath, components.dwUrlPathLength);
        got.extra = PieceOf(c.url, components.lpszExtraInfo, components.dwExtraInfoLength);
        EXPECT_EQ(got.scheme, c.expected.scheme);
        EXPECT_EQ(got.host, c.expected.host);
        EXPECT_EQ(got.user, c.expected.user);
        EXPECT_EQ(got.password, c.expected.password);
        EXPECT_EQ(got.path, c.expected.path);
        EXPECT_EQ(got.extra, c.expected.extra);
        EXPECT_EQ(components.nScheme, c.expected.nScheme);
        EXPECT_EQ(components.nPort, c.expected.port);
    }
}

TEST(WinHttpCrackUrl, RefusesWhatIsNoHttpUrl) {
    const std::u16string refused[] = {
        u"",           u"example.com/x", u"ftp://h/",      u"http//h/",       u"http:/h/",   u"://h/",
        u"http://",    u"http:///x",     u"http://:80/",   u"http://h:0/",    u"http://h:65536/",
        u"http://h:8a/", u"http://a b/", u"http://[::1/", u"http://[]/",     u" http://h/",
    };
    for (const std::u16string& url : refused) {
        SCOPED_TRACE(std::string(url.begin(), url.end()));
        URL_COMPONENTS components = AskForEverything();
        EXPECT_FALSE(WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &components));
    }
}

TEST(WinHttpCrackUrl, HonoursLengthFlagsAndRecordSize) {
    std::u16string url = u"http://h/p?q";
    URL_COMPONENTS components = AskForEverything();
    // Length 0: the string ends at its NUL.
    ASSERT_TRUE(WinHttpCrackUrl(url.c_str(), 0, 0, &components));
    EXPECT_EQ(components.dwExtraInfoLength, 2u);
    // The length cuts the URL short: the query is not part of it.
    components = AskForEverything();
    ASSERT_TRUE(WinHttpCrackUrl(url.c_str(), 10, 0, &components));
    EXPECT_EQ(components.dwUrlPathLength, 2u);
    EXPECT_EQ(components.dwExtraInfoLength, 0u);

    components = AskForEverything();
    EXPECT_FALSE(WinHttpCrackUrl(url.c_str(), 0, 0x10000000, &components));   // decoding is not offered
    components.dwStructSize = 4;
    EXPECT_FALSE(WinHttpCrackUrl(url.c_str(), 0, 0, &components));
    EXPECT_FALSE(WinHttpCrackUrl(url.c_str(), 0, 0, nullptr));
    EXPECT_FALSE(WinHttpCrackUrl(nullptr, 0, 0, &components));
}

TEST(WinHttpCrackUrl, CopiesIntoTheCallersBufferWhenOneIsGiven) {
    std::u16string url = u"http://example.com/p";
    char16_t host[12] = {};
    URL_COMPONENTS components;
    components.dwStructSize = sizeof components;
    components.lpszHostName = host;
    components.dwHostNameLength = 11;   // one unit short of "example.com" and its NUL
    EXPECT_FALSE(WinHttpCrackUrl(url.c_str(), 0, 0, &components));
    EXPECT_EQ(components.dwHostNameLength, 12u);
    ASSERT_TRUE(WinHttpCrackUrl(url.c_str(), 0, 0, &components));
    EXPECT_EQ(std::u16string(host), u"example.com");
    EXPECT_EQ(components.dwHostNameLength, 11u);
    EXPECT_EQ(components.lpszUrlPath, nullptr);   // not asked for
}

}  // namespace
}  // namespace korvel::platform::winhttp
