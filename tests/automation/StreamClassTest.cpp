// "Adodb.Stream" as the charset step drives it: bytes in, text in a charset out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/BytesOperations.h"
#include "core/CodePage.h"
#include "core/TextOperations.h"
#include "core/automation/Automation.h"
#include "tests/automation/TextPrinting.h"

namespace korvel {
namespace {

Bytes BytesOf(std::string_view bytes) { return Bytes(bytes.data(), static_cast<int32_t>(bytes.size())); }

struct StreamRead {
    bool charsetWritten;
    Text text;
};

// The sequence the response steps use, with Position set to `from` before the read.
StreamRead ReadAs(const Bytes& bytes, const Text& charset, int32_t from = 0) {
    AutomationObject stream;
    EXPECT_TRUE(CreateObject(&stream, "Adodb.Stream"));
    Variant buffer;
    AssignVariant(&buffer, bytes);
    EXPECT_TRUE(SetProperty(stream, "Type", 1));
    EXPECT_TRUE(SetProperty(stream, "Mode", 3));
    CallMethod(stream, "Open");
    CallMethod(stream, "Write", buffer);
    EXPECT_TRUE(SetProperty(stream, "Position", from));
    EXPECT_TRUE(SetProperty(stream, "Type", 2) || from != 0);
    StreamRead read;
    read.charsetWritten = SetProperty(stream, "Charset", charset);
    read.text = CallTextMethod(stream, "ReadText");
    CallMethod(stream, "Close");
    return read;
}

TEST(StreamClass, ReadsTextInTheCharset) {
    const Text chinese = "中文測試"_gbk;   // 測 and 試 are in GBK but not in GB2312 proper
    struct Case {
        const char* name;
        Bytes bytes;
        const char* charset;
        Text expected;
    };
    const Case cases[] = {
        {"UTF-8", BytesOf("<p>\xE4\xB8\xAD\xE6\x96\x87\xE6\xB8\xAC\xE8\xA9\xA6</p>"), "utf-8", ConcatText("<p>", chinese, "</p>")},
        {"UTF-8 name in capitals", BytesOf("\xE4\xB8\xAD\xE6\x96\x87\xE6\xB8\xAC\xE8\xA9\xA6"), "UTF-8", chinese},
        {"UTF-8 byte order mark", BytesOf("\xEF\xBB\xBF" "a"), "utf-8", "a"},
        {"Big5", BytesOf("\xA4\xA4\xA4\xE5\xB4\xFA\xB8\xD5"), "big5", chinese},
        {"GBK in capitals", TextToBytes(chinese), "GBK", chinese},
        {"gb2312 reads as code page 936", TextToBytes(chinese), "gb2312", chinese},
        {"unicode is UTF-16 little-endian", BytesOf(std::string_view("\x2D\x4E" "a\0", 4)), "unicode", "中a"_gbk},
        {"ISO-8859-1 alias", BytesOf("caf\xE9"), "latin1", Text("caf\xA8\xA6")},   // GBK has the pinyin e
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const StreamRead read = ReadAs(c.bytes, c.charset);
        EXPECT_TRUE(read.charsetWritten);
        EXPECT_EQ(read.text, c.expected);
    }
}

TEST(StreamClass, UnknownCharsetReadsNothing) {
    for (const char* charset : {"x-no-such-charset", "u-t-f-8", "", "gb 2312"}) {
        SCOPED_TRACE(charset);
        const StreamRead read = ReadAs(BytesOf("abc"), charset);
        EXPECT_FALSE(read.charsetWritten);
        EXPECT_EQ(read.text, Text()) << "never a read in the default charset";
    }
}

TEST(StreamClass, ReadsFromPositionToTheEnd) {
    AutomationObject stream;
    ASSERT_TRUE(CreateObject(&stream, "Adodb.Stream"));
    Variant buffer;
    AssignVariant(&buffer, BytesOf("abcdef"));
    SetProperty(stream, "Type", 1);
    CallMethod(stream, "Open");
    CallMethod(stream, "Write", buffer);
    EXPECT_EQ(GetNumberProperty(stream, "Position"), 6.0);
    EXPECT_FALSE(SetProperty(stream, "Type", 2)) << "the type changes only at position 0";
    ASSERT_TRUE(SetProperty(stream, "Position", 0));
    ASSERT_TRUE(SetProperty(stream, "Type", 2));
    ASSERT_TRUE(SetProperty(stream, "Charset", "us-ascii"));
    ASSERT_TRUE(SetProperty(stream, "Position", 3));
    EXPECT_EQ(CallTextMethod(stream, "ReadText"), Text("def"));
    EXPECT_EQ(GetNumberProperty(stream, "Position"), 6.0);
    EXPECT_EQ(CallTextMethod(stream, "ReadText"), Text()) << "nothing left";
    EXPECT_FALSE(SetProperty(stream, "Position", 7)) << "past the end";
}

TEST(StreamClass, CallsOutOfStateFail) {
    AutomationObject stream;
    ASSERT_TRUE(CreateObject(&stream, "Adodb.Stream"));
    Variant buffer;
    AssignVariant(&buffer, BytesOf("ab"));
    Variant text;
    AssignVariant(&text, Text("ab"));

    EXPECT_FALSE(SetProperty(stream, "Position", 0)) << "closed";
    CallMethod(stream, "Write", buffer);
    SetProperty(stream, "Type", 1);
    CallMethod(stream, "Open");
    EXPECT_EQ(GetNumberProperty(stream, "Size"), 0.0) << "a write to a closed stream";
    CallMethod(stream, "Write", text);
    EXPECT_EQ(GetNumberProperty(stream, "Size"), 0.0) << "a string is no byte array";
    CallMethod(stream, "Write", buffer);
    EXPECT_EQ(GetNumberProperty(stream, "Size"), 2.0);
    EXPECT_FALSE(SetProperty(stream, "Mode", 1)) << "the mode changes only while closed";
    SetProperty(stream, "Position", 0);
    EXPECT_EQ(CallTextMethod(stream, "ReadText"), Text()) << "binary type";
    CallMethod(stream, "Close");
    EXPECT_EQ(GetNumberProperty(stream, "Size"), 0.0) << "closed";
}

}  // namespace
}  // namespace korvel
