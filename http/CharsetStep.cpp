#include "http/CharsetStep.h"

#include "core/Services.h"
#include "core/TextOperations.h"
#include "core/automation/Automation.h"
#include "core/binding/Binding.h"

namespace korvel {
namespace {

// How far into the page a charset declaration is looked for, in bytes.
constexpr int32_t kSampleLength = 1024;

// A meta tag's charset: the name is a run of letters, digits, "_" and "-", after
// "charset=" and at most one other character (a quote, usually).
constexpr const char* kCharsetPattern = "<meta.+?charset=[^\\w]?([-\\w]+)";

// Pages in the program's own code page need no conversion; only these two spellings are
// taken as saying so.
bool IsOwnCodePage(const Text& charset) { return charset == Text("gbk") || charset == Text("gb2312"); }

// The whole body read as text in the charset. Each call on the stream goes on whatever
// the one before gave; the text is whatever "ReadText" gives, the empty text on failure.
// Nothing when the stream class cannot be made.
std::optional<Text> ReadInCharset(const Bytes& responseBytes, const Text& charset) {
    AutomationObject stream;
    if (!CreateObject(&stream, "Adodb.Stream")) return std::nullopt;
    Variant body;
    AssignVariant(&body, responseBytes);
    SetProperty(stream, "Type", 1);       // binary
    SetProperty(stream, "Mode", 3);       // read and write
    CallMethod(stream, "Open");
    CallMethod(stream, "Write", body);
    SetProperty(stream, "Position", 0);
    SetProperty(stream, "Type", 2);       // text
    SetProperty(stream, "Charset", charset);
    Text text = CallTextMethod(stream, "ReadText");
    CallMethod(stream, "Close");
    ClearObject(&stream);
    ClearVariant(&body);
    return text;
}

}  // namespace

Text ApplyCharsetStep(RegexObject& regex, const Text& pageText, const Bytes& responseBytes) {
    binding::Call<binding::kCoInitialize>(nullptr);
    Text page = pageText;
    if (regex.Search(kCharsetPattern, LeftText(pageText, kSampleLength))) {
        const Text charset = regex.SubMatchText(1, 1);
        if (!charset.empty() && !IsOwnCodePage(charset)) {
            if (std::optional<Text> converted = ReadInCharset(responseBytes, charset)) page = std::move(*converted);
        }
        ProcessPendingMessages();
    }
    binding::Call<binding::kCoUninitialize>();
    return page;
}

Text ApplyCharsetStep(const Text& pageText, const Bytes& responseBytes) {
    RegexObject regex;
    return ApplyCharsetStep(regex, pageText, responseBytes);
}

}  // namespace korvel
