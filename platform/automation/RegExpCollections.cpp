#include "platform/automation/RegExpCollections.h"

namespace korvel::platform {
namespace {

using Kind = MemberKind;
using Type = ParameterType;

// The element index of an Item read, when it names an element of a collection this size.
std::optional<std::size_t> ItemIndex(std::span<const Variant> arguments, std::size_t size) {
    if (arguments.empty() || !arguments[0].integer()) return std::nullopt;
    const int32_t index = *arguments[0].integer();
    if (index < 0 || static_cast<std::size_t>(index) >= size) return std::nullopt;
    return static_cast<std::size_t>(index);
}

// A read-only collection as the class publishes it: Count, and Item with a 0-based index.
// ItemAt turns element i into the value an Item read gives.
class IndexedCollection : public AutomationInstance {
public:
    std::span<const AutomationMember> Members() const override {
        static const std::vector<AutomationMember> members = {
            {"Count", Kind::kPropertyReader, {}},
            {"Item", Kind::kPropertyReader, {Type::kInteger}},
        };
        return members;
    }

    bool Invoke(std::size_t member, std::span<const Variant> arguments, Variant* result) override {
        if (member == 0) {
            *result = Variant::Integer(static_cast<int32_t>(Size()));
            return true;
        }
        const std::optional<std::size_t> index = ItemIndex(arguments, Size());
        if (!index) return false;
        *result = ItemAt(*index);
        return true;
    }

private:
    virtual std::size_t Size() const = 0;
    virtual Variant ItemAt(std::size_t index) const = 0;
};

class SubMatches final : public IndexedCollection {
public:
    explicit SubMatches(std::vector<std::optional<std::u16string>> groups) : groups_(std::move(groups)) {}

private:
    std::size_t Size() const override { return groups_.size(); }
    // A group that took no part in the match gives the empty value.
    Variant ItemAt(std::size_t index) const override {
        return groups_[index] ? Variant::String(*groups_[index]) : Variant::Empty();
    }

    std::vector<std::optional<std::u16string>> groups_;
};

class Match final : public AutomationInstance {
public:
    explicit Match(RegExpMatch match)
        : value_(std::move(match.value)),
          firstIndex_(match.firstIndex),
          length_(match.length),
          subMatches_(std::make_shared<SubMatches>(std::move(match.groups))) {}

    std::span<const AutomationMember> Members() const override {
        static const std::vector<AutomationMember> members = {
            {"Value", Kind::kPropertyReader, {}},
            {"FirstIndex", Kind::kPropertyReader, {}},
            {"Length", Kind::kPropertyReader, {}},
            {"SubMatches", Kind::kPropertyReader, {}},
        };
        return members;
    }

    bool Invoke(std::size_t member, std::span<const Variant>, Variant* result) override {
        switch (member) {
            case 0: *result = Variant::String(value_); return true;
            case 1: *result = Variant::Integer(firstIndex_); return true;
            case 2: *result = Variant::Integer(length_); return true;
            case 3: *result = Variant::Object(AutomationObject(subMatches_)); return true;
            default: return false;
        }
    }

private:
    std::u16string value_;
    int32_t firstIndex_;
    int32_t length_;
    std::shared_ptr<SubMatches> subMatches_;
};

class MatchCollection final : public IndexedCollection {
public:
    explicit MatchCollection(std::vector<RegExpMatch> matches) {
        matches_.reserve(matches.size());
        for (RegExpMatch& match : matches) matches_.push_back(std::make_shared<Match>(std::move(match)));
    }

private:
    std::size_t Size() const override { return matches_.size(); }
    Variant ItemAt(std::size_t index) const override { return Variant::Object(AutomationObject(matches_[index])); }

    std::vector<std::shared_ptr<Match>> matches_;
};

}  // namespace

std::shared_ptr<AutomationInstance> NewMatchCollection(std::vector<RegExpMatch> matches) {
    return std::make_shared<MatchCollection>(std::move(matches));
}

}  // namespace korvel::platform
