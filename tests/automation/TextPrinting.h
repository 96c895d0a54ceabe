#pragma once
// Shows a Text in a failed expectation as its bytes, printable ASCII as it stands.
#include <cstdio>
#include <ostream>

#include "core/Text.h"

namespace korvel {

inline void PrintTo(const Text& text, std::ostream* out) {
    *out << '"';
    for (int32_t i = 0; i < text.size(); ++i) {
        const unsigned char byte = text.at(i);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            *out << static_cast<char>(byte);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            *out << escaped;
        }
    }
    *out << '"';
}

}  // namespace korvel
