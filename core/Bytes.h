#pragma once
// Bytes: an owned byte buffer with a 32-bit length; zero bytes allowed.
#include <cstdint>
#include <string_view>
#include <vector>

namespace korvel {

class Bytes {
public:
    Bytes() = default;
    explicit Bytes(std::vector<uint8_t> data) : data_(std::move(data)) {}
    Bytes(const void* address, int32_t length);       // copies length bytes; length <= 0 gives empty

    int32_t size() const { return static_cast<int32_t>(data_.size()); }
    bool empty() const { return data_.empty(); }
    const uint8_t* data() const { return data_.data(); }
    uint8_t* data() { return data_.data(); }
    const std::vector<uint8_t>& vector() const { return data_; }
    std::vector<uint8_t>& vector() { return data_; }
    std::string_view view() const { return {reinterpret_cast<const char*>(data_.data()), data_.size()}; }
    uint8_t operator[](int32_t zeroBasedIndex) const { return data_[zeroBasedIndex]; }

    // What an outside function receives: the first byte, or null when empty.
    const void* ArgumentPointer() const { return data_.empty() ? nullptr : data_.data(); }
    void* ArgumentPointer() { return data_.empty() ? nullptr : data_.data(); }

    friend bool operator==(const Bytes&, const Bytes&) = default;

private:
    std::vector<uint8_t> data_;
};

}  // namespace korvel
