#include "http/RequestHeaderBlock.h"

#include "core/TextOperations.h"

namespace korvel {
namespace {

struct DefaultHeader {
    const char* sought;
    bool ignoreCase;
    const char* line;
};

// In this order; the browser the server expects to talk to.
constexpr DefaultHeader kDefaultHeaders[] = {
    {"User-Agent: ", true, "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n"},
    {"Accept: ", true, "Accept: text/html, application/xhtml+xml, */*\r\n"},
    {"Accept-Encoding: ", true, "Accept-Encoding: gbk, GB2312\r\n"},
    {"Accept-Language: ", true, "Accept-Language: zh-cn\r\n"},
    {"Content-Type:", false, "Content-Type: application/x-www-form-urlencoded\r\n"},
    {"Cache-Control: ", true, "Cache-Control: no-cache\r\n"},
};

bool Holds(const Text& block, const char* sought, bool ignoreCase) {
    return FindText(block, Text(sought), 1, ignoreCase) != -1;
}

}  // namespace

Text BuildRequestHeaderBlock(const Text& extraHeaders, const Text& cookies) {
    Text block = extraHeaders;
    if (!block.empty()) block = ConcatText(block, "\r\n");
    for (const DefaultHeader& header : kDefaultHeaders) {
        if (!Holds(block, header.sought, header.ignoreCase)) block = ConcatText(block, header.line);
    }
    if (!Holds(block, "Cookie: ", true) && !cookies.empty()) block = ConcatText(block, "Cookie: ", cookies, "\r\n");
    return block;
}

}  // namespace korvel
