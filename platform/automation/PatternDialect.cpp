#include "platform/automation/PatternDialect.h"

#include <string_view>

namespace korvel::platform {
namespace {

constexpr std::u16string_view kWordSet = u"A-Za-z0-9_";
constexpr std::u16string_view kDigitSet = u"0-9";
constexpr std::u16string_view kSpaceSet = u"\\ \\f\\n\\r\\t\\x0B";
constexpr std::u16string_view kWordBoundary = u"(?:(?<=[A-Za-z0-9_])(?![A-Za-z0-9_])|(?<![A-Za-z0-9_])(?=[A-Za-z0-9_]))";
constexpr std::u16string_view kNotWordBoundary = u"(?:(?<=[A-Za-z0-9_])(?=[A-Za-z0-9_])|(?<![A-Za-z0-9_])(?![A-Za-z0-9_]))";

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsHexDigit(char16_t c) { return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }
bool IsAsciiPunctuation(char16_t c) { return c > 0x20 && c < 0x7F && !IsAsciiLetter(c) && !IsDigit(c); }

bool HexDigitsAt(std::u16string_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size()) return false;
    for (std::size_t i = at; i < at + count; ++i) {
        if (!IsHexDigit(text[i])) return false;
    }
    return true;
}

// The length of a repetition count "{n}", "{n,}" or "{n,m}" starting at `at`, or 0.
std::size_t IntervalLength(std::u16string_view text, std::size_t at) {
    std::size_t i = at + 1;
    const std::size_t digitsStart = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i == digitsStart) return 0;
    if (i < text.size() && text[i] == u',') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i;
    }
    if (i >= text.size() || text[i] != u'}') return 0;
    return i + 1 - at;
}

class Translator {
public:
    explicit Translator(std::u16string_view pattern) : in_(pattern) {}

    std::u16string Run() {
        while (at_ < in_.size()) {
            if (inClass_) {
                ClassCharacter();
            } else {
                PlainCharacter();
            }
        }
        return out_;
    }

private:
    void PlainCharacter() {
        const char16_t c = in_[at_];
        if (c == u'\\') return Escape();
        if (c == u'[') return OpenClass();
        if (c == u'{') {
            const std::size_t length = IntervalLength(in_, at_);
            if (length > 0) {
                out_.append(in_.substr(at_, length));
                at_ += length;
                return;
            }
        }
        if (c == u'{' || c == u'}') out_.push_back(u'\\');
        out_.push_back(c);
        ++at_;
    }

    void OpenClass() {
        if (in_.substr(at_, 2) == u"[]") {
            out_.append(u"(?!)");
            at_ += 2;
            return;
        }
        if (in_.substr(at_, 3) == u"[^]") {
            out_.append(u"[\\x{0}-\\x{10FFFF}]");
            at_ += 3;
            return;
        }
        out_.push_back(u'[');
        ++at_;
        if (at_ < in_.size() && in_[at_] == u'^') {
            out_.push_back(u'^');
            ++at_;
        }
        inClass_ = true;
    }

    void ClassCharacter() {
        const char16_t c = in_[at_];
        if (c == u'\\') return Escape();
        if (c == u']') {
            inClass_ = false;
        } else if (c != u'-' && IsAsciiPunctuation(c)) {
            out_.push_back(u'\\');
        }
        out_.push_back(c);
        ++at_;
    }

    // A backslash and what follows it; at_ stands on the backslash.
    void Escape() {
        if (at_ + 1 >= in_.size()) {
            out_.push_back(u'\\');   // a trailing backslash: let ICU reject it
            ++at_;
            return;
        }
        const char16_t e = in_[at_ + 1];
        at_ += 2;
        switch (e) {
            case u'w': return Set(kWordSet, false);
            case u'W': return Set(kWordSet, true);
            case u'd': return Set(kDigitSet, false);
            case u'D': return Set(kDigitSet, true);
            case u's': return Set(kSpaceSet, false);
            case u'S': return Set(kSpaceSet, true);
            case u'b': return Append(inClass_ ? u"\\x08" : kWordBoundary);   // in a class: backspace
            case u'B': return Append(inClass_ ? u"B" : kNotWordBoundary);
            case u'v': return Append(u"\\x0B");
            case u'f': case u'n': case u'r': case u't':
                out_.push_back(u'\\');
                out_.push_back(e);
                return;
            case u'c':
                if (at_ < in_.size() && IsAsciiLetter(in_[at_])) {
                    out_.append(u"\\c");
                    out_.push_back(in_[at_++]);
                    return;
                }
                return Literal(u'c');
            case u'x': return HexEscape(u'x', 2);
            case u'u': return HexEscape(u'u', 4);
            default: break;
        }
        if (IsAsciiLetter(e)) return Literal(e);
        // Digits (back references, octal) and escaped punctuation mean the same in both.
        out_.push_back(u'\\');
        out_.push_back(e);
    }

    void HexEscape(char16_t letter, std::size_t digits) {
        if (!HexDigitsAt(in_, at_, digits)) return Literal(letter);
        out_.push_back(u'\\');
        out_.push_back(letter);
        out_.append(in_.substr(at_, digits));
        at_ += digits;
    }

    void Literal(char16_t letter) { out_.push_back(letter); }
    void Append(std::u16string_view text) { out_.append(text); }

    // A class escape: its ranges inside a class, a class of its own outside one; a negated
    // one inside a class becomes a nested set, which ICU unites with the rest.
    void Set(std::u16string_view ranges, bool negated) {
        if (inClass_ && !negated) {
            out_.append(ranges);
            return;
        }
        out_.append(negated ? u"[^" : u"[");
        out_.append(ranges);
        out_.push_back(u']');
    }

    std::u16string_view in_;
    std::size_t at_ = 0;
    bool inClass_ = false;
    std::u16string out_;
};

}  // namespace

std::u16string TranslatePattern(const std::u16string& pattern) { return Translator(pattern).Run(); }

}  // namespace korvel::platform
