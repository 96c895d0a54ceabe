// Reading, writing and calling members by name. The lookup, the argument conversion and
// the result conversion happen here, the same way for every class; instances only run
// the member they are given.
#include <array>
#include <exception>
#include <optional>
#include <vector>

#include "core/CodePage.h"
#include "core/automation/Automation.h"
#include "core/automation/AutomationInstance.h"
#include "core/automation/VariantConversion.h"

namespace korvel {
namespace {

using detail::ArgumentList;

constexpr std::array kReadOrder = {MemberKind::kPropertyReader, MemberKind::kMethod};
constexpr std::array kWriteOrder = {MemberKind::kPropertyWriter, MemberKind::kObjectWriter, MemberKind::kMethod};
constexpr std::array kCallOrder = {MemberKind::kMethod, MemberKind::kPropertyReader, MemberKind::kPropertyWriter,
                                   MemberKind::kObjectWriter};

// Member names are ASCII, so folding ASCII letters is all "without regard to case" needs.
bool SameName(std::string_view published, const Text& asked) {
    if (published.size() != static_cast<std::size_t>(asked.size())) return false;
    for (std::size_t i = 0; i < published.size(); ++i) {
        unsigned char a = static_cast<unsigned char>(published[i]);
        unsigned char b = asked.at(static_cast<int32_t>(i));
        if (a >= 'A' && a <= 'Z') a = static_cast<unsigned char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z') b = static_cast<unsigned char>(b - 'A' + 'a');
        if (a != b) return false;
    }
    return true;
}

// The member of the first kind in order that has one under this name.
template <std::size_t N>
std::optional<std::size_t> FindMember(std::span<const AutomationMember> members, const Text& name,
                                      const std::array<MemberKind, N>& order) {
    for (MemberKind kind : order) {
        for (std::size_t i = 0; i < members.size(); ++i) {
            if (members[i].kind == kind && SameName(members[i].name, name)) return i;
        }
    }
    return std::nullopt;
}

// The arguments as the member declares them; nothing when there are too many or one
// does not convert. Trailing arguments the caller left off stay off.
std::optional<std::vector<Variant>> ConvertArguments(const AutomationMember& member, ArgumentList arguments) {
    if (arguments.size() > member.parameters.size() && !member.variableArguments) return std::nullopt;
    std::vector<Variant> converted;
    converted.reserve(arguments.size());
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i >= member.parameters.size()) {
            converted.push_back(*arguments[i]);
            continue;
        }
        std::optional<Variant> argument = automation::ConvertToParameter(*arguments[i], member.parameters[i]);
        if (!argument) return std::nullopt;
        converted.push_back(std::move(*argument));
    }
    return converted;
}

// Finds the member by the kinds in order and runs it. *result is left empty on failure.
template <std::size_t N>
bool Access(const AutomationObject& object, const Text& name, const std::array<MemberKind, N>& order,
            ArgumentList arguments, Variant* result) {
    Variant scratch;
    Variant& out = result ? *result : scratch;
    out = Variant::Empty();
    // Our own reference keeps the instance alive even if the call drops the caller's.
    const AutomationObject held = object;
    AutomationInstance* instance = held.instance();
    if (!instance) return false;
    const std::span<const AutomationMember> members = instance->Members();
    const std::optional<std::size_t> index = FindMember(members, name, order);
    if (!index) return false;
    std::optional<std::vector<Variant>> converted = ConvertArguments(members[*index], arguments);
    if (!converted) return false;
    bool invoked = false;
    try {
        invoked = instance->Invoke(*index, *converted, &out);
    } catch (const std::exception&) {
        invoked = false;   // an instance that breaks its promise not to throw has failed
    }
    if (!invoked) out = Variant::Empty();
    return invoked;
}

bool ReadProperty(const AutomationObject& object, const Text& name, const std::optional<PropertyIndex>& index,
                  Variant* result) {
    if (!index) return Access(object, name, kReadOrder, {}, result);
    const Variant argument = std::holds_alternative<int32_t>(*index) ? Variant::Integer(std::get<int32_t>(*index))
                                                                       : Variant::Real(std::get<double>(*index));
    const Variant* list[] = {&argument};
    return Access(object, name, kReadOrder, list, result);
}

bool WriteProperty(const AutomationObject& object, const Text& name, const Variant& value) {
    const Variant* list[] = {&value};
    return Access(object, name, kWriteOrder, list, nullptr);
}

Text ResultAsText(const Variant& result) {
    const std::optional<std::u16string> text = automation::ToString(result);
    return text ? Utf16ToGbk(*text) : Text();
}

AutomationObject ResultAsObject(const Variant& result) {
    const AutomationObject* object = result.object();
    return object ? *object : AutomationObject();
}

}  // namespace

Text GetTextProperty(const AutomationObject& object, const Text& member) {
    Variant result;
    if (!ReadProperty(object, member, std::nullopt, &result)) return {};
    return ResultAsText(result);
}

double GetNumberProperty(const AutomationObject& object, const Text& member) {
    Variant result;
    if (!ReadProperty(object, member, std::nullopt, &result)) return 0.0;
    return automation::ToReal(result).value_or(0.0);
}

AutomationObject GetObjectProperty(const AutomationObject& object, const Text& member,
                                   std::optional<PropertyIndex> index) {
    Variant result;
    if (!ReadProperty(object, member, index, &result)) return {};
    return ResultAsObject(result);
}

Variant GetVariantProperty(const AutomationObject& object, const Text& member, std::optional<PropertyIndex> index) {
    Variant result;
    if (!ReadProperty(object, member, index, &result)) return Variant::Empty();
    return result;
}

bool SetProperty(const AutomationObject& object, const Text& member, int32_t value) {
    return WriteProperty(object, member, Variant::Integer(value));
}

bool SetProperty(const AutomationObject& object, const Text& member, bool value) {
    return WriteProperty(object, member, Variant::Boolean(value));
}

bool SetProperty(const AutomationObject& object, const Text& member, const Text& value) {
    return WriteProperty(object, member, Variant::String(GbkToUtf16(value)));
}

namespace detail {

bool CallAnyMethod(const AutomationObject& object, const Text& member, ArgumentList arguments, Variant* result) {
    return Access(object, member, kCallOrder, arguments, result);
}

Text CallTextMethod(const AutomationObject& object, const Text& member, ArgumentList arguments) {
    Variant result;
    if (!Access(object, member, kCallOrder, arguments, &result)) return {};
    return ResultAsText(result);
}

AutomationObject CallObjectMethod(const AutomationObject& object, const Text& member, ArgumentList arguments) {
    Variant result;
    if (!Access(object, member, kCallOrder, arguments, &result)) return {};
    return ResultAsObject(result);
}

}  // namespace detail
}  // namespace korvel
