#include "platform/automation/Replacement.h"

#include <string_view>

namespace korvel::platform {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::u16string_view GroupText(const RegExpMatch& match, std::size_t group) {
    const auto& text = match.groups[group - 1];
    return text ? std::u16string_view(*text) : std::u16string_view();
}

// Appends what "$..." at replacement[at] stands for and returns the characters it took.
std::size_t AppendDollarForm(std::u16string_view subject, const RegExpMatch& match, std::u16string_view replacement,
                             std::size_t at, std::u16string& out) {
    const char16_t next = at + 1 < replacement.size() ? replacement[at + 1] : u'\0';
    const std::size_t matchEnd = static_cast<std::size_t>(match.firstIndex + match.length);
    switch (next) {
        case u'$': out.push_back(u'$'); return 2;
        case u'&': out.append(match.value); return 2;
        case u'`': out.append(subject.substr(0, static_cast<std::size_t>(match.firstIndex))); return 2;
        case u'\'': out.append(subject.substr(matchEnd)); return 2;
        default: break;
    }
    const std::size_t groupCount = match.groups.size();
    if (IsDigit(next)) {
        const std::size_t first = next - u'0';
        if (at + 2 < replacement.size() && IsDigit(replacement[at + 2])) {
            const std::size_t both = first * 10 + (replacement[at + 2] - u'0');
            if (both >= 1 && both <= groupCount) {
                out.append(GroupText(match, both));
                return 3;
            }
        }
        if (first >= 1 && first <= groupCount) {
            out.append(GroupText(match, first));
            return 2;
        }
    }
    out.push_back(u'$');
    return 1;
}

}  // namespace

std::u16string ReplaceMatches(const std::u16string& subject, const std::vector<RegExpMatch>& matches,
                              const std::u16string& replacement) {
    std::u16string out;
    std::size_t copiedTo = 0;
    for (const RegExpMatch& match : matches) {
        const auto start = static_cast<std::size_t>(match.firstIndex);
        out.append(subject, copiedTo, start - copiedTo);
        for (std::size_t at = 0; at < replacement.size();) {
            if (replacement[at] == u'$') {
                at += AppendDollarForm(subject, match, replacement, at, out);
            } else {
                out.push_back(replacement[at++]);
            }
        }
        copiedTo = start + static_cast<std::size_t>(match.length);
    }
    out.append(subject, copiedTo);
    return out;
}

}  // namespace korvel::platform
