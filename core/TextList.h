#pragma once
// TextList: a 1-based list of Text. An index outside 1..count is a caller's mistake and
// ends the program through the fatal report (code 4 below 1, code 1 above count).
#include <cstdint>
#include <vector>

#include "core/Text.h"

namespace korvel {

class TextList {
public:
    TextList() = default;
    explicit TextList(std::vector<Text> elements) : elements_(std::move(elements)) {}

    int32_t count() const { return static_cast<int32_t>(elements_.size()); }
    const Text& operator[](int32_t oneBasedIndex) const;
    void Append(Text element) { elements_.push_back(std::move(element)); }

private:
    std::vector<Text> elements_;
};

int32_t ElementCount(const TextList& list);

}  // namespace korvel
