#pragma once
// Cuts a fuzzer's input into the pieces a target needs. A Text cannot hold a zero byte, so
// texts are separated by zero bytes: every field is a whole text of its own, and the seed
// files stay readable. The first byte, when a target asks for it, carries option bits.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/Text.h"

namespace korvel::fuzz {

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

    // The next byte, 0 when the input ran out.
    uint8_t TakeByte() {
        if (rest_.empty()) return 0;
        const auto byte = static_cast<uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return byte;
    }

    // The bytes up to the next zero byte (which is consumed), or all that is left.
    Text TakeText() {
        const size_t end = rest_.find('\0');
        const std::string_view field = rest_.substr(0, end);
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        return Text(field);
    }

    // Everything not taken yet, zero bytes included.
    std::string_view Rest() const { return rest_; }

private:
    std::string_view rest_;
};

}  // namespace korvel::fuzz
