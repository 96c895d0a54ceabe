#pragma once
// Variant: the tagged value automation instances take and give. A new one holds the
// integer 0; a cleared one is empty. Strings are UTF-16; a byte array is one-dimensional
// with lower bound 1. Copying copies the value: strings and arrays are duplicated, an
// object reference is counted.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "core/automation/AutomationObject.h"

namespace korvel {

// The elements of a byte array; element i (1-based, from kLowerBound) is bytes[i - 1].
struct ByteArray {
    static constexpr int32_t kLowerBound = 1;
    std::vector<uint8_t> bytes;

    int32_t LowerBound() const { return kLowerBound; }
    int32_t UpperBound() const { return kLowerBound + static_cast<int32_t>(bytes.size()) - 1; }
    friend bool operator==(const ByteArray&, const ByteArray&) = default;
};

class Variant {
public:
    enum class Kind { kEmpty, kInteger, kReal, kBoolean, kString, kByteArray, kObject };

    Variant() : value_(int32_t{0}) {}

    static Variant Empty() { return Variant(Tag{}, std::monostate{}); }
    static Variant Integer(int32_t value) { return Variant(Tag{}, value); }
    static Variant Real(double value) { return Variant(Tag{}, value); }
    static Variant Boolean(bool value) { return Variant(Tag{}, value); }
    static Variant String(std::u16string value) { return Variant(Tag{}, std::move(value)); }
    static Variant Array(std::vector<uint8_t> elements) { return Variant(Tag{}, ByteArray{std::move(elements)}); }
    static Variant Object(AutomationObject object) { return Variant(Tag{}, std::move(object)); }

    Kind kind() const { return static_cast<Kind>(value_.index()); }
    bool empty() const { return kind() == Kind::kEmpty; }

    // Each accessor gives the value when the variant holds that kind, null otherwise.
    const int32_t* integer() const { return std::get_if<int32_t>(&value_); }
    const double* real() const { return std::get_if<double>(&value_); }
    const bool* boolean() const { return std::get_if<bool>(&value_); }
    const std::u16string* string() const { return std::get_if<std::u16string>(&value_); }
    const ByteArray* byteArray() const { return std::get_if<ByteArray>(&value_); }
    const AutomationObject* object() const { return std::get_if<AutomationObject>(&value_); }

private:
    // The order of the alternatives is the order of Kind.
    using Value = std::variant<std::monostate, int32_t, double, bool, std::u16string, ByteArray, AutomationObject>;
    struct Tag {};
    template <typename T>
    Variant(Tag, T value) : value_(std::in_place_type<T>, std::move(value)) {}

    Value value_;
};

}  // namespace korvel
