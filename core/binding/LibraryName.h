#pragma once
// Library names as Windows compares them: letters folded to lower case, ASCII only.
#include <string>
#include <string_view>

namespace korvel::binding {

// The name with A-Z folded to a-z; every other byte unchanged.
std::string FoldedLibraryName(std::string_view name);

}  // namespace korvel::binding
