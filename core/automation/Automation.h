#pragma once
// Late-bound access to automation instances: create one by class name, then read and
// write its properties and call its methods by member name, passing and receiving plain
// values. Nothing here throws and nothing is reported to the user: every failure yields
// the empty value of the operation's result (the empty text, 0.0, an empty object, an
// empty variant) or false.
//
// Texts are GBK; they cross to and from the instances' UTF-16 strings through code page
// 936, a character GBK cannot hold coming back as "?".
#include <cstdint>
#include <optional>
#include <span>
#include <variant>

#include "core/Bytes.h"
#include "core/Text.h"
#include "core/automation/AutomationObject.h"
#include "core/automation/Variant.h"

namespace korvel {

// ---- Objects ----

// Makes a new instance of the class named (class name, letter case ignored, or braced
// class identifier) and stores it in *object, dropping the reference held before. On
// failure (null object, unknown class, creation failed) *object keeps what it held.
bool CreateObject(AutomationObject* object, const Text& className);

// Drops the reference and leaves the object empty; an empty or null object is left alone.
void ClearObject(AutomationObject* object);

bool ObjectIsEmpty(const AutomationObject& object);

// *target refers to source's instance (or becomes empty with it), dropping its own first.
void CopyObject(AutomationObject* target, const AutomationObject& source);

// ---- Members ----
// A member is looked up by name without regard to letter case. A read tries a property
// reader, then a method; a write a property writer, then an object writer, then a method;
// a call a method, then a property reader, a property writer, an object writer. The
// arguments convert to the declared parameter types; more arguments than declared fail
// unless the member takes a variable number.

// The index of an indexed property read, counted as the instance counts (from 0 for the
// regular-expression collections). A real index rounds to the nearest integer, half to even.
using PropertyIndex = std::variant<int32_t, double>;

Text GetTextProperty(const AutomationObject& object, const Text& member);
double GetNumberProperty(const AutomationObject& object, const Text& member);
AutomationObject GetObjectProperty(const AutomationObject& object, const Text& member,
                                   std::optional<PropertyIndex> index = std::nullopt);
Variant GetVariantProperty(const AutomationObject& object, const Text& member,
                           std::optional<PropertyIndex> index = std::nullopt);

// True exactly when the write succeeded.
bool SetProperty(const AutomationObject& object, const Text& member, int32_t value);
bool SetProperty(const AutomationObject& object, const Text& member, bool value);
bool SetProperty(const AutomationObject& object, const Text& member, const Text& value);
// A string literal is a Text value, not a boolean.
inline bool SetProperty(const AutomationObject& object, const Text& member, const char* value) {
    return SetProperty(object, member, Text(value));
}

namespace detail {
using ArgumentList = std::span<const Variant* const>;
bool CallAnyMethod(const AutomationObject& object, const Text& member, ArgumentList arguments, Variant* result);
Text CallTextMethod(const AutomationObject& object, const Text& member, ArgumentList arguments);
AutomationObject CallObjectMethod(const AutomationObject& object, const Text& member, ArgumentList arguments);
}  // namespace detail

// Calls the member with the variants as its arguments (possibly none), in order.
template <typename... Arguments>
void CallMethod(const AutomationObject& object, const Text& member, const Arguments&... arguments) {
    const Variant* list[] = {&arguments..., nullptr};
    detail::CallAnyMethod(object, member, detail::ArgumentList(list, sizeof...(Arguments)), nullptr);
}

// The call's result as text; the empty text when it fails or cannot become a string.
template <typename... Arguments>
Text CallTextMethod(const AutomationObject& object, const Text& member, const Arguments&... arguments) {
    const Variant* list[] = {&arguments..., nullptr};
    return detail::CallTextMethod(object, member, detail::ArgumentList(list, sizeof...(Arguments)));
}

// The call's result as a new reference; empty when it fails or is not an object.
template <typename... Arguments>
AutomationObject CallObjectMethod(const AutomationObject& object, const Text& member, const Arguments&... arguments) {
    const Variant* list[] = {&arguments..., nullptr};
    return detail::CallObjectMethod(object, member, detail::ArgumentList(list, sizeof...(Arguments)));
}

// ---- Variants ----

// Clears *variant, then stores the text as a UTF-16 string. False for a null variant.
bool AssignVariant(Variant* variant, const Text& value);
// Clears *variant, then stores the bytes as a byte array with lower bound 1 (no bytes:
// an array of 0 elements). False for a null variant.
bool AssignVariant(Variant* variant, const Bytes& value);

// Releases what the variant holds and leaves it empty.
void ClearVariant(Variant* variant);

// *target becomes an independent copy of source.
void CopyVariant(Variant* target, const Variant& source);

// A string as GBK text; empty: ""; boolean: "-1" or "0"; integer: its decimal digits;
// real: up to 15 significant digits with "." as decimal point, exponent written "E+nn" or
// "E-nn" where plain digits would not fit (see RealToString); byte array or object: "".
Text VariantToText(const Variant& variant);

}  // namespace korvel
