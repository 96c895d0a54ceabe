// RegexObject over arbitrary patterns, subjects and replacements (GBK bytes, converted to
// UTF-16 for the regular-expression class and back): search, match and sub-match texts
// with their byte positions, and replacement.
//
// Input: an options byte (bits 0-1: caseSensitive not given, false, true, true; bits 2-3
// multiline; bits 4-5 global; bits 6-7 quoteMarker, alike), then pattern, subject and
// replacement separated by zero bytes.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "core/TextOperations.h"
#include "http/RegexObject.h"
#include "platform/Platform.h"

namespace {

using namespace korvel;

// Matches and groups looked at per input; the rest add nothing new.
constexpr int32_t kMatchesLooked = 8;
constexpr int32_t kGroupsLooked = 8;

std::optional<bool> Option(uint8_t twoBits) {
    if (twoBits == 0) return std::nullopt;
    return twoBits != 1;
}

// A position is -2 (the text was not found from the match on) or the 0-based byte offset
// of a place in the subject that holds the text.
void CheckPosition(const Text& subject, const Text& text, int32_t position) {
    FUZZ_CHECK(position >= -2);
    if (position >= 0) FUZZ_CHECK(position + TextLength(text) <= TextLength(subject));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    platform::Install();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const uint8_t options = input.TakeByte();
    const Text pattern = input.TakeText();
    const Text subject = input.TakeText();
    const Text replacement = input.TakeText();

    RegexObject regex;
    const bool ran = regex.Search(pattern, subject,
                                  {.caseSensitive = Option(options & 3),
                                   .multiline = Option((options >> 2) & 3),
                                   .global = Option((options >> 4) & 3),
                                   .quoteMarker = Option((options >> 6) & 3)});
    const int32_t count = regex.MatchCount();
    FUZZ_CHECK(count >= 0);
    FUZZ_CHECK(ran || count == 0);
    if (!Option((options >> 4) & 3).value_or(true)) FUZZ_CHECK(count <= 1);
    for (int32_t m = 1; m <= count && m <= kMatchesLooked; ++m) {
        int32_t position = -3;
        const Text match = regex.MatchText(m, &position);
        CheckPosition(subject, match, position);
        for (int32_t g = 1; g <= regex.SubMatchCount() && g <= kGroupsLooked; ++g) {
            position = -3;
            CheckPosition(subject, regex.SubMatchText(m, g, &position), position);
        }
    }
    int32_t position = -3;
    FUZZ_CHECK(regex.MatchText(count + 1, &position).empty());
    FUZZ_CHECK(position == (subject.empty() ? -2 : 0));
    FUZZ_CHECK(regex.SubMatchText(1, regex.SubMatchCount() + 1).empty());
    regex.ReplaceMatches(replacement);
    if (!ran) FUZZ_CHECK(regex.ReplaceMatches(replacement).empty());
    regex.GetPattern();

    // A copy shares the matches and answers alike.
    const RegexObject copy(regex);
    FUZZ_CHECK(copy.MatchCount() == count);
    return 0;
}
