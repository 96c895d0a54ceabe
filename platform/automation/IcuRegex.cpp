#include "platform/automation/IcuRegex.h"

#include <unicode/regex.h>

#include <memory>

#include "platform/automation/PatternDialect.h"

namespace korvel::platform {
namespace {

icu::UnicodeString Borrowed(const std::u16string& text) {
    return icu::UnicodeString(false, text.data(), static_cast<int32_t>(text.size()));
}

std::u16string Owned(const icu::UnicodeString& text) { return std::u16string(text.getBuffer(), static_cast<std::size_t>(text.length())); }

RegExpMatch CurrentMatch(icu::RegexMatcher& matcher, UErrorCode& status) {
    RegExpMatch match;
    match.firstIndex = matcher.start(status);
    match.length = matcher.end(status) - match.firstIndex;
    match.value = Owned(matcher.group(status));
    const int32_t groups = matcher.groupCount();
    for (int32_t group = 1; group <= groups; ++group) {
        if (matcher.start(group, status) < 0) {
            match.groups.emplace_back(std::nullopt);
        } else {
            match.groups.emplace_back(Owned(matcher.group(group, status)));
        }
    }
    return match;
}

}  // namespace

// ICU counts the limit in steps of its match engine, each of the order of a millisecond:
// far beyond what a page's charset declaration needs, short enough to keep the window alive.
constexpr int32_t kMatchStepLimit = 1000;

std::optional<std::vector<RegExpMatch>> FindMatches(const std::u16string& pattern, const RegExpOptions& options,
                                                    const std::u16string& subject) {
    uint32_t flags = 0;
    if (options.ignoreCase) flags |= UREGEX_CASE_INSENSITIVE;
    if (options.multiline) flags |= UREGEX_MULTILINE;
    UErrorCode status = U_ZERO_ERROR;
    UParseError where;
    const std::u16string translated = TranslatePattern(pattern);
    std::unique_ptr<icu::RegexPattern> compiled(icu::RegexPattern::compile(Borrowed(translated), flags, where, status));
    if (U_FAILURE(status) || !compiled) return std::nullopt;
    // The matcher keeps a pointer into the subject, which outlives it here.
    const icu::UnicodeString input = Borrowed(subject);
    std::unique_ptr<icu::RegexMatcher> matcher(compiled->matcher(input, status));
    if (U_FAILURE(status) || !matcher) return std::nullopt;
    // A pattern that backtracks without end (or repeats an anchor for ever) would freeze
    // the window: past the limit the search fails, as an invalid pattern does.
    matcher->setTimeLimit(kMatchStepLimit, status);
    if (U_FAILURE(status)) return std::nullopt;
    std::vector<RegExpMatch> matches;
    while (matcher->find(status)) {
        matches.push_back(CurrentMatch(*matcher, status));
        if (!options.global) break;
    }
    if (U_FAILURE(status)) return std::nullopt;
    return matches;
}

}  // namespace korvel::platform
