// The request routine against a recording fake of "Winhttp.dll": the calls it makes, their
// arguments and order, the handles it closes, the yields, and the error of each step.
#include <gtest/gtest.h>

#include "core/CodePage.h"
#include "core/TextOperations.h"
#include "http/HttpRequest.h"
#include "http/RequestErrors.h"
#include "RecordingWinHttp.h"

namespace korvel {
namespace {

using testing::Narrow;
using testing::RecordingWinHttpTest;

using WinHttpCalls = RecordingWinHttpTest;

const std::vector<std::string> kCompleteExchange = {
    "WinHttpCheckPlatform", "WinHttpCrackUrl", "WinHttpOpen", "WinHttpConnect", "WinHttpOpenRequest",
    "WinHttpSetTimeouts", "WinHttpSetOption", "WinHttpAddRequestHeaders", "WinHttpSendRequest",
    "WinHttpReceiveResponse",
    "WinHttpQueryDataAvailable", "WinHttpReadData", "WinHttpQueryDataAvailable", "WinHttpReadData",
    "WinHttpQueryDataAvailable",
    "WinHttpQueryHeaders", "WinHttpQueryHeaders",
    "WinHttpCloseHandle", "WinHttpCloseHandle", "WinHttpCloseHandle",
};

TEST_F(WinHttpCalls, CompleteExchangeCallsEachFunctionInTurnAndClosesInReverse) {
    Text status;
    Bytes bytes;
    Text result = HttpRequest({.url = "http://example.com/kv/dj.asp?x=1", .method = 1, .body = Text("nr=a b&c"),
                               .statusText = &status, .responseBytes = &bytes});
    EXPECT_EQ(result, Text("body"));
    EXPECT_EQ(status, Text("200 OK"));
    EXPECT_EQ(bytes.view(), "body");
    EXPECT_EQ(record().calls, kCompleteExchange);
    EXPECT_EQ(record().closed, (std::vector<std::string>{"request", "connection", "session"}));
    // Nine steps that succeeded, one for each of the three header lines, and the charset step's.
    EXPECT_EQ(yields(), 9 + 3 + CharsetStepYields("body"));

    EXPECT_EQ(record().accessType, WINHTTP_ACCESS_TYPE_NO_PROXY);
    EXPECT_TRUE(record().proxyNameNull);
    EXPECT_EQ(record().host, u"example.com");
    EXPECT_EQ(record().port, 80);
    EXPECT_EQ(record().verb, u"POST");
    EXPECT_EQ(record().objectName, u"/kv/dj.asp?x=1");
    EXPECT_EQ(record().requestFlags, 0u);
    EXPECT_EQ(record().headersModifiers, WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
    EXPECT_TRUE(record().headersTerminated);
    EXPECT_EQ(record().sentBody, "nr=a b&c");
    EXPECT_EQ(record().optionalLength, 8u);
    EXPECT_EQ(record().totalLength, 8u);
}

TEST_F(WinHttpCalls, MethodNumberChoosesTheVerbAndSecondsTheTimeouts) {
    struct Case {
        std::optional<int32_t> method;
        std::u16string verb;
        std::optional<int32_t> seconds;
        int32_t ms;
    };
    const Case cases[] = {
        {std::nullopt, u"GET", std::nullopt, 30000}, {0, u"GET", 0, 30000},    {1, u"POST", -5, 30000},
        {2, u"HEAD", 10, 10000},                     {3, u"PUT", 1, 1000},     {4, u"GET", 2147483, 2147483000},
        {-1, u"GET", 2147484, 2147483000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.verb) + " " + std::to_string(c.ms));
        HttpRequest({.url = "http://h/", .method = c.method, .timeoutSeconds = c.seconds});
        EXPECT_EQ(record().verb, c.verb);
        EXPECT_EQ(record().timeouts, (std::vector<int32_t>{c.ms, c.ms, c.ms, c.ms}));
    }
}

TEST_F(WinHttpCalls, UrlGivesPortObjectNameAndSecureFlag) {
    struct Case {
        const char* url;
        INTERNET_PORT port;
        std::u16string objectName;
        DWORD flags;
    };
    const Case cases[] = {
        {"http://h:81/kv/dj.asp?id=1&b=2", 81, u"/kv/dj.asp?id=1&b=2", 0},
        {"http://h", 80, u"/", 0},
        {"http://h?q=1", 80, u"/", 0},   // no path: the query is left behind
        {"https://h/p", 443, u"/p", WINHTTP_FLAG_SECURE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        HttpRequest({.url = Text(c.url)});
        EXPECT_EQ(record().host, u"h");
        EXPECT_EQ(record().port, c.port);
        EXPECT_EQ(record().objectName, c.objectName);
        EXPECT_EQ(record().requestFlags, c.flags);
    }
}

TEST_F(WinHttpCalls, ProxyServesTheHttpSchemeUnlessTheRequestIsSecure) {
    struct Case {
        const char* url;
        const char* proxy;
        DWORD accessType;
        std::u16string proxyName;
    };
    const Case cases[] = {
        {"http://h/", "", WINHTTP_ACCESS_TYPE_NO_PROXY, u""},
        {"http://h/", "127.0.0.1:8888", WINHTTP_ACCESS_TYPE_NAMED_PROXY, u"http=127.0.0.1:8888"},
        {"https://h/", "proxy.lan", WINHTTP_ACCESS_TYPE_NAMED_PROXY, u"proxy.lan"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.proxy);
        HttpRequest({.url = Text(c.url), .proxy = Text(c.proxy)});
        EXPECT_EQ(record().accessType, c.accessType);
        EXPECT_EQ(record().proxyName, c.proxyName);
    }
}

TEST_F(WinHttpCalls, CredentialsOnlyWhenBothHalvesAreGiven) {
    struct Case {
        const char* name;
        HttpRequestArguments arguments;
        std::vector<DWORD> targets;
    };
    const Case cases[] = {
        {"none", {.url = "http://h/"}, {}},
        {"user without password", {.url = "http://h/", .user = Text("u"), .password = Text("")}, {}},
        {"password without user", {.url = "http://h/", .password = Text("p")}, {}},
        {"server", {.url = "http://h/", .user = Text("u"), .password = Text("p")}, {WINHTTP_AUTH_TARGET_SERVER}},
        {"proxy user alone", {.url = "http://h/", .proxyUser = Text("pu")}, {}},
        {"both",
         {.url = "http://h/", .user = Text("u"), .password = Text("p"), .proxyUser = Text("pu"), .proxyPassword = Text("pp")},
         {WINHTTP_AUTH_TARGET_SERVER, WINHTTP_AUTH_TARGET_PROXY}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearRecord();
        HttpRequest(c.arguments);
        std::vector<DWORD> targets;
        for (const auto& credentials : record().credentials) {
            targets.push_back(credentials.target);
            EXPECT_EQ(credentials.scheme, WINHTTP_AUTH_SCHEME_BASIC);
        }
        EXPECT_EQ(targets, c.targets);
    }
    ASSERT_EQ(record().credentials.size(), 2u);
    EXPECT_EQ(record().credentials[0].user, u"u");
    EXPECT_EQ(record().credentials[0].password, u"p");
    EXPECT_EQ(record().credentials[1].user, u"pu");
    EXPECT_EQ(record().credentials[1].password, u"pp");
}

TEST_F(WinHttpCalls, CookiesChooseTheOptionAndNoRedirectAddsOne) {
    struct Case {
        const char* name;
        std::optional<Text> cookies;
        std::optional<bool> noRedirect;
        std::vector<std::pair<DWORD, DWORD>> options;
    };
    const Case cases[] = {
        {"cookies not given", std::nullopt, std::nullopt, {{63, 1}}},
        {"cookies given empty", Text(""), std::nullopt, {{79, 1}}},
        {"cookies given", Text("a=1"), false, {{79, 1}}},
        {"no redirect", std::nullopt, true, {{63, 1}, {63, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearRecord();
        HttpRequest({.url = "http://h/", .cookies = c.cookies, .noRedirect = c.noRedirect});
        std::vector<std::pair<DWORD, DWORD>> options;
        for (const auto& option : record().options) {
            options.emplace_back(option.option, option.value);
            EXPECT_EQ(option.length, 4u);
        }
        EXPECT_EQ(options, c.options);
    }
}

TEST_F(WinHttpCalls, HeaderBlockAddsEachDefaultTheCallerLeftOut) {
    const std::string ua = "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n";
    const std::string accept = "Accept: text/html, application/xhtml+xml, */*\r\n";
    const std::string encoding = "Accept-Encoding: gbk, GB2312\r\n";
    const std::string language = "Accept-Language: zh-cn\r\n";
    const std::string type = "Content-Type: application/x-www-form-urlencoded\r\n";
    const std::string cache = "Cache-Control: no-cache\r\n";
    const std::string defaults = ua + accept + encoding + language + type + cache;
    struct Case {
        const char* name;
        std::optional<Text> extra;
        std::optional<Text> cookies;
        std::string block;
    };
    const Case cases[] = {
        {"nothing given", std::nullopt, std::nullopt, defaults},
        {"one extra line", Text("X-A: 1"), std::nullopt, "X-A: 1\r\n" + defaults},
        {"user agent in another case", Text("user-agent: Mine"), std::nullopt,
         "user-agent: Mine\r\n" + accept + encoding + language + type + cache},
        {"content type in another case", Text("content-type: text/plain"), std::nullopt,
         "content-type: text/plain\r\n" + defaults},
        {"content type exact, no blank", Text("Content-Type:text/plain"), std::nullopt,
         "Content-Type:text/plain\r\n" + ua + accept + encoding + language + cache},
        {"name inside a value", Text("X-Note: Accept: all"), std::nullopt,
         "X-Note: Accept: all\r\n" + ua + encoding + language + type + cache},
        {"cookies alone", std::nullopt, Text("a=1; b=2"), defaults + "Cookie: a=1; b=2\r\n"},
        {"cookies given empty", std::nullopt, Text(""), defaults},
        {"cookie line already there", Text("cookie: x=9"), Text("a=1"), "cookie: x=9\r\n" + defaults},
        {"extra lines ending in CR LF", Text("X-A: 1\r\n"), std::nullopt, "X-A: 1\r\n\r\n" + defaults},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HttpRequest({.url = "http://h/", .cookies = c.cookies, .extraHeaders = c.extra});
        EXPECT_EQ(Narrow(record().headers), c.block);
        EXPECT_TRUE(record().headersTerminated);
    }
}

TEST_F(WinHttpCalls, GbkHeadersAndBodyTravelUnchanged) {
    Text chinese = "名字=张三"_gbk;
    HttpRequest({.url = "http://h/", .method = 1, .body = ConcatText("nr=", chinese, " &x"),
                 .extraHeaders = ConcatText("X-Name: ", chinese)});
    EXPECT_EQ(record().sentBody, "nr=" + chinese.str() + " &x");
    EXPECT_EQ(Narrow(record().headers).substr(0, 8 + chinese.str().size()), "X-Name: " + chinese.str());
}

TEST_F(WinHttpCalls, EachFailingStepLeavesItsTextClosesWhatItOpenedAndYieldsPerSuccess) {
    struct Case {
        const char* failing;
        DWORD credentialsTarget;
        DWORD optionValue;
        int32_t error;
        std::vector<std::string> closed;
        int yields;
    };
    const std::vector<std::string> all = {"request", "connection", "session"};
    const Case cases[] = {
        {"WinHttpCheckPlatform", 0, 1, 700, {}, 0},
        {"WinHttpCrackUrl", 0, 1, 701, {}, 1},
        {"WinHttpOpen", 0, 1, 702, {}, 2},
        {"WinHttpConnect", 0, 1, 703, {"session"}, 3},
        {"WinHttpOpenRequest", 0, 1, 704, {"connection", "session"}, 4},
        {"WinHttpSetTimeouts", 0, 1, 705, all, 5},
        {"WinHttpSetCredentials", WINHTTP_AUTH_TARGET_SERVER, 1, 706, all, 0},
        {"WinHttpSetCredentials", WINHTTP_AUTH_TARGET_PROXY, 1, 707, all, 0},
        {"WinHttpSetOption", 0, 1, 708, all, 0},
        {"WinHttpSetOption", 0, 2, 709, all, 0},
        {"WinHttpAddRequestHeaders", 0, 1, 710, all, 6},
        {"WinHttpSendRequest", 0, 1, 711, all, 7},
        {"WinHttpReceiveResponse", 0, 1, 712, all, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.error));
        ClearRecord();
        script().failing = c.failing;
        script().failingCredentialsTarget = c.credentialsTarget;
        script().failingOptionValue = c.optionValue;
        int yieldsBefore = yields();
        Text status("before"), cookies("before"), headers("before"), location("before");
        Bytes bytes(std::vector<uint8_t>{1, 2});
        Text result = HttpRequest({.url = "http://h/", .returnedCookies = &cookies, .returnedHeaders = &headers,
                                   .noRedirect = true, .user = Text("u"), .password = Text("p"),
                                   .proxyUser = Text("pu"), .proxyPassword = Text("pp"), .location = &location,
                                   .statusText = &status, .responseBytes = &bytes});
        EXPECT_EQ(result, Text());
        EXPECT_EQ(status, RequestErrorText(c.error));
        EXPECT_EQ(record().closed, c.closed);
        EXPECT_EQ(yields() - yieldsBefore, c.yields);
        EXPECT_EQ(cookies, Text("before"));
        EXPECT_EQ(headers, Text("before"));
        EXPECT_EQ(location, Text("before"));
        EXPECT_EQ(bytes, Bytes(std::vector<uint8_t>{1, 2}));
    }
}

TEST_F(WinHttpCalls, ReadFailureKeepsTheBytesAndTheStatusReplacesItsText) {
    struct Case {
        const char* name;
        int64_t readFailsAfter;
        bool secondHeaderQueryFails;
        Text status;
        Text result;
        std::string bytes;
    };
    const Case cases[] = {
        {"read fails after two bytes", 2, false, Text("200 OK"), Text("bo"), "bo"},
        {"read and header query fail", 2, true, RequestErrorText(713), Text(), "untouched"},
        {"header query fails alone", -1, true, Text("before"), Text(), "untouched"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        script().readFailsAfter = c.readFailsAfter;
        script().secondHeaderQueryFails = c.secondHeaderQueryFails;
        Text status("before");
        Bytes bytes(std::vector<uint8_t>{'u', 'n', 't', 'o', 'u', 'c', 'h', 'e', 'd'});
        int charsetYields = CharsetStepYields("bo");
        int yieldsBefore = yields();
        Text result = HttpRequest({.url = "http://h/", .statusText = &status, .responseBytes = &bytes});
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(bytes.view(), c.bytes);
        EXPECT_EQ(yields() - yieldsBefore, c.secondHeaderQueryFails ? 9 : 9 + 3 + charsetYields);
        EXPECT_EQ(record().closed.back(), "session");
    }
}

}  // namespace
}  // namespace korvel
