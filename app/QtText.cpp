#include "app/QtText.h"

#include <optional>
#include <string>
#include <string_view>

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

// Calls out(piece) for each run of characters between line breaks and out(u"\r\n") for
// each line break, CR LF counting as one. Stops early when out returns false.
template <typename Output>
bool ForEachPieceWithCrLf(QStringView utf16, Output out) {
    const char16_t* text = utf16.utf16();
    const qsizetype length = utf16.size();
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < length; ++i) {
        if (!IsLineBreak(text[i])) continue;
        if (!out(std::u16string_view(text + runStart, i - runStart)) || !out(std::u16string_view(u"\r\n"))) return false;
        if (text[i] == u'\r' && i + 1 < length && text[i + 1] == u'\n') ++i;
        runStart = i + 1;
    }
    return out(std::u16string_view(text + runStart, length - runStart));
}

// The bytes with CR LF line breaks, or nothing when a character lies outside ASCII.
std::optional<std::string> AsciiWithCrLf(QStringView utf16) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(utf16.size() + utf16.size() / 8));
    const bool ascii = ForEachPieceWithCrLf(utf16, [&bytes](std::u16string_view piece) {
        const std::size_t at = bytes.size();
        bytes.resize(at + piece.size());
        char* out = bytes.data() + at;
        char16_t seen = 0;
        for (std::size_t k = 0; k < piece.size(); ++k) {
            seen |= piece[k];
            out[k] = static_cast<char>(piece[k]);
        }
        return seen < 0x80;
    });
    if (!ascii) return std::nullopt;
    return bytes;
}

std::u16string Utf16WithCrLf(QStringView utf16) {
    std::u16string text;
    text.reserve(static_cast<std::size_t>(utf16.size() + utf16.size() / 8));
    ForEachPieceWithCrLf(utf16, [&text](std::u16string_view piece) {
        text += piece;
        return true;
    });
    return text;
}

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
    // The row counter reads a whole column on every keystroke: a column of plain ASCII,
    // the common case for serials and IDs, goes straight to bytes without code page 936.
    if (std::optional<std::string> ascii = AsciiWithCrLf(utf16)) return Text(std::move(*ascii));
    return Utf16ToGbk(Utf16WithCrLf(utf16));
}

}  // namespace korvel
