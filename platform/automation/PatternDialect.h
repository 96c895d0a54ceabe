#pragma once
// The regular-expression class reads its patterns in the script dialect (the one web
// pages and scripts have always used) and runs them on ICU's engine. The dialects differ
// in a few places, so a pattern is rewritten before ICU compiles it:
// - \w \W \d \D \s \S \b \B are the ASCII classes: \w is [A-Za-z0-9_], \d is [0-9],
//   \s is [ \f\n\r\t\v], and \b stands between a \w and a non-\w character. ICU's own
//   classes are Unicode-wide, so "\w+" would run on through Chinese text.
// - \v is the vertical tab (ICU: any vertical space); an escaped letter with no meaning
//   in the dialect is the letter itself (ICU gives some of them meanings: \A, \z, \Q...).
// - Inside [...], punctuation is literal ("[" and "&" and ":" are set syntax in ICU);
//   [] matches nothing and [^] matches any character.
// - "{" and "}" that do not form a repetition count are literal.
// Anything else goes to ICU unchanged, so a pattern the dialect rejects (an unbalanced
// parenthesis, a trailing backslash, a bad repetition) is rejected by ICU as well.
#include <string>

namespace korvel::platform {

std::u16string TranslatePattern(const std::u16string& pattern);

}  // namespace korvel::platform
