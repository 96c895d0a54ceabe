// Pages in other charsets, fetched from a real server on loopback through HttpRequest:
// the page text comes back as GBK when the page declares its charset in a meta tag
// within its first 1024 bytes, and the body bytes always come back as sent.
#include <gtest/gtest.h>

#include <string>

#include "core/CodePage.h"
#include "core/TextOperations.h"
#include "http/HttpRequest.h"
#include "tests/automation/TextPrinting.h"
#include "tests/support/LoopbackHttpServer.h"

namespace korvel {
namespace {

using testing::HttpResponse;
using testing::LoopbackHttpServer;
using testing::ServerReply;

const std::string kUtf8Chinese = "\xE4\xB8\xAD\xE6\x96\x87";   // 中文
const std::string kBig5Chinese = "\xA4\xA4\xA4\xE5";           // 中文

struct Fetched {
    Text page;
    std::string bytes;
    Text status;
};

Fetched Fetch(const std::string& body, const std::string& contentType = "text/html") {
    LoopbackHttpServer server;
    server.Enqueue(ServerReply::Raw(HttpResponse(200, "OK", {{"Content-Type", contentType}}, body)));
    Fetched fetched;
    Bytes bytes;
    fetched.page = HttpRequest({.url = Text(server.Url("/page")), .statusText = &fetched.status, .responseBytes = &bytes});
    fetched.bytes = std::string(bytes.view());
    return fetched;
}

TEST(CharsetStepOverLoopback, Pages) {
    struct Case {
        const char* name;
        std::string body;
        Text page;
    };
    const std::string utf8Head = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"></head>";
    const std::string padding(1024, ' ');
    const Case cases[] = {
        {"UTF-8 page", utf8Head + "<p>" + kUtf8Chinese + "</p>", ConcatText(Text(utf8Head), "<p>", "中文"_gbk, "</p>")},
        {"Big5 page", "<META charset=Big5>" + kBig5Chinese, ConcatText("<META charset=Big5>", "中文"_gbk)},
        // 81 20 is no GBK character: read as GBK through the stream it becomes "?".
        {"GBK in capitals is converted", "<meta charset=GBK>\xD6\xD0\x81 ", Text("<meta charset=GBK>\xD6\xD0? ")},
        {"gb2312 is left as stored", "<meta charset=gb2312>\xD6\xD0\x81 ", Text("<meta charset=gb2312>\xD6\xD0\x81 ")},
        {"declaration after byte 1024", padding + "<meta charset=utf-8>" + kUtf8Chinese,
         Text(padding + "<meta charset=utf-8>" + kUtf8Chinese)},
        {"no declaration", "<p>" + kUtf8Chinese + "</p>", Text("<p>" + kUtf8Chinese + "</p>")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Fetched fetched = Fetch(c.body);
        EXPECT_EQ(fetched.status, Text("200 OK"));
        EXPECT_EQ(fetched.page, c.page);
        EXPECT_EQ(fetched.bytes, c.body) << "the body bytes are never converted";
    }
}

TEST(CharsetStepOverLoopback, OnlyTheMetaTagCounts) {
    // A charset in the Content-Type header alone changes nothing.
    const std::string body = "<p>" + kUtf8Chinese + "</p>";
    EXPECT_EQ(Fetch(body, "text/html; charset=utf-8").page, Text(body));
}

TEST(CharsetStepOverLoopback, BodyWithANulByte) {
    const std::string plain = std::string("ab\0cd", 5);
    const Fetched fetched = Fetch(plain);
    EXPECT_EQ(fetched.page, Text("ab")) << "the page text ends before the NUL";
    EXPECT_EQ(fetched.bytes, plain) << "every byte is kept";

    const std::string declared = "<meta charset=utf-8>" + kUtf8Chinese + std::string("\0", 1) + kUtf8Chinese;
    const Fetched converted = Fetch(declared);
    EXPECT_EQ(converted.page, ConcatText("<meta charset=utf-8>", "中文"_gbk));
    EXPECT_EQ(converted.bytes, declared);
}

}  // namespace
}  // namespace korvel
