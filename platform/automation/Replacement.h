#pragma once
// Builds the result of a regular-expression replacement. In the replacement text:
//   $1 ... $99  the group's text ("" when it took no part). Two digits are read as one
//               group number when that group exists, otherwise the first digit alone
//               when its group exists, otherwise the "$" is literal; $0 is literal.
//   $&          the whole match
//   $`          the subject before the match
//   $'          the subject after the match
//   $$          one "$"
// Any other "$" is literal. The subject between and around the matches is kept.
#include <string>
#include <vector>

#include "platform/automation/RegExpMatch.h"

namespace korvel::platform {

std::u16string ReplaceMatches(const std::u16string& subject, const std::vector<RegExpMatch>& matches,
                              const std::u16string& replacement);

}  // namespace korvel::platform
