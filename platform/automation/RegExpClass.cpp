#include "platform/automation/RegExpClass.h"

#include "platform/automation/IcuRegex.h"
#include "platform/automation/RegExpCollections.h"
#include "platform/automation/Replacement.h"

namespace korvel::platform {
namespace {

using Kind = MemberKind;
using Type = ParameterType;

// Indexes into the member table below, in its order.
enum Member : std::size_t {
    kGetPattern, kSetPattern, kGetIgnoreCase, kSetIgnoreCase, kGetGlobal, kSetGlobal,
    kGetMultiline, kSetMultiline, kExecute, kTest, kReplace,
};

class RegExp final : public AutomationInstance {
public:
    std::span<const AutomationMember> Members() const override {
        static const std::vector<AutomationMember> members = {
            {"Pattern", Kind::kPropertyReader, {}},
            {"Pattern", Kind::kPropertyWriter, {Type::kString}},
            {"IgnoreCase", Kind::kPropertyReader, {}},
            {"IgnoreCase", Kind::kPropertyWriter, {Type::kBoolean}},
            {"Global", Kind::kPropertyReader, {}},
            {"Global", Kind::kPropertyWriter, {Type::kBoolean}},
            {"Multiline", Kind::kPropertyReader, {}},
            {"Multiline", Kind::kPropertyWriter, {Type::kBoolean}},
            {"Execute", Kind::kMethod, {Type::kString}},
            {"Test", Kind::kMethod, {Type::kString}},
            {"Replace", Kind::kMethod, {Type::kString, Type::kString}},
        };
        return members;
    }

    bool Invoke(std::size_t member, std::span<const Variant> arguments, Variant* result) override {
        switch (member) {
            case kGetPattern: *result = Variant::String(pattern_); return true;
            case kGetIgnoreCase: *result = Variant::Boolean(options_.ignoreCase); return true;
            case kGetGlobal: *result = Variant::Boolean(options_.global); return true;
            case kGetMultiline: *result = Variant::Boolean(options_.multiline); return true;
            case kSetPattern: return Store(StringArgument(arguments, 0), &pattern_);
            case kSetIgnoreCase: return Store(BooleanArgument(arguments, 0), &options_.ignoreCase);
            case kSetGlobal: return Store(BooleanArgument(arguments, 0), &options_.global);
            case kSetMultiline: return Store(BooleanArgument(arguments, 0), &options_.multiline);
            case kExecute: return Execute(arguments, result);
            case kTest: return Test(arguments, result);
            case kReplace: return Replace(arguments, result);
            default: return false;
        }
    }

private:
    // The layer has converted each argument to its declared type; a missing one fails.
    static const std::u16string* StringArgument(std::span<const Variant> arguments, std::size_t i) {
        return i < arguments.size() ? arguments[i].string() : nullptr;
    }
    static const bool* BooleanArgument(std::span<const Variant> arguments, std::size_t i) {
        return i < arguments.size() ? arguments[i].boolean() : nullptr;
    }
    template <typename T>
    static bool Store(const T* value, T* field) {
        if (!value) return false;
        *field = *value;
        return true;
    }

    std::optional<std::vector<RegExpMatch>> Run(const std::u16string& subject) const {
        return FindMatches(pattern_, options_, subject);
    }

    bool Execute(std::span<const Variant> arguments, Variant* result) const {
        const std::u16string* subject = StringArgument(arguments, 0);
        if (!subject) return false;
        std::optional<std::vector<RegExpMatch>> matches = Run(*subject);
        if (!matches) return false;
        *result = Variant::Object(AutomationObject(NewMatchCollection(std::move(*matches))));
        return true;
    }

    bool Test(std::span<const Variant> arguments, Variant* result) const {
        const std::u16string* subject = StringArgument(arguments, 0);
        if (!subject) return false;
        RegExpOptions firstOnly = options_;
        firstOnly.global = false;
        const std::optional<std::vector<RegExpMatch>> matches = FindMatches(pattern_, firstOnly, *subject);
        if (!matches) return false;
        *result = Variant::Boolean(!matches->empty());
        return true;
    }

    bool Replace(std::span<const Variant> arguments, Variant* result) const {
        const std::u16string* subject = StringArgument(arguments, 0);
        const std::u16string* replacement = StringArgument(arguments, 1);
        if (!subject || !replacement) return false;
        const std::optional<std::vector<RegExpMatch>> matches = Run(*subject);
        if (!matches) return false;
        *result = Variant::String(ReplaceMatches(*subject, *matches, *replacement));
        return true;
    }

    std::u16string pattern_;
    RegExpOptions options_;
};

}  // namespace

std::shared_ptr<AutomationInstance> NewRegExp() { return std::make_shared<RegExp>(); }

}  // namespace korvel::platform
