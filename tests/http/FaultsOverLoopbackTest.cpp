// The request routine against servers that misbehave: each fault gives its stated
// result, nothing that did arrive is lost, every wait is bounded, and a normal request
// right after it works.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "core/CodePage.h"
#include "core/TextOperations.h"
#include "http/HttpRequest.h"
#include "http/RequestErrors.h"
#include "tests/support/LoopbackHttpServer.h"

namespace korvel {
namespace {

using testing::HttpResponse;
using testing::LoopbackHttpServer;
using testing::ServerReply;

constexpr int32_t kTimeoutSeconds = 5;

Text UrlOf(const LoopbackHttpServer& server, std::string_view path = "/") { return Text(server.Url(path)); }

// The server answers the next request normally, and the routine takes that answer whole.
void ExpectANormalRequestWorks(LoopbackHttpServer& server) {
    SCOPED_TRACE("normal request afterwards");
    server.Enqueue(ServerReply::Raw(HttpResponse(200, "OK", {{"Set-Cookie", "after=1; path=/"}}, "fine")));
    Text status, cookies;
    Text result = HttpRequest({.url = UrlOf(server, "/after"), .returnedCookies = &cookies,
                               .timeoutSeconds = kTimeoutSeconds, .statusText = &status});
    EXPECT_EQ(status, Text("200 OK"));
    EXPECT_EQ(result, Text("fine"));
    EXPECT_EQ(cookies, Text("after=1"));
}

// "VmRSS:" or "VmHWM:" of this process, in bytes.
int64_t MemoryFigure(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string name;
    int64_t kilobytes = 0;
    while (status >> name) {
        if (name == field && status >> kilobytes) return kilobytes * 1024;
        status.ignore(1 << 10, '\n');
    }
    return -1;
}

// Starts the peak (VmHWM) afresh at the present resident size.
bool ResetMemoryPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    return static_cast<bool>(clear << "5" << std::flush);
}

TEST(FaultsOverLoopback, HundredMegabyteBodyArrivesWholeInBoundedMemory) {
    constexpr int64_t kBodyBytes = int64_t{100} << 20;
    LoopbackHttpServer server;
    server.Enqueue(ServerReply::LargeBody(kBodyBytes));
    const bool peakReset = ResetMemoryPeak();
    const int64_t before = MemoryFigure("VmRSS:");

    Text status;
    Bytes bytes;
    Text result;
    result = HttpRequest({.url = UrlOf(server), .timeoutSeconds = kTimeoutSeconds, .statusText = &status,
                          .responseBytes = &bytes});
    const int64_t peak = MemoryFigure("VmHWM:");

    EXPECT_EQ(status, Text("200 OK"));
    ASSERT_EQ(bytes.size(), kBodyBytes);
    ASSERT_EQ(result.size(), kBodyBytes);   // the body holds no NUL, so the page is all of it
    int64_t firstWrong = -1;
    for (int64_t i = 0; i < kBodyBytes && firstWrong < 0; ++i) {
        const uint8_t expected = testing::LargeBodyByte(static_cast<uint64_t>(i));
        if (bytes[static_cast<int32_t>(i)] != expected || result.at(static_cast<int32_t>(i)) != expected) firstWrong = i;
    }
    EXPECT_EQ(firstWrong, -1);

    // The body is held a fixed number of times at once (by the platform's transfer, the
    // routine, the caller's bytes and page text), never once per piece read.
    ASSERT_TRUE(peakReset && before > 0 && peak > 0) << "no memory figures from /proc";
    int64_t allowance = 6 * kBodyBytes;
#if defined(__SANITIZE_ADDRESS__)
    allowance += int64_t{256 + 128} << 20;   // the sanitizer's quarantine of freed blocks, and its shadow
#endif
    EXPECT_LT(peak - before, allowance) << "peak grew by " << (peak - before) / (1 << 20) << " MB";
    std::printf("[ figure   ] 100 MB body: peak resident size grew by %lld MB\n",
                static_cast<long long>((peak - before) >> 20));
    ExpectANormalRequestWorks(server);
}

TEST(FaultsOverLoopback, GarbledResponseHeadsFailTheReceiveAndTouchNothing) {
    struct Case {
        const char* name;
        std::string response;
    };
    const Case cases[] = {
        {"no status line", "garbage\r\n\r\nbody"},
        {"binary bytes", std::string("\x01\x02\xFF\xFE\0\x7F\r\n\r\n", 10)},
        {"no status code", "HTTP/1.1 OK\r\nContent-Length: 2\r\n\r\nhi"},
        {"four-digit status code", "HTTP/1.1 2000 OK\r\nContent-Length: 2\r\n\r\nhi"},
        {"unknown version", "HTTP/9.9 200 OK\r\nContent-Length: 2\r\n\r\nhi"},
        {"header line without colon", "HTTP/1.1 200 OK\r\nNo colon here\r\nContent-Length: 2\r\n\r\nhi"},
        {"length not a number", "HTTP/1.1 200 OK\r\nContent-Length: abc\r\n\r\nhi"},
        {"lines ended by CR alone", "HTTP/1.1 200 OK\rContent-Length: 2\r\rhi"},
    };
    LoopbackHttpServer server;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.Enqueue(ServerReply::Raw(c.response));
        Text status, headers("kept"), cookies("kept"), location("kept");
        Bytes bytes(std::string_view("kept").data(), 4);
        Text result = HttpRequest({.url = UrlOf(server), .returnedCookies = &cookies, .returnedHeaders = &headers,
                                   .timeoutSeconds = kTimeoutSeconds, .location = &location, .statusText = &status,
                                   .responseBytes = &bytes});
        EXPECT_EQ(status, RequestErrorText(712));
        EXPECT_EQ(result, Text());
        EXPECT_EQ(headers, Text("kept"));
        EXPECT_EQ(cookies, Text("kept"));
        EXPECT_EQ(location, Text("kept"));
        EXPECT_EQ(bytes.view(), "kept");
        ExpectANormalRequestWorks(server);
    }
}

TEST(FaultsOverLoopback, HeaderLinesEndedByLfAloneReadAsCrLfLines) {
    struct Case {
        const char* name;
        std::string response;
    };
    const Case cases[] = {
        {"every line", "HTTP/1.1 201 Made\nSet-Cookie: a=1; path=/\nset-cookie: b=2\nLocation: /next\nContent-Length: 2\n\nhi"},
        {"some lines", "HTTP/1.1 201 Made\r\nSet-Cookie: a=1; path=/\nset-cookie: b=2\r\nLocation: /next\nContent-Length: 2\r\n\nhi"},
    };
    LoopbackHttpServer server;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.Enqueue(ServerReply::Raw(c.response));
        Text status, headers, cookies, location;
        Bytes bytes;
        Text result = HttpRequest({.url = UrlOf(server), .returnedCookies = &cookies, .returnedHeaders = &headers,
                                   .timeoutSeconds = kTimeoutSeconds, .location = &location, .statusText = &status,
                                   .responseBytes = &bytes});
        EXPECT_EQ(status, Text("201 Made"));
        EXPECT_EQ(headers, Text("HTTP/1.1 201 Made\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\nLocation: /next\r\n"
                                "Content-Length: 2\r\n\r\n"));
        EXPECT_EQ(cookies, Text("a=1; b=2"));
        EXPECT_EQ(location, Text("/next"));
        EXPECT_EQ(bytes.view(), "hi");
        EXPECT_EQ(result, Text("hi"));
        ExpectANormalRequestWorks(server);
    }
}

// A reset inside the body fails the read (713); the status of the headers that did arrive
// then takes the place of that text, as after any broken body, and every byte that
// arrived before the reset is kept.
TEST(FaultsOverLoopback, ResetInsideTheBodyKeepsTheBytesThatArrived) {
    struct Case {
        const char* name;
        size_t sentBytes;
    };
    std::string body(64 << 10, 'x');
    for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>('a' + i % 26);
    const Case cases[] = {{"right after the headers", 0}, {"after one byte", 1}, {"after most of it", 60000}};
    LoopbackHttpServer server;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.Enqueue(ServerReply::ResetMidBody(body, c.sentBytes));
        Text status;
        Bytes bytes;
        Text result = HttpRequest({.url = UrlOf(server), .timeoutSeconds = kTimeoutSeconds, .statusText = &status,
                                   .responseBytes = &bytes});
        EXPECT_EQ(status, Text("200 OK"));
        EXPECT_EQ(bytes.view(), std::string_view(body).substr(0, c.sentBytes));
        EXPECT_EQ(result.view(), std::string_view(body).substr(0, c.sentBytes));
        ExpectANormalRequestWorks(server);
    }
}

// A redirect that leads back to itself is followed ten times, then the chain is given up:
// the receive fails (712) and the routine returns at once with the empty text, leaving
// every output but the status as it was. With redirects switched off the first 3xx comes
// back as the answer.
TEST(FaultsOverLoopback, RedirectLoopsEndAfterTenRedirects) {
    struct Case {
        const char* name;
        std::string firstPath;
        bool noRedirect;
        size_t requests;
        Text status, location, result;
    };
    const Case cases[] = {
        {"to itself", "/loop", false, 11, RequestErrorText(712), Text("kept"), Text()},
        {"between two pages", "/a", false, 11, RequestErrorText(712), Text("kept"), Text()},
        {"to itself, switched off", "/loop", true, 1, Text("302 Found"), Text("/loop"), Text("moved")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackHttpServer server;
        server.SetDefaultReply(ServerReply::From([](const testing::RecordedRequest& request) {
            std::string next = request.target == "/a" ? "/b" : request.target == "/b" ? "/a" : "/loop";
            return HttpResponse(302, "Found", {{"Location", next}}, "moved");
        }));
        Text status, location("kept");
        Text result = HttpRequest({.url = UrlOf(server, c.firstPath), .method = 1, .body = Text("x=1"),
                                   .noRedirect = c.noRedirect, .timeoutSeconds = kTimeoutSeconds,
                                   .location = &location, .statusText = &status});
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(location, c.location);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(server.RequestCount(), c.requests);
        ExpectANormalRequestWorks(server);
    }
}

}  // namespace
}  // namespace korvel
