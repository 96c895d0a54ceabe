#pragma once
// Texts written byte by byte, for the two-byte cases the tests build by hand.
#include <initializer_list>
#include <string>
#include <vector>

#include "core/Text.h"
#include "core/TextList.h"

namespace korvel::testing_support {

inline Text GbkText(std::initializer_list<unsigned char> bytes) {
    return Text(std::string(bytes.begin(), bytes.end()));
}

inline std::vector<std::string> Elements(const TextList& list) {
    std::vector<std::string> out;
    for (int32_t i = 1; i <= list.count(); ++i) out.push_back(list[i].str());
    return out;
}

}  // namespace korvel::testing_support
