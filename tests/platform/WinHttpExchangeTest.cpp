// The WinHTTP stand-in against a real server on loopback: what goes on the wire, the
// raw header text and its size protocol, redirects, and which call fails for each way
// an exchange can break.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/winhttp/WinHttpFunctions.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/SelfSignedTlsServer.h"

namespace korvel::platform::winhttp {
namespace {

using korvel::testing::HttpResponse;
using korvel::testing::LoopbackHttpServer;
using korvel::testing::ServerReply;

// One session, connection and request, closed in reverse order at the end.
class Exchange {
public:
    Exchange(uint16_t port, const std::u16string& verb, const std::u16string& object, DWORD flags = 0,
             const std::u16string& host = u"127.0.0.1", DWORD accessType = WINHTTP_ACCESS_TYPE_NO_PROXY,
             const std::u16string& proxy = u"") {
        session_ = WinHttpOpen(nullptr, accessType, proxy.empty() ? nullptr : proxy.c_str(), nullptr, 0);
        connection_ = WinHttpConnect(session_, host.c_str(), port, 0);
        request_ = WinHttpOpenRequest(connection_, verb.c_str(), object.c_str(), nullptr, nullptr, nullptr, flags);
    }
    ~Exchange() {
        WinHttpCloseHandle(request_);
        WinHttpCloseHandle(connection_);
        WinHttpCloseHandle(session_);
    }
    HINTERNET request() const { return request_; }

    bool AddHeaders(const std::u16string& block, DWORD modifiers = WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE) {
        return WinHttpAddRequestHeaders(request_, block.c_str(), static_cast<DWORD>(block.size()), modifiers);
    }
    bool SetOption(DWORD option, DWORD value) { return WinHttpSetOption(request_, option, &value, sizeof value); }
    bool Send(const std::string& body = "") {
        return WinHttpSendRequest(request_, nullptr, 0, body.empty() ? nullptr : body.data(),
                                  static_cast<DWORD>(body.size()), static_cast<DWORD>(body.size()), 0);
    }
    bool Receive() { return WinHttpReceiveResponse(request_, nullptr); }

    // The read loop of a caller: available count, read, append; false when a read failed.
    bool ReadAll(std::string& body) {
        DWORD available = 0;
        while (WinHttpQueryDataAvailable(request_, &available) && available > 0) {
            std::string buffer(available, '\0');
            DWORD read = 0;
            if (!WinHttpReadData(request_, buffer.data(), available, &read)) return false;
            body.append(buffer, 0, read);
        }
        return true;
    }

    std::u16string RawHeaders() {
        DWORD size = 0, index = 0;
        WinHttpQueryHeaders(request_, WINHTTP_QUERY_RAW_HEADERS_CRLF, nullptr, nullptr, &size, &index);
        std::u16string text(size / 2, u'\0');
        if (!WinHttpQueryHeaders(request_, WINHTTP_QUERY_RAW_HEADERS_CRLF, nullptr, text.data(), &size, &index)) return u"";
        text.resize(size / 2);
        return text;
    }

private:
    HINTERNET session_ = nullptr;
    HINTERNET connection_ = nullptr;
    HINTERNET request_ = nullptr;
};

// A port on loopback where nothing listens.
uint16_t ClosedPort() {
    LoopbackHttpServer server;
    uint16_t port = server.port();
    server.Stop();
    return port;
}

TEST(WinHttpExchange, SendsOnlyTheCallersHeadersBesidesHostAndContentLength) {
    LoopbackHttpServer server;
    Exchange exchange(server.port(), u"POST", u"/form?x=1");
    ASSERT_TRUE(exchange.AddHeaders(u"X-One: 1\r\nX-Two: 2\r\nx-one: 3\r\n\r\n"));
    // A body beyond libcurl's threshold for "Expect: 100-continue" still goes out at once.
    std::string body(2 * 1024 * 1024, 'a');
    body[0] = '\0';
    body[1] = '\xD6';
    ASSERT_TRUE(exchange.Send(body));
    ASSERT_TRUE(exchange.Receive());

    ASSERT_EQ(server.RequestCount(), 1u);
    auto request = server.Requests()[0];
    EXPECT_EQ(request.requestLine, "POST /form?x=1 HTTP/1.1");
    EXPECT_EQ(request.headerLines, "Host: 127.0.0.1:" + std::to_string(server.port()) +
                                       "\r\nx-one: 3\r\nX-Two: 2\r\nContent-Length: 2097152\r\n");
    EXPECT_EQ(request.body, body);
}

TEST(WinHttpExchange, AddAndReplaceFollowTheModifierFlags) {
    LoopbackHttpServer server;
    Exchange exchange(server.port(), u"GET", u"/");
    EXPECT_TRUE(exchange.AddHeaders(u"A: 1\r\nB: 2", WINHTTP_ADDREQ_FLAG_ADD));
    EXPECT_TRUE(exchange.AddHeaders(u"a: 1b", WINHTTP_ADDREQ_FLAG_ADD));                 // added beside A
    EXPECT_TRUE(exchange.AddHeaders(u"B:", WINHTTP_ADDREQ_FLAG_REPLACE));                // empty value removes
    EXPECT_FALSE(exchange.AddHeaders(u"C: 3", WINHTTP_ADDREQ_FLAG_REPLACE));             // nothing to replace
    EXPECT_FALSE(exchange.AddHeaders(u"A: x", 0x10000000));                              // add-if-new: present
    EXPECT_FALSE(exchange.AddHeaders(u"no colon here"));
    EXPECT_FALSE(exchange.AddHeaders(u""));
    ASSERT_TRUE(exchange.Send());
    ASSERT_TRUE(exchange.Receive());
    auto request = server.Requests().at(0);
    EXPECT_EQ(request.HeaderCount("A"), 2u);
    EXPECT_EQ(request.HeaderCount("B"), 0u);
    EXPECT_EQ(request.HeaderCount("C"), 0u);
}

TEST(WinHttpExchange, RawHeadersFollowTheSizeProtocol) {
    LoopbackHttpServer server;
    // A header byte above 0x7F arrives as ISO-8859-1; a bare LF line end becomes CR LF.
    server.Enqueue(ServerReply::Raw("HTTP/1.1 404 Not Found\r\nX-Name: caf\xE9\nContent-Length: 2\r\n\r\nno"));
    Exchange exchange(server.port(), u"GET", u"/");
    ASSERT_TRUE(exchange.Send());
    ASSERT_TRUE(exchange.Receive());
    const std::u16string expected = u"HTTP/1.1 404 Not Found\r\nX-Name: caf\u00E9\r\nContent-Length: 2\r\n\r\n";
    const DWORD needed = static_cast<DWORD>((expected.size() + 1) * 2);

    DWORD size = 0, index = 0;
    EXPECT_FALSE(WinHttpQueryHeaders(exchange.request(), 22, nullptr, nullptr, &size, &index));
    EXPECT_EQ(size, needed);
    std::u16string buffer(expected.size() + 1, u'#');
    size = needed - 2;   // room for the text but not its NUL
    EXPECT_FALSE(WinHttpQueryHeaders(exchange.request(), 22, nullptr, buffer.data(), &size, &index));
    EXPECT_EQ(size, needed);
    EXPECT_FALSE(WinHttpQueryHeaders(exchange.request(), 21, nullptr, buffer.data(), &size, &index));
    ASSERT_TRUE(WinHttpQueryHeaders(exchange.request(), 22, nullptr, buffer.data(), &size, &index));
    EXPECT_EQ(size, needed - 2);
    EXPECT_EQ(buffer, expected + u'\0');

    std::string body;
    EXPECT_TRUE(exchange.ReadAll(body));
    EXPECT_EQ(body, "no");
}

TEST(WinHttpExchange, RedirectsTurnPostIntoGetAsBrowsersDo) {
    struct Case {
        int status;
        const char* secondMethod;
    };
    for (Case c : {Case{301, "GET"}, Case{302, "GET"}, Case{303, "GET"}, Case{307, "POST"}}) {
        SCOPED_TRACE(c.status);
        LoopbackHttpServer server;
        server.Enqueue(ServerReply::Raw(HttpResponse(c.status, "Moved", {{"Location", "/next"}}, "")));
        server.Enqueue(ServerReply::Raw(HttpResponse(200, "OK", {}, "arrived")));
        Exchange exchange(server.port(), u"POST", u"/first");
        ASSERT_TRUE(exchange.Send("k=v"));
        ASSERT_TRUE(exchange.Receive());
        std::string body;
        EXPECT_TRUE(exchange.ReadAll(body));
        EXPECT_EQ(body, "arrived");
        EXPECT_EQ(exchange.RawHeaders().substr(0, 15), u"HTTP/1.1 200 OK");
        auto requests = server.Requests();
        ASSERT_EQ(requests.size(), 2u);
        EXPECT_EQ(requests[1].method, c.secondMethod);
        EXPECT_EQ(requests[1].target, "/next");
        EXPECT_EQ(requests[1].body, c.secondMethod == std::string("POST") ? "k=v" : "");
    }
}

TEST(WinHttpExchange, RedirectOptionAndCookieOptionHoldForTheRequest) {
    struct Case {
        const char* name;
        DWORD disable;   // option 63 value; 0: no option set
        size_t requests;
        bool cookieSentOn;
    };
    const Case cases[] = {
        {"defaults: follows and keeps cookies", 0, 2, true},
        {"cookies off", WINHTTP_DISABLE_COOKIES, 2, false},
        {"redirects off", WINHTTP_DISABLE_REDIRECTS, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackHttpServer server;
        server.Enqueue(ServerReply::Raw(HttpResponse(302, "Found", {{"Location", "/b"}, {"Set-Cookie", "s=1; Path=/"}}, "")));
        Exchange exchange(server.port(), u"GET", u"/a");
        if (c.disable) {
            ASSERT_TRUE(exchange.SetOption(WINHTTP_OPTION_DISABLE_FEATURE, c.disable));
        }
        ASSERT_TRUE(exchange.Send());
        ASSERT_TRUE(exchange.Receive());
        auto requests = server.Requests();
        ASSERT_EQ(requests.size(), c.requests);
        if (c.requests == 2) {
            EXPECT_EQ(requests[1].Header("Cookie").value_or(""), c.cookieSentOn ? "s=1" : "");
        } else {
            EXPECT_EQ(exchange.RawHeaders().substr(0, 18), u"HTTP/1.1 302 Found");
        }
    }
}

TEST(WinHttpExchange, CallersCookieAndRedirectCookiesShareOneLine) {
    LoopbackHttpServer server;
    server.Enqueue(ServerReply::Raw(HttpResponse(302, "Found", {{"Location", "/b"}, {"Set-Cookie", "s=1; Path=/"}}, "")));
    Exchange exchange(server.port(), u"GET", u"/a");
    ASSERT_TRUE(exchange.SetOption(WINHTTP_OPTION_ENABLE_FEATURE, WINHTTP_ENABLE_SSL_REVOCATION));
    ASSERT_TRUE(exchange.AddHeaders(u"Cookie: mine=1"));
    ASSERT_TRUE(exchange.Send());
    ASSERT_TRUE(exchange.Receive());
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].HeaderCount("Cookie"), 1u);
    EXPECT_EQ(requests[0].Header("Cookie").value_or(""), "mine=1");
    EXPECT_EQ(requests[1].HeaderCount("Cookie"), 1u);
    std::string second = requests[1].Header("Cookie").value_or("");
    EXPECT_NE(second.find("s=1"), std::string::npos) << second;
    EXPECT_NE(second.find("mine=1"), std::string::npos) << second;
}

TEST(WinHttpExchange, OnlyTheOptionsTheRoutineUsesAreAccepted) {
    LoopbackHttpServer server;
    Exchange exchange(server.port(), u"GET", u"/");
    EXPECT_TRUE(exchange.SetOption(WINHTTP_OPTION_DISABLE_FEATURE, 1));
    EXPECT_TRUE(exchange.SetOption(WINHTTP_OPTION_DISABLE_FEATURE, 2));
    EXPECT_TRUE(exchange.SetOption(WINHTTP_OPTION_ENABLE_FEATURE, 1));
    EXPECT_FALSE(exchange.SetOption(WINHTTP_OPTION_DISABLE_FEATURE, 4));
    EXPECT_FALSE(exchange.SetOption(WINHTTP_OPTION_ENABLE_FEATURE, 2));
    EXPECT_FALSE(exchange.SetOption(31, 1));
    DWORD value = 1;
    EXPECT_FALSE(WinHttpSetOption(exchange.request(), WINHTTP_OPTION_DISABLE_FEATURE, &value, 2));
    EXPECT_FALSE(WinHttpSetTimeouts(exchange.request(), -2, 0, 0, 0));
    EXPECT_FALSE(WinHttpSetCredentials(exchange.request(), WINHTTP_AUTH_TARGET_SERVER, 2, u"u", u"p", nullptr));
}

TEST(WinHttpExchange, ProxySeesTheAbsoluteRequestWithItsCredentials) {
    LoopbackHttpServer proxy;
    std::u16string proxyName = u"http=127.0.0.1:";
    for (char c : std::to_string(proxy.port())) proxyName += static_cast<char16_t>(c);
    // The host does not resolve: only the proxy can answer for it.
    Exchange exchange(8080, u"GET", u"/p?q=1", 0, u"unresolvable.invalid", WINHTTP_ACCESS_TYPE_NAMED_PROXY, proxyName);
    ASSERT_TRUE(WinHttpSetCredentials(exchange.request(), WINHTTP_AUTH_TARGET_PROXY, 1, u"pu", u"pp", nullptr));
    ASSERT_TRUE(WinHttpSetCredentials(exchange.request(), WINHTTP_AUTH_TARGET_SERVER, 1, u"su", u"sp", nullptr));
    ASSERT_TRUE(exchange.Send());
    ASSERT_TRUE(exchange.Receive());
    auto request = proxy.Requests().at(0);
    EXPECT_EQ(request.requestLine, "GET http://unresolvable.invalid:8080/p?q=1 HTTP/1.1");
    EXPECT_EQ(request.Header("Proxy-Authorization").value_or(""), "Basic cHU6cHA=");
    EXPECT_EQ(request.Header("Authorization").value_or(""), "Basic c3U6c3A=");
    EXPECT_EQ(request.HeaderCount("Proxy-Connection"), 0u);
}

TEST(WinHttpExchange, EachWayOfBreakingFailsItsOwnCall) {
    using namespace std::chrono;
    struct Case {
        const char* name;
        ServerReply reply;
        bool sent, received, bodyIntact;
        std::string bodyBytes;
    };
    const Case cases[] = {
        {"stall", ServerReply::Stall(), true, false, false, ""},
        {"closed without answer", ServerReply::CloseWithoutAnswer(), true, false, false, ""},
        {"half a status line", ServerReply::Raw("HTTP/1.1 200"), true, false, false, ""},
        {"body cut short", ServerReply::CutBody("0123456789", 4), true, true, false, "0123"},
        {"body without length ends at close", ServerReply::Raw("HTTP/1.1 200 OK\r\n\r\nall"), true, true, true, "all"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackHttpServer server;
        server.Enqueue(c.reply);
        Exchange exchange(server.port(), u"POST", u"/");
        ASSERT_TRUE(WinHttpSetTimeouts(exchange.request(), 1000, 1000, 500, 500));
        auto start = steady_clock::now();
        ASSERT_EQ(exchange.Send("x=1"), c.sent);
        ASSERT_EQ(exchange.Receive(), c.received);
        EXPECT_LT(steady_clock::now() - start, seconds(3));   // bounded by the half-second stall bound
        if (!c.received) continue;
        std::string body;
        EXPECT_EQ(exchange.ReadAll(body), c.bodyIntact);
        EXPECT_EQ(body, c.bodyBytes);
    }
}

TEST(WinHttpExchange, NoConnectionFailsTheSend) {
    struct Case {
        const char* name;
        std::u16string host;
        uint16_t port;
        DWORD flags;
    };
    korvel::testing::SelfSignedTlsServer tls;
    ASSERT_NE(tls.port(), 0) << "openssl s_server did not start";
    const Case cases[] = {
        {"refused", u"127.0.0.1", ClosedPort(), 0},
        {"unresolvable", u"unresolvable.invalid", 80, 0},
        {"certificate signed by itself", u"127.0.0.1", tls.port(), WINHTTP_FLAG_SECURE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Exchange exchange(c.port, u"GET", u"/", c.flags, c.host);
        ASSERT_TRUE(exchange.request());
        EXPECT_FALSE(exchange.Send());
        EXPECT_FALSE(exchange.Receive());
    }
}

}  // namespace
}  // namespace korvel::platform::winhttp
