#pragma once
// "VBScript.RegExp": a regular expression in the script dialect over UTF-16 text.
//   Pattern (string, ""), IgnoreCase, Global, Multiline (booleans, false): read and write.
//   Execute(subject): the match collection; every match with Global, else the first.
//   Test(subject): true when the pattern matches somewhere.
//   Replace(subject, replacement): the subject with the matches (all with Global, else the
//     first) replaced; see Replacement.h for the "$" forms.
// A pattern that does not compile makes Execute, Test and Replace fail. There is no
// Singleline member: "." never matches a line break, and writing Singleline fails.
#include <memory>

#include "core/automation/AutomationInstance.h"

namespace korvel::platform {

std::shared_ptr<AutomationInstance> NewRegExp();

}  // namespace korvel::platform
