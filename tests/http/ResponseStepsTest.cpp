// What the caller gets back from a response: status text, raw headers, cookies, redirect
// target, body bytes and page text, for responses served by a real loopback server.
#include <gtest/gtest.h>

#include "http/HttpRequest.h"
#include "tests/support/LoopbackHttpServer.h"

namespace korvel {
namespace {

using testing::LoopbackHttpServer;
using testing::ServerReply;

struct Returned {
    Text result, status, headers, cookies, location;
    Bytes bytes;
};

// One request to a server that answers with head (status line and header lines, CR LF
// each, without the empty line) and body; location starts as "caller's".
Returned Exchange(const std::string& head, const std::string& body) {
    LoopbackHttpServer server;
    server.Enqueue(ServerReply::Raw(head + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body));
    Returned r;
    r.location = Text("caller's");
    r.result = HttpRequest({.url = Text(server.Url()), .returnedCookies = &r.cookies, .returnedHeaders = &r.headers,
                            .timeoutSeconds = 5, .location = &r.location, .statusText = &r.status,
                            .responseBytes = &r.bytes});
    return r;
}

TEST(ResponseSteps, StatusTextIsCodeAndReason) {
    struct Case {
        std::string statusLine;
        Text status;
    };
    const Case cases[] = {
        {"HTTP/1.1 200 OK", Text("200 OK")},
        {"HTTP/1.1 404 Not Found", Text("404 Not Found")},
        {"HTTP/1.0 500 Internal Server Error", Text("500 Internal Server Error")},
        {"HTTP/1.1 204 ", Text("204 ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.statusLine);
        EXPECT_EQ(Exchange(c.statusLine + "\r\n", "").status, c.status);
    }
}

TEST(ResponseSteps, CookiesLoseTheirAttributesAndJoinInHeaderOrder) {
    struct Case {
        const char* name;
        std::string headerLines;
        Text cookies;
    };
    const Case cases[] = {
        {"attributes and another letter case", "Set-Cookie: a=1; path=/\r\nset-cookie: b=2\r\n", Text("a=1; b=2")},
        {"no attributes", "Set-Cookie: c=3\r\n", Text("c=3")},
        {"none", "X-Other: 1\r\n", Text()},
        {"set twice", "Set-Cookie: a=1\r\nSet-Cookie: a=2; HttpOnly\r\n", Text("a=1; a=2")},
        {"Set-Cookie2 with attributes gives an empty value", "Set-Cookie: a=1\r\nSet-Cookie2: x=1; Version=1\r\nSet-Cookie: b=2\r\n",
         Text("a=1; ; b=2")},
        {"the word inside another header's value", "X-Note: see set-cookie  \r\n", Text("X-Note: see Set-Cookie")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Exchange("HTTP/1.1 200 OK\r\n" + c.headerLines, "").cookies, c.cookies);
    }
}

TEST(ResponseSteps, ReturnedHeadersAreTheRawTextWithOneSpellingOfSetCookie) {
    Returned r = Exchange("HTTP/1.1 200 OK\r\nSET-COOKIE: a=1\r\nX-Why: set-cookie\r\n", "hi");
    EXPECT_EQ(r.headers, Text("HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nX-Why: Set-Cookie\r\nContent-Length: 2\r\n\r\n"));
}

TEST(ResponseSteps, LocationTakesTheLastLocationLine) {
    struct Case {
        const char* name;
        std::string headerLines;
        Text location;
    };
    const Case cases[] = {
        {"lower case", "location: /next\r\n", Text("/next")},
        {"two lines, the second wins", "Location: /one\r\nLocation: http://h/two?x=1\r\n", Text("http://h/two?x=1")},
        {"none keeps the caller's value", "X-Location: /no\r\n", Text("caller's")},
        {"no blank after the colon", "Location:/tight\r\n", Text("caller's")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Exchange("HTTP/1.1 200 OK\r\n" + c.headerLines, "").location, c.location);
    }
}

TEST(ResponseSteps, PageTextEndsAtTheFirstNulWhileTheBytesKeepEverything) {
    std::string body("id-\xD6\xD0\0tail", 9);
    Returned r = Exchange("HTTP/1.1 200 OK\r\n", body);
    EXPECT_EQ(r.result, Text("id-\xD6\xD0"));
    EXPECT_EQ(r.bytes.view(), body);
}

}  // namespace
}  // namespace korvel
