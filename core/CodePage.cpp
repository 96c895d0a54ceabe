#include "core/CodePage.h"

#include "core/FatalError.h"

namespace korvel {
namespace {
const CodePageConverter* g_converter = nullptr;
}

void SetCodePage936(const CodePageConverter* converter) { g_converter = converter; }

bool HasCodePage936() { return g_converter != nullptr; }

const CodePageConverter& CodePage936() {
    // The report must not need the converter it reports missing: its text is ASCII.
    if (!g_converter) ReportFatalError(0, Text("code page 936 converter not registered"));
    return *g_converter;
}

std::u16string GbkToUtf16(const Text& text) { return CodePage936().ToUtf16(text.view()); }
Text Utf16ToGbk(std::u16string_view utf16) { return Text(CodePage936().FromUtf16(utf16)); }
std::string GbkToUtf8(const Text& text) { return CodePage936().ToUtf8(text.view()); }
Text Utf8ToGbk(std::string_view utf8) { return Text(CodePage936().FromUtf8(utf8)); }

Text operator""_gbk(const char* utf8, std::size_t length) { return Utf8ToGbk(std::string_view(utf8, length)); }

}  // namespace korvel
