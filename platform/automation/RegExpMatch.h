#pragma once
// One match of a regular expression, as the match objects report it. Positions and
// lengths count UTF-16 units of the subject.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvel::platform {

struct RegExpMatch {
    std::u16string value;
    int32_t firstIndex = 0;
    int32_t length = 0;
    // Group 1 first; nothing for a group that took no part in the match.
    std::vector<std::optional<std::u16string>> groups;
};

}  // namespace korvel::platform
