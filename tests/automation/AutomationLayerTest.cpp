// The automation layer against a class of the test's own, which records what reaches it:
// member lookup by kind and order, argument conversion, argument counts, object
// lifetimes and the class registry.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/automation/Automation.h"
#include "tests/automation/TextPrinting.h"
#include "core/automation/AutomationInstance.h"
#include "core/automation/AutomationRegistry.h"

namespace korvel {
namespace {

using Kind = MemberKind;
using Type = ParameterType;

constexpr const char* kRecorderName = "Korvel.Recorder";
constexpr const char* kRecorderId = "{0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D}";

// Records each call: which member ran and the arguments as they arrived.
class Recorder final : public AutomationInstance {
public:
    static inline int alive = 0;
    Recorder() { ++alive; }
    ~Recorder() override { --alive; }

    std::span<const AutomationMember> Members() const override {
        static const std::vector<AutomationMember> members = {
            {"Value", Kind::kMethod, {}},
            {"Value", Kind::kPropertyReader, {}},
            {"Value", Kind::kPropertyWriter, {Type::kInteger}},
            {"Target", Kind::kObjectWriter, {Type::kObject}},
            {"Current", Kind::kPropertyReader, {}},
            {"OnlyMethod", Kind::kMethod, {Type::kVariant}},
            {"OnlyWriter", Kind::kPropertyWriter, {Type::kString}},
            {"TakeInteger", Kind::kMethod, {Type::kInteger}},
            {"TakeReal", Kind::kMethod, {Type::kReal}},
            {"TakeBoolean", Kind::kMethod, {Type::kBoolean}},
            {"TakeString", Kind::kMethod, {Type::kString}},
            {"TakeObject", Kind::kMethod, {Type::kObject}},
            {"TakeTwo", Kind::kMethod, {Type::kInteger, Type::kString}},
            {"TakeAny", Kind::kMethod, {Type::kInteger}, true},
            {"Fails", Kind::kMethod, {}},
            {"GiveBytes", Kind::kMethod, {}},
            {"GiveText", Kind::kMethod, {}},
        };
        return members;
    }

    bool Invoke(std::size_t member, std::span<const Variant> arguments, Variant* result) override {
        const AutomationMember& called = Members()[member];
        lastName = std::string(called.name);
        lastKind = called.kind;
        lastArguments.assign(arguments.begin(), arguments.end());
        if (lastName == "Fails") return false;
        if (lastName == "GiveBytes") *result = Variant::Array({1, 2});
        if (lastName == "GiveText") *result = Variant::String(u"\u4E2D1");
        if (lastName == "Current") *result = Variant::Object(target);
        if (called.kind == Kind::kObjectWriter) target = *arguments[0].object();
        if (lastName == "Value" && called.kind != Kind::kPropertyWriter) *result = Variant::Real(2.5);
        return true;
    }

    std::string lastName;
    std::optional<Kind> lastKind;
    std::vector<Variant> lastArguments;
    AutomationObject target;
};

class AutomationLayer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterAutomationClass(kRecorderName, kRecorderId, [] { return std::make_shared<Recorder>(); });
    }
    void SetUp() override { ASSERT_TRUE(CreateObject(&object, kRecorderName)); }
    Recorder& recorder() { return *static_cast<Recorder*>(object.instance()); }

    AutomationObject object;
};

TEST_F(AutomationLayer, EachAccessPicksTheKindsInItsOrder) {
    struct Case {
        const char* name;
        std::function<void(const AutomationObject&)> access;
        const char* member;
        Kind kind;
    };
    const Variant one = Variant::Integer(1);
    const Case cases[] = {
        {"read prefers the reader over the method", [](auto& o) { GetVariantProperty(o, "Value"); }, "Value", Kind::kPropertyReader},
        {"write prefers the writer", [](auto& o) { SetProperty(o, "Value", 3); }, "Value", Kind::kPropertyWriter},
        {"call prefers the method", [](auto& o) { CallMethod(o, "Value"); }, "Value", Kind::kMethod},
        {"read falls back to a method", [&](auto& o) { GetVariantProperty(o, "OnlyMethod"); }, "OnlyMethod", Kind::kMethod},
        {"write falls back to a method", [&](auto& o) { SetProperty(o, "OnlyMethod", 4); }, "OnlyMethod", Kind::kMethod},
        {"call falls back to a reader", [&](auto& o) { CallMethod(o, "Current"); }, "Current", Kind::kPropertyReader},
        {"call falls back to a writer", [&](auto& o) { CallMethod(o, "OnlyWriter", one); }, "OnlyWriter", Kind::kPropertyWriter},
        {"letter case of the name is ignored", [](auto& o) { SetProperty(o, "vALUE", 3); }, "Value", Kind::kPropertyWriter},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder().lastKind.reset();
        c.access(object);
        EXPECT_EQ(recorder().lastName, c.member);
        EXPECT_EQ(recorder().lastKind, c.kind);
    }
}

TEST_F(AutomationLayer, ObjectWriters) {
    AutomationObject other;
    ASSERT_TRUE(CreateObject(&other, kRecorderName));
    const Variant reference = Variant::Object(other);
    CallMethod(object, "Target", reference);
    EXPECT_EQ(recorder().lastKind, Kind::kObjectWriter);
    EXPECT_TRUE(GetObjectProperty(object, "Current").RefersToSameInstance(other));

    recorder().lastKind.reset();
    EXPECT_FALSE(SetProperty(object, "Target", 5)) << "an integer is no object reference";
    EXPECT_FALSE(recorder().lastKind.has_value());
}

TEST_F(AutomationLayer, TheFirstKindFoundIsUsedEvenWhenItsArgumentsDoNotFit) {
    const Variant one = Variant::Integer(1);
    CallMethod(object, "Value", one);   // the method takes nothing; the writer would take it
    EXPECT_EQ(recorder().lastName, "");
}

TEST_F(AutomationLayer, ArgumentsConvertToTheDeclaredTypes) {
    struct Case {
        const char* name;
        const char* member;
        Variant argument;
        std::optional<Variant::Kind> arrives;   // nothing: the call fails
        std::u16string asString;                // what the argument reads as, as a string
    };
    const Case cases[] = {
        {"numeric string to integer", "TakeInteger", Variant::String(u" 12 "), Variant::Kind::kInteger, u"12"},
        {"real to integer rounds half to even", "TakeInteger", Variant::Real(2.5), Variant::Kind::kInteger, u"2"},
        {"real to integer rounds up past half", "TakeInteger", Variant::Real(3.5), Variant::Kind::kInteger, u"4"},
        {"true to integer", "TakeInteger", Variant::Boolean(true), Variant::Kind::kInteger, u"-1"},
        {"empty to integer", "TakeInteger", Variant::Empty(), Variant::Kind::kInteger, u"0"},
        {"word to integer fails", "TakeInteger", Variant::String(u"twelve"), std::nullopt, u""},
        {"real beyond 32 bits fails", "TakeInteger", Variant::Real(3e9), std::nullopt, u""},
        {"string to real", "TakeReal", Variant::String(u"-1.25"), Variant::Kind::kReal, u"-1.25"},
        {"integer to boolean", "TakeBoolean", Variant::Integer(7), Variant::Kind::kBoolean, u"True"},
        {"word to boolean", "TakeBoolean", Variant::String(u"FALSE"), Variant::Kind::kBoolean, u"False"},
        {"integer to string", "TakeString", Variant::Integer(-40), Variant::Kind::kString, u"-40"},
        {"real to string", "TakeString", Variant::Real(0.1), Variant::Kind::kString, u"0.1"},
        {"bytes to string fail", "TakeString", Variant::Array({1}), std::nullopt, u""},
        {"string to object fails", "TakeObject", Variant::String(u"x"), std::nullopt, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder().lastName.clear();
        CallMethod(object, c.member, c.argument);
        EXPECT_EQ(recorder().lastName.empty(), !c.arrives.has_value());
        if (!c.arrives) continue;
        ASSERT_EQ(recorder().lastArguments.size(), 1u);
        const Variant arrived = recorder().lastArguments[0];
        EXPECT_EQ(arrived.kind(), *c.arrives);
        CallMethod(object, "TakeString", arrived);
        EXPECT_EQ(*recorder().lastArguments[0].string(), c.asString);
    }
}

TEST_F(AutomationLayer, ArgumentCounts) {
    const Variant a = Variant::Integer(1);
    const Variant b = Variant::Array({9});
    const Variant c = Variant::String(u"c");

    CallMethod(object, "TakeTwo", a);
    EXPECT_EQ(recorder().lastArguments.size(), 1u) << "a trailing argument left off is not passed";

    recorder().lastName.clear();
    CallMethod(object, "TakeTwo", a, c, c);
    EXPECT_EQ(recorder().lastName, "") << "one argument too many fails before the call";

    CallMethod(object, "TakeAny", a, b, c);
    ASSERT_EQ(recorder().lastArguments.size(), 3u);
    EXPECT_EQ(recorder().lastArguments[1].kind(), Variant::Kind::kByteArray) << "extra arguments pass unchanged";

    EXPECT_FALSE(SetProperty(object, "Fails", 1)) << "a method without parameters takes no value";
}

TEST_F(AutomationLayer, FailuresGiveEmptyResults) {
    const AutomationObject empty;
    EXPECT_EQ(GetTextProperty(empty, "Value"), Text());
    EXPECT_EQ(GetNumberProperty(empty, "Value"), 0.0);
    EXPECT_TRUE(ObjectIsEmpty(GetObjectProperty(empty, "Target")));
    EXPECT_TRUE(GetVariantProperty(empty, "Value").empty());
    EXPECT_FALSE(SetProperty(empty, "Value", 1));
    EXPECT_EQ(CallTextMethod(empty, "GiveText"), Text());

    EXPECT_FALSE(SetProperty(object, "NoSuchMember", true));
    EXPECT_TRUE(GetVariantProperty(object, "NoSuchMember").empty());
    EXPECT_TRUE(GetVariantProperty(object, "Fails").empty()) << "an error raised by the instance";
    EXPECT_EQ(CallTextMethod(object, "GiveBytes"), Text()) << "bytes cannot become text";
    EXPECT_EQ(GetNumberProperty(object, "GiveText"), 0.0) << "a string that is no number";
    EXPECT_TRUE(ObjectIsEmpty(CallObjectMethod(object, "Value"))) << "a real is no object";
}

TEST_F(AutomationLayer, ResultsConvertToTheOperationsKind) {
    EXPECT_EQ(GetNumberProperty(object, "Value"), 2.5);
    EXPECT_EQ(GetTextProperty(object, "Value"), Text("2.5"));
    EXPECT_EQ(CallTextMethod(object, "GiveText"), Text("\xD6\xD0" "1")) << "UTF-16 comes back as GBK";
    EXPECT_EQ(GetVariantProperty(object, "GiveBytes").byteArray()->bytes, (std::vector<uint8_t>{1, 2}));
}

TEST_F(AutomationLayer, ReferencesAreCounted) {
    ASSERT_EQ(Recorder::alive, 1);
    AutomationObject copy;
    CopyObject(&copy, object);
    EXPECT_TRUE(copy.RefersToSameInstance(object));
    ClearObject(&object);
    EXPECT_TRUE(ObjectIsEmpty(object));
    EXPECT_EQ(Recorder::alive, 1) << "the copy still holds it";
    ClearObject(&copy);
    EXPECT_EQ(Recorder::alive, 0);
    ClearObject(&copy);   // clearing an empty object does nothing
    EXPECT_TRUE(ObjectIsEmpty(copy));
}

TEST_F(AutomationLayer, CreateObjectReplacesOnlyOnSuccess) {
    AutomationInstance* first = object.instance();
    EXPECT_FALSE(CreateObject(&object, "Korvel.NoSuchClass"));
    EXPECT_EQ(object.instance(), first);
    EXPECT_EQ(Recorder::alive, 1);

    ASSERT_TRUE(CreateObject(&object, kRecorderName));
    EXPECT_NE(object.instance(), first);
    EXPECT_EQ(Recorder::alive, 1) << "the old instance was released";
}

TEST(AutomationRegistry, NamesAndClassIdentifiers) {
    RegisterAutomationClass(kRecorderName, kRecorderId, [] { return std::make_shared<Recorder>(); });
    struct Case {
        const char* className;
        bool created;
    };
    const Case cases[] = {
        {"korvel.RECORDER", true},
        {"{0a1b2c3d-4e5f-4a6b-8c7d-9e0f1a2b3c4d}", true},
        {"{0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4E}", false},
        {"{0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D", false},
        {"0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D", false},
        {"Korvel.Recorder ", false},
        {"", false},
        {"vbscript.regexp", true},
        {"ADODB.STREAM", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.className);
        AutomationObject made;
        EXPECT_EQ(CreateObject(&made, c.className), c.created);
        EXPECT_EQ(ObjectIsEmpty(made), !c.created);
    }
}

}  // namespace
}  // namespace korvel
