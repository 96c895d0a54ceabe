#pragma once
// Cuts the piece of a text that stands between two markers.
#include <cstdint>
#include <optional>

#include "core/Text.h"

namespace korvel {

// The text between the end of the first left marker found at or after start (not given:
// the first character) and the first right marker after it; the empty text when either is
// missing. "#引号" in a marker stands for a double quote ("); the searched text is taken
// as it is. ignoreCase folds ASCII letters in both searches.
Text TextBetween(const Text& text, const Text& left, const Text& right, std::optional<int32_t> start = std::nullopt,
                 std::optional<bool> ignoreCase = std::nullopt);

}  // namespace korvel
