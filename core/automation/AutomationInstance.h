#pragma once
// The one interface every automation class of the platform implements. An instance
// publishes its members (its type information) and runs one of them when asked; core's
// automation layer does everything else: finding a member by name without regard to
// letter case, choosing among the kinds of member, converting the arguments to the
// declared parameter types and converting the result for the caller.
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "core/automation/Variant.h"

namespace korvel {

enum class MemberKind {
    kPropertyReader,   // reads a property; parameters are its indexes
    kPropertyWriter,   // writes a property; the last parameter is the value
    kObjectWriter,     // writes an object reference into a property
    kMethod,
};

// What a declared parameter receives. kVariant takes the caller's value unchanged.
enum class ParameterType { kInteger, kReal, kBoolean, kString, kObject, kVariant };

struct AutomationMember {
    std::string_view name;                      // ASCII; matched without regard to letter case
    MemberKind kind;
    std::vector<ParameterType> parameters;      // in declaration order
    bool variableArguments = false;             // arguments past the declared ones pass as they are
};

class AutomationInstance {
public:
    virtual ~AutomationInstance() = default;

    // The members this instance answers to. The list stays valid and unchanged for the
    // instance's whole life; one name may appear once per kind.
    virtual std::span<const AutomationMember> Members() const = 0;

    // Runs Members()[memberIndex]. The arguments are already converted to the declared
    // parameter types; there may be fewer than declared when the caller left trailing ones
    // off. A reader or method writes its value into *result, which arrives empty and may
    // stay so. Returns false when the instance raises an error (wrong state, bad value,
    // missing argument); it then leaves *result empty. Must not throw.
    virtual bool Invoke(std::size_t memberIndex, std::span<const Variant> arguments, Variant* result) = 0;
};

}  // namespace korvel
