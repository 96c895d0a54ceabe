#include "app/QtText.h"

#include <string>

#include "core/CodePage.h"

namespace korvel {
namespace {

bool IsAscii(const Text& text) {
    for (char byte : text.view()) {
        if (IsLeadByte(static_cast<unsigned char>(byte))) return false;
    }
    return true;
}

bool IsLineBreak(char16_t c) { return c == u'\r' || c == u'\n' || c == 0x2028 || c == 0x2029; }

}  // namespace

QString ToQString(const Text& gbk) {
    if (IsAscii(gbk)) return QString::fromLatin1(gbk.view().data(), gbk.size());
    const std::u16string utf16 = GbkToUtf16(gbk);
    return QString::fromStdU16String(utf16);
}

QString ToQStringWithNewlines(const Text& gbk) {
    QString text = ToQString(gbk);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

Text ToGbkWithCrLf(QStringView utf16) {
    // One pass: line breaks become CR LF, and the ASCII check decides whether code page
    // 936 is needed at all (the row counter reads a whole column on every keystroke).
    std::u16string normalised;
    normalised.reserve(static_cast<std::size_t>(utf16.size()) + utf16.size() / 8);
    bool ascii = true;
    const qsizetype length = utf16.size();
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t c = utf16[i].unicode();
        if (IsLineBreak(c)) {
            if (c == u'\r' && i + 1 < length && utf16[i + 1] == u'\n') ++i;
            normalised += u"\r\n";
            continue;
        }
        ascii = ascii && c < 0x80;
        normalised += c;
    }
    if (!ascii) return Utf16ToGbk(normalised);
    return Text(std::string(normalised.begin(), normalised.end()));
}

}  // namespace korvel
