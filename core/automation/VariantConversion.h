#pragma once
// How a Variant changes kind on its way to a declared parameter or out of a result.
// The rules are fixed and independent of any locale:
// - to an integer: integers as they are; reals and numeric strings rounded to the nearest
//   integer, half to even, failing outside the 32-bit range; true -1, false 0; empty 0.
// - to a real: integers and reals as they are; numeric strings read with "." as decimal
//   point; true -1.0, false 0.0; empty 0.0.
// - to a boolean: numbers true when not zero; strings "True"/"False" in any letter case or
//   a number; empty false.
// - to a string: integers as decimal digits; reals by RealToString; booleans "True" or
//   "False"; empty "".
// Byte arrays and objects change into nothing else; any conversion not listed fails.
#include <cstdint>
#include <optional>
#include <string>

#include "core/automation/AutomationInstance.h"
#include "core/automation/Variant.h"

namespace korvel::automation {

std::optional<int32_t> ToInteger(const Variant& value);
std::optional<double> ToReal(const Variant& value);
std::optional<bool> ToBoolean(const Variant& value);
std::optional<std::u16string> ToString(const Variant& value);

// The value as the declared parameter type wants it; nothing when it cannot convert.
std::optional<Variant> ConvertToParameter(const Variant& value, ParameterType type);

// A real as text: at most 15 significant digits (the %.15G rule, without the locale),
// "." as decimal point, no trailing zeros; the exponent form "1E+20" or "1E-05" when the
// exponent is below -4 or at least 15; "NaN", "Infinity" and "-Infinity" for the
// values that are not finite.
std::string RealToString(double value);

}  // namespace korvel::automation
