#pragma once
// Runs a pattern of the script dialect over a UTF-16 subject with ICU's engine.
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/RegExpMatch.h"

namespace korvel::platform {

struct RegExpOptions {
    bool ignoreCase = false;
    bool multiline = false;   // "^" and "$" also at line breaks
    bool global = false;      // every match rather than the first
};

// The matches in subject order; nothing when the pattern does not compile or the
// engine gives up (a stack or time limit) before the subject is searched through.
std::optional<std::vector<RegExpMatch>> FindMatches(const std::u16string& pattern, const RegExpOptions& options,
                                                    const std::u16string& subject);

}  // namespace korvel::platform
