// The request routine end to end: the real WinHTTP stand-in against a real server on
// loopback, checked at the server (what arrived) and at the caller (what came back).
#include <gtest/gtest.h>

#include <chrono>

#include "core/CodePage.h"
#include "core/TextOperations.h"
#include "http/HttpRequest.h"
#include "http/RequestErrors.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/SelfSignedTlsServer.h"

namespace korvel {
namespace {

using testing::HttpResponse;
using testing::LoopbackHttpServer;
using testing::RecordedRequest;
using testing::ServerReply;

Text UrlOf(const LoopbackHttpServer& server, std::string_view path = "/") { return Text(server.Url(path)); }

// A port on loopback where nothing listens.
uint16_t ClosedPort() {
    LoopbackHttpServer server;
    uint16_t port = server.port();
    server.Stop();
    return port;
}

TEST(HttpRequestOverLoopback, MethodNumberGivesTheVerbOnTheRequestLine) {
    struct Case {
        std::optional<int32_t> method;
        const char* verb;
    };
    LoopbackHttpServer server;
    const Case cases[] = {{std::nullopt, "GET"}, {0, "GET"}, {1, "POST"}, {2, "HEAD"}, {3, "PUT"}, {4, "GET"}, {-1, "GET"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.verb);
        Text status;
        HttpRequest({.url = UrlOf(server), .method = c.method, .statusText = &status});
        EXPECT_EQ(status, Text("200 OK"));
        EXPECT_EQ(server.Requests().back().method, c.verb);
    }
}

TEST(HttpRequestOverLoopback, ServerReceivesTheDefaultHeaderBlock) {
    LoopbackHttpServer server;
    HttpRequest({.url = UrlOf(server), .method = 1, .body = Text("a=1")});
    RecordedRequest request = server.Requests().at(0);
    EXPECT_EQ(request.headerLines,
              "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n"
              "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n"
              "Accept: text/html, application/xhtml+xml, */*\r\n"
              "Accept-Encoding: gbk, GB2312\r\n"
              "Accept-Language: zh-cn\r\n"
              "Content-Type: application/x-www-form-urlencoded\r\n"
              "Cache-Control: no-cache\r\n"
              "Content-Length: 3\r\n");
}

TEST(HttpRequestOverLoopback, ExtraHeadersSuppressDefaultsAsTheyAreSpelt) {
    struct Case {
        const char* name;
        std::optional<Text> extra;
        std::optional<Text> cookies;
        std::string userAgent;
        std::string contentType;
        std::string cookie;   // "" when no Cookie line arrives
    };
    const std::string ie = "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)";
    const std::string form = "application/x-www-form-urlencoded";
    const Case cases[] = {
        {"user agent in lower case", Text("user-agent: Mine/1"), std::nullopt, "Mine/1", form, ""},
        // The default line is added too, and, added with replace, takes the header's place.
        {"content type in lower case", Text("content-type: text/plain"), std::nullopt, ie, form, ""},
        {"content type exact", Text("Content-Type: text/plain"), std::nullopt, ie, "text/plain", ""},
        {"cookies", std::nullopt, Text("k=v; s=\xD6\xD0"), ie, form, "k=v; s=\xD6\xD0"},
        {"cookie line and cookies", Text("Cookie: mine=1"), Text("k=v"), ie, form, "mine=1"},
        {"cookies given empty", std::nullopt, Text(""), ie, form, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackHttpServer server;
        HttpRequest({.url = UrlOf(server), .method = 1, .body = Text("x"), .cookies = c.cookies, .extraHeaders = c.extra});
        RecordedRequest request = server.Requests().at(0);
        EXPECT_EQ(request.HeaderCount("User-Agent"), 1u);
        EXPECT_EQ(request.Header("User-Agent").value_or(""), c.userAgent);
        EXPECT_EQ(request.HeaderCount("Content-Type"), 1u);
        EXPECT_EQ(request.Header("Content-Type").value_or(""), c.contentType);
        EXPECT_EQ(request.HeaderCount("Cookie"), c.cookie.empty() ? 0u : 1u);
        EXPECT_EQ(request.Header("Cookie").value_or(""), c.cookie);
    }
}

TEST(HttpRequestOverLoopback, BodyArrivesByteForByte) {
    LoopbackHttpServer server;
    Text body = ConcatText("nr=", "1-张三-110101 2-李四-110102&x=中 文"_gbk);
    HttpRequest({.url = UrlOf(server, "/kv/dj.asp"), .method = 1, .body = body});
    EXPECT_EQ(server.Requests().at(0).body, body.str());
}

TEST(HttpRequestOverLoopback, PortPathAndQueryReachTheServer) {
    struct Case {
        std::string path;
        std::string target;
    };
    const Case cases[] = {
        {"/kv/dj.asp?id=12&name=a", "/kv/dj.asp?id=12&name=a"},
        {"", "/"},            // a bare host is asked for "/"
        {"?q=1", "/"},        // without a path the query stays behind
        {"/p#part", "/p"},    // a fragment never goes to the server
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        LoopbackHttpServer server;   // its own ephemeral port, named explicitly in the URL
        HttpRequest({.url = UrlOf(server, c.path)});
        EXPECT_EQ(server.Requests().at(0).target, c.target);
    }
}

TEST(HttpRequestOverLoopback, RedirectsAreFollowedUnlessSwitchedOff) {
    struct Case {
        const char* name;
        bool noRedirect;
        size_t requests;
        Text status, result, location;
    };
    const Case cases[] = {
        {"followed, POST becomes GET", false, 2, Text("200 OK"), Text("done"), Text("unchanged")},
        {"switched off", true, 1, Text("302 Found"), Text("moved"), Text("/next?step=2")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackHttpServer server;
        server.Enqueue(ServerReply::Raw(HttpResponse(302, "Found", {{"Location", "/next?step=2"}}, "moved")));
        server.Enqueue(ServerReply::Raw(HttpResponse(200, "OK", {}, "done")));
        Text status, location("unchanged");
        Text result = HttpRequest({.url = UrlOf(server, "/start"), .method = 1, .body = Text("a=1"),
                                   .noRedirect = c.noRedirect, .location = &location, .statusText = &status});
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(location, c.location);
        auto requests = server.Requests();
        ASSERT_EQ(requests.size(), c.requests);
        if (c.requests == 2) {
            EXPECT_EQ(requests[1].requestLine, "GET /next?step=2 HTTP/1.1");
            EXPECT_EQ(requests[1].body, "");
        }
    }
}

TEST(HttpRequestOverLoopback, BasicCredentialsReachTheServerOnlyWhenWhole) {
    LoopbackHttpServer server;
    HttpRequest({.url = UrlOf(server), .user = Text("ann"), .password = Text("s3cret")});
    HttpRequest({.url = UrlOf(server), .user = Text("ann")});
    auto requests = server.Requests();
    EXPECT_EQ(requests.at(0).Header("Authorization").value_or(""), "Basic YW5uOnMzY3JldA==");
    EXPECT_EQ(requests.at(1).HeaderCount("Authorization"), 0u);
}

TEST(HttpRequestOverLoopback, ProxySeesTheAbsoluteRequest) {
    LoopbackHttpServer proxy;
    proxy.SetDefaultReply(ServerReply::Raw(HttpResponse(200, "OK", {}, "via proxy")));
    Text status;
    // The host does not resolve: only the proxy can answer for it.
    Text result = HttpRequest({.url = Text("http://unresolvable.invalid:81/kv/dj.asp?x=1"), .method = 1,
                               .body = Text("nr=1"), .proxy = Text("127.0.0.1:" + std::to_string(proxy.port())),
                               .proxyUser = Text("pu"), .proxyPassword = Text("pp"), .statusText = &status});
    EXPECT_EQ(result, Text("via proxy"));
    RecordedRequest request = proxy.Requests().at(0);
    EXPECT_EQ(request.requestLine, "POST http://unresolvable.invalid:81/kv/dj.asp?x=1 HTTP/1.1");
    EXPECT_EQ(request.Header("Proxy-Authorization").value_or(""), "Basic cHU6cHA=");
    EXPECT_EQ(request.body, "nr=1");
}

TEST(HttpRequestOverLoopback, StallingServerEndsInTheTimeout) {
    LoopbackHttpServer server;
    server.Enqueue(ServerReply::Stall());
    Text status;
    auto start = std::chrono::steady_clock::now();
    Text result = HttpRequest({.url = UrlOf(server), .timeoutSeconds = 1, .statusText = &status});
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(status, RequestErrorText(712));
    EXPECT_EQ(result, Text());
    // Not the 30 seconds of the default: one second and a little.
    EXPECT_LT(elapsed, std::chrono::seconds(3));
}

TEST(HttpRequestOverLoopback, NoConnectionFailsTheSend) {
    testing::SelfSignedTlsServer tls;
    ASSERT_NE(tls.port(), 0) << "openssl s_server did not start";
    struct Case {
        const char* name;
        Text url;
    };
    const Case cases[] = {
        {"refused port", Text("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/")},
        {"certificate signed by itself", Text(tls.Url())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Text status, cookies("kept");
        Text result = HttpRequest({.url = c.url, .returnedCookies = &cookies, .timeoutSeconds = 5, .statusText = &status});
        EXPECT_EQ(status, RequestErrorText(711));
        EXPECT_EQ(result, Text());
        EXPECT_EQ(cookies, Text("kept"));
    }
}

TEST(HttpRequestOverLoopback, ServerClosingWithoutAnswerFailsTheReceive) {
    LoopbackHttpServer server;
    server.Enqueue(ServerReply::CloseWithoutAnswer());
    Text status;
    HttpRequest({.url = UrlOf(server), .timeoutSeconds = 5, .statusText = &status});
    EXPECT_EQ(status, RequestErrorText(712));
}

TEST(HttpRequestOverLoopback, BodyCutShortKeepsTheBytesThatArrived) {
    LoopbackHttpServer server;
    server.Enqueue(ServerReply::CutBody(std::string("0123\0" "456789", 11), 7));
    Text status;
    Bytes bytes;
    Text result = HttpRequest({.url = UrlOf(server), .timeoutSeconds = 5, .statusText = &status, .responseBytes = &bytes});
    // The read failed (713), then the status of the headers that did arrive replaced it.
    EXPECT_EQ(status, Text("200 OK"));
    EXPECT_EQ(bytes.view(), std::string_view("0123\0" "45", 7));
    EXPECT_EQ(result, Text("0123"));
}

}  // namespace
}  // namespace korvel
