// The text primitives over arbitrary GBK bytes, each compared with its plain model:
// SplitText, FindText, ReplaceText, TrimText and TextBetween.
//
// Input: an options byte (bit 0 ignore case, bit 1 a start is given, bit 2 maxPieces is
// given, bit 3 TextBetween is given its case flag), a start byte and a maxPieces byte
// (both signed), then three texts separated by zero bytes: the text, a sought text (also
// the separator and the left marker) and a replacement (also the right marker).
#include <cstddef>
#include <cstdint>
#include <optional>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "ReferenceText.h"
#include "core/CodePage.h"
#include "core/TextOperations.h"
#include "http/TextBetween.h"
#include "platform/Platform.h"

namespace {

korvel::Text g_quoteMarker;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    korvel::platform::Install();
    using korvel::operator""_gbk;
    g_quoteMarker = "#引号"_gbk;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace korvel;
    namespace model = korvel::fuzz::reference;
    fuzz::FuzzInput input(data, size);
    const uint8_t options = input.TakeByte();
    const auto startByte = static_cast<int8_t>(input.TakeByte());
    const auto piecesByte = static_cast<int8_t>(input.TakeByte());
    const Text text = input.TakeText();
    const Text sought = input.TakeText();
    const Text other = input.TakeText();
    const bool fold = options & 1;
    const std::optional<int32_t> start = options & 2 ? std::optional<int32_t>(startByte) : std::nullopt;
    const std::optional<int32_t> maxPieces = options & 4 ? std::optional<int32_t>(piecesByte) : std::nullopt;

    const TextList pieces = SplitText(text, sought, maxPieces);
    const auto expectedPieces = model::Split(text.view(), sought.view(), maxPieces);
    FUZZ_CHECK(pieces.count() == static_cast<int32_t>(expectedPieces.size()));
    for (int32_t i = 1; i <= pieces.count(); ++i) FUZZ_CHECK(pieces[i].view() == expectedPieces[i - 1]);

    FUZZ_CHECK(FindText(text, sought, start, fold) == model::Find(text.view(), sought.view(), start, fold));

    FUZZ_CHECK(ReplaceText(text, sought, other, !fold).view() == model::Replace(text.view(), sought.view(), other.view(), !fold));
    FUZZ_CHECK(ReplaceText(text, sought, std::nullopt, !fold).view() == model::Replace(text.view(), sought.view(), "", !fold));

    FUZZ_CHECK(TrimText(text).view() == model::Trim(text.view()));

    const std::optional<bool> ignoreCase = options & 8 ? std::optional<bool>(fold) : std::nullopt;
    FUZZ_CHECK(TextBetween(text, sought, other, start, ignoreCase).view() ==
               model::Between(text.view(), sought.view(), other.view(), start, ignoreCase.value_or(false),
                              g_quoteMarker.view()));
    return 0;
}
