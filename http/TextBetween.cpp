#include "http/TextBetween.h"

#include "core/CodePage.h"
#include "core/TextOperations.h"

namespace korvel {

Text TextBetween(const Text& text, const Text& left, const Text& right, std::optional<int32_t> start,
                 std::optional<bool> ignoreCase) {
    const Text quoteMark = "#引号"_gbk;
    Text leftMarker = ReplaceText(left, quoteMark, Text("\""), true);
    Text rightMarker = ReplaceText(right, quoteMark, Text("\""), true);
    bool fold = ignoreCase.value_or(false);

    int32_t p = FindText(text, leftMarker, start, fold);
    if (p != -1) p += TextLength(leftMarker);
    // When the left marker is missing this search runs from the first character; its
    // outcome does not matter then.
    int32_t q = FindText(text, rightMarker, p, fold);
    if (p == -1 || q == -1) return Text();
    return MidText(text, p, q - p);
}

}  // namespace korvel
