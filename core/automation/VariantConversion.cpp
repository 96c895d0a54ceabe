#include "core/automation/VariantConversion.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace korvel::automation {
namespace {

// A string holding a number, read without regard to the process locale: optional blanks,
// an optional sign, digits with an optional "." and an optional exponent, optional blanks.
std::optional<double> ParseNumber(const std::u16string& text) {
    std::string ascii;
    for (char16_t unit : text) {
        if (unit > 0x7F) return std::nullopt;
        ascii.push_back(static_cast<char>(unit));
    }
    const std::size_t first = ascii.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    const std::size_t last = ascii.find_last_not_of(' ');
    std::string_view number(ascii.data() + first, last - first + 1);
    if (number.starts_with('+')) number.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size()) return std::nullopt;
    if (!std::isfinite(value)) return std::nullopt;   // "inf" and "nan" are words, not numbers
    return value;
}

std::optional<int32_t> RoundToInteger(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    // Half to even, as automation's conversions round; the default rounding mode does it.
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<int32_t>::min() || rounded > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(rounded);
}

bool EqualsIgnoringCase(const std::u16string& text, std::u16string_view word) {
    if (text.size() != word.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t unit = text[i];
        if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit - u'A' + u'a');
        if (unit != word[i]) return false;
    }
    return true;
}

std::u16string AsciiToUtf16(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

}  // namespace

std::optional<int32_t> ToInteger(const Variant& value) {
    switch (value.kind()) {
        case Variant::Kind::kEmpty: return 0;
        case Variant::Kind::kInteger: return *value.integer();
        case Variant::Kind::kBoolean: return *value.boolean() ? -1 : 0;
        case Variant::Kind::kReal: return RoundToInteger(*value.real());
        case Variant::Kind::kString: {
            const std::optional<double> number = ParseNumber(*value.string());
            if (!number) return std::nullopt;
            return RoundToInteger(*number);
        }
        default: return std::nullopt;
    }
}

std::optional<double> ToReal(const Variant& value) {
    switch (value.kind()) {
        case Variant::Kind::kEmpty: return 0.0;
        case Variant::Kind::kInteger: return *value.integer();
        case Variant::Kind::kBoolean: return *value.boolean() ? -1.0 : 0.0;
        case Variant::Kind::kReal: return *value.real();
        case Variant::Kind::kString: return ParseNumber(*value.string());
        default: return std::nullopt;
    }
}

std::optional<bool> ToBoolean(const Variant& value) {
    switch (value.kind()) {
        case Variant::Kind::kEmpty: return false;
        case Variant::Kind::kInteger: return *value.integer() != 0;
        case Variant::Kind::kBoolean: return *value.boolean();
        case Variant::Kind::kReal: return *value.real() != 0.0;
        case Variant::Kind::kString: {
            const std::u16string& text = *value.string();
            if (EqualsIgnoringCase(text, u"true")) return true;
            if (EqualsIgnoringCase(text, u"false")) return false;
            const std::optional<double> number = ParseNumber(text);
            if (!number) return std::nullopt;
            return *number != 0.0;
        }
        default: return std::nullopt;
    }
}

std::optional<std::u16string> ToString(const Variant& value) {
    switch (value.kind()) {
        case Variant::Kind::kEmpty: return std::u16string();
        case Variant::Kind::kInteger: return AsciiToUtf16(std::to_string(*value.integer()));
        case Variant::Kind::kBoolean: return std::u16string(*value.boolean() ? u"True" : u"False");
        case Variant::Kind::kReal: return AsciiToUtf16(RealToString(*value.real()));
        case Variant::Kind::kString: return *value.string();
        default: return std::nullopt;
    }
}

std::optional<Variant> ConvertToParameter(const Variant& value, ParameterType type) {
    switch (type) {
        case ParameterType::kVariant: return value;
        case ParameterType::kInteger:
            if (const auto converted = ToInteger(value)) return Variant::Integer(*converted);
            return std::nullopt;
        case ParameterType::kReal:
            if (const auto converted = ToReal(value)) return Variant::Real(*converted);
            return std::nullopt;
        case ParameterType::kBoolean:
            if (const auto converted = ToBoolean(value)) return Variant::Boolean(*converted);
            return std::nullopt;
        case ParameterType::kString:
            if (auto converted = ToString(value)) return Variant::String(std::move(*converted));
            return std::nullopt;
        case ParameterType::kObject:
            if (value.object()) return value;
            return std::nullopt;
    }
    return std::nullopt;
}

std::string RealToString(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0.0) value = 0.0;   // no "-0"
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    if (error != std::errc()) return {};
    std::string text(buffer, end);
    for (char& c : text) {
        if (c == 'e') c = 'E';
    }
    return text;
}

}  // namespace korvel::automation
