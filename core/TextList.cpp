#include "core/TextList.h"

#include "core/FatalError.h"
#include "core/FatalTexts.h"

namespace korvel {

const Text& TextList::operator[](int32_t oneBasedIndex) const {
    if (oneBasedIndex < 1) ReportFatalError(4, Text(fatal_texts::kIndexBelowOne));
    if (oneBasedIndex > count()) ReportFatalError(1, Text(fatal_texts::kIndexAboveCount));
    return elements_[static_cast<std::size_t>(oneBasedIndex - 1)];
}

int32_t ElementCount(const TextList& list) { return list.count(); }

}  // namespace korvel
