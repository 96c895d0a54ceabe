#pragma once
// RegexObject: the program's regular expression. One Search sets a pattern and its
// options, runs it over a subject and keeps the match collection and the subject; the
// other operations answer from what the last search kept. It works through the automation
// class "VBScript.RegExp": the pattern dialect is that class's.
//
// Texts are GBK. Indexes are 1-based. Nothing here fails loudly: before a successful
// Search, or for an index outside the matches or sub-matches, the answers are the empty
// text and 0.
#include <cstdint>
#include <optional>

#include "core/Text.h"
#include "core/automation/AutomationObject.h"
#include "core/automation/Variant.h"

namespace korvel {

// The options of a search; each has its default when not given.
struct SearchOptions {
    std::optional<bool> caseSensitive = std::nullopt; // not given: false (letter case ignored)
    std::optional<bool> multiline = std::nullopt; // not given: true ("^" and "$" at line breaks)
    std::optional<bool> global = std::nullopt; // not given: true (every match)
    std::optional<bool> quoteMarker = std::nullopt; // not given: false; true: "#引号" in the pattern is a double quote
};

class RegexObject {
public:
    // Starts COM on this thread (once more); the destructor ends that start.
    RegexObject();
    ~RegexObject();
    // Shares the original's regular expression and matches and copies its subject. The
    // copy starts COM once more of its own, so that its destruction stays balanced.
    RegexObject(const RegexObject& other);
    RegexObject& operator=(const RegexObject&) = delete;

    // True when the pattern could be run (even with no match); false for a pattern the
    // class rejects or a class that cannot be made, leaving no matches.
    bool Search(const Text& pattern, const Text& subject, const SearchOptions& options = {});

    // The pattern of the last search, after the quote-marker substitution.
    Text GetPattern() const;

    // The last subject with the last search's matches replaced (the class's "$" forms
    // apply); every match when that search was global, else the first.
    Text ReplaceMatches(const Text& replacement) const;

    int32_t MatchCount() const;

    // The text of match matchIndex. *position, when asked for, gets its 0-based byte
    // offset in the subject (PositionOf); 0 for a match that does not exist (-2 when the
    // subject is empty).
    Text MatchText(int32_t matchIndex, int32_t* position = nullptr) const;

    // The text of sub-match subMatchIndex of match matchIndex; the empty text for a group
    // that took no part. *position: the first occurrence of that text at or after the
    // start of its match.
    Text SubMatchText(int32_t matchIndex, int32_t subMatchIndex, int32_t* position = nullptr) const;

    // The number of groups, read from the first match; 0 when there is no match.
    int32_t SubMatchCount() const;

private:
    AutomationObject MatchAt(int32_t matchIndex) const;
    int32_t PositionOf(const AutomationObject& match, const Text& text) const;
    // The GBK byte offset in the subject of a UTF-16 offset the class reports.
    int32_t ByteOffsetOf(int32_t unitOffset) const;

    AutomationObject regularExpression_;
    AutomationObject matches_;
    Variant subject_;   // the integer 0 until the first search
};

}  // namespace korvel
