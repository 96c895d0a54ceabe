// "VBScript.RegExp" as its callers use it: through the automation layer, by member name.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/CodePage.h"
#include "core/Numbers.h"
#include "core/TextOperations.h"
#include "core/automation/Automation.h"
#include "tests/automation/TextPrinting.h"

namespace korvel {
namespace {

struct Options {
    bool ignoreCase = false;
    bool global = true;
    bool multiline = false;
};

AutomationObject NewRegExp(const Text& pattern, Options options = {}) {
    AutomationObject regexp;
    EXPECT_TRUE(CreateObject(&regexp, "VBScript.RegExp"));
    SetProperty(regexp, "IgnoreCase", options.ignoreCase);
    SetProperty(regexp, "Global", options.global);
    SetProperty(regexp, "Multiline", options.multiline);
    SetProperty(regexp, "Pattern", pattern);
    return regexp;
}

Variant Subject(std::u16string text) { return Variant::String(std::move(text)); }
Variant Subject(std::string_view ascii) { return Variant::String(std::u16string(ascii.begin(), ascii.end())); }

AutomationObject Execute(const AutomationObject& regexp, const Variant& subject) {
    return CallObjectMethod(regexp, "Execute", subject);
}

// Every match's value, as GBK bytes.
std::vector<std::string> Values(const AutomationObject& matches) {
    std::vector<std::string> values;
    const int32_t count = TruncateToInt(GetNumberProperty(matches, "Count"));
    for (int32_t i = 0; i < count; ++i) {
        values.push_back(VariantToText(GetVariantProperty(GetObjectProperty(matches, "Item", i), "Value")).str());
    }
    return values;
}

std::vector<std::string> MatchValues(const Text& pattern, std::u16string subject, Options options = {}) {
    return Values(Execute(NewRegExp(pattern, options), Subject(std::move(subject))));
}

TEST(RegExpClass, MatchesAndSubMatches) {
    const AutomationObject matches = Execute(NewRegExp("(\\w+)=(\\d+)?"), Subject(u"\u4E2Dab=12 c="));
    ASSERT_EQ(GetNumberProperty(matches, "Count"), 2.0);

    const AutomationObject first = GetObjectProperty(matches, "Item", 0);
    EXPECT_EQ(GetTextProperty(first, "Value"), Text("ab=12"));
    EXPECT_EQ(GetNumberProperty(first, "FirstIndex"), 1.0) << "UTF-16 units: the Chinese character counts one";
    EXPECT_EQ(GetNumberProperty(first, "Length"), 5.0);
    const AutomationObject firstSubs = GetObjectProperty(first, "SubMatches");
    EXPECT_EQ(GetNumberProperty(firstSubs, "Count"), 2.0);
    EXPECT_EQ(VariantToText(GetVariantProperty(firstSubs, "Item", 0)), Text("ab"));
    EXPECT_EQ(VariantToText(GetVariantProperty(firstSubs, "Item", 1.0)), Text("12")) << "a real index";

    const AutomationObject second = GetObjectProperty(matches, "Item", 1);
    EXPECT_EQ(GetNumberProperty(second, "FirstIndex"), 7.0);
    const AutomationObject secondSubs = GetObjectProperty(second, "SubMatches");
    EXPECT_TRUE(GetVariantProperty(secondSubs, "Item", 1).empty()) << "a group that took no part";
    EXPECT_TRUE(GetVariantProperty(secondSubs, "Item", 2).empty()) << "past the groups";
}

TEST(RegExpClass, ItemPastTheEndIsEmpty) {
    const AutomationObject matches = Execute(NewRegExp("a"), Subject(u"a"));
    for (int32_t index : {1, -1}) {
        SCOPED_TRACE(index);
        const AutomationObject match = GetObjectProperty(matches, "Item", index);
        EXPECT_TRUE(ObjectIsEmpty(match));
        const Variant value = GetVariantProperty(match, "Value");
        EXPECT_TRUE(value.empty());
        EXPECT_EQ(VariantToText(value), Text());
    }
}

TEST(RegExpClass, PositionsCountUtf16Units) {
    const AutomationObject matches = Execute(NewRegExp("ab"), Subject(u"\U0001F600\u4E2Dab"));
    const AutomationObject match = GetObjectProperty(matches, "Item", 0);
    EXPECT_EQ(GetNumberProperty(match, "FirstIndex"), 3.0) << "two units for the emoji, one for the character";
    EXPECT_EQ(GetNumberProperty(match, "Length"), 2.0);
}

TEST(RegExpClass, CharsetDeclarations) {
    const Text pattern = "<meta.+?charset=[^\\w]?([-\\w]+)";
    struct Case {
        const char* name;
        std::u16string page;
        const char* charset;   // sub-match 1 of match 1; "" when there is no match
    };
    const Case cases[] = {
        {"upper-case tag, no quotes", u"<META content=text/html;charset=GB2312>", "GB2312"},
        {"quoted", u"<meta charset=\"utf-8\">", "utf-8"},
        {"in a content attribute", u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\" />", "big5"},
        {"stops at non-ASCII letters", u"<meta charset=gbk\u4E2D\u6587>", "gbk"},
        {"after Chinese text", u"\u6807\u9898<meta charset='x_y-1'>", "x_y-1"},
        {"no declaration", u"<html><head></head>", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AutomationObject matches = Execute(NewRegExp(pattern, {.ignoreCase = true, .multiline = true}), Subject(c.page));
        ASSERT_FALSE(ObjectIsEmpty(matches));
        const AutomationObject subs = GetObjectProperty(GetObjectProperty(matches, "Item", 0), "SubMatches");
        EXPECT_EQ(VariantToText(GetVariantProperty(subs, "Item", 0)), Text(c.charset));
    }
}

// The dialect: ASCII classes, literal punctuation in sets, literal braces, and letters
// escaped without a meaning of their own.
TEST(RegExpClass, PatternDialect) {
    struct Case {
        const char* name;
        const char* pattern;
        std::u16string subject;
        std::vector<std::string> values;
    };
    const Case cases[] = {
        {"word class is ASCII", "\\w+", u"ab\u4E2D\u6587c_1", {"ab", "c_1"}},
        {"non-word class", "\\W", u"a\u4E2D-", {"\xD6\xD0", "-"}},
        {"digit class is ASCII", "\\d+", u"1\uFF12" u"3", {"1", "3"}},
        {"space class", "\\s", u"a\u3000b\tc", {"\t"}},
        {"word boundary", "\\bcat\\b", u"cat concat cat_ \u4E2D" u"cat", {"cat", "cat"}},
        {"not a word boundary", "\\Bat", u"at cat", {"at"}},
        {"negated word in a set", "[^\\w]", u"a-b", {"-"}},
        {"negated word united in a set", "[a\\W]", u"ab-", {"a", "-"}},
        {"bracket inside a set", "[[]", u"a[b", {"["}},
        {"set punctuation is literal", "[&:{]", u"x&:{y", {"&", ":", "{"}},
        {"empty set matches nothing", "[]a", u"a[]a", {}},
        {"negated empty set matches anything", "[^]", u"a\nb", {"a", "\n", "b"}},
        {"brace without a count", "a{", u"a{", {"a{"}},
        {"brace with a count", "x{2}", u"xxx", {"xx"}},
        {"unfinished count", "a{2", u"a{2", {"a{2"}},
        {"escaped letter without a meaning", "\\A\\z", u"Az", {"Az"}},
        {"vertical tab", "\\v", u"a\vb", {"\v"}},
        {"hex escape", "\\x41\\u0042", u"AB", {"AB"}},
        {"short hex escape is literal", "\\x4", u"x4", {"x4"}},
        {"dot stops at a line break", "a.", u"a\nab", {"ab"}},
        {"empty matches advance", "x*", u"ab", {"", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MatchValues(c.pattern, c.subject), c.values);
    }
}

TEST(RegExpClass, Options) {
    struct Case {
        const char* name;
        const char* pattern;
        std::u16string subject;
        Options options;
        std::vector<std::string> values;
    };
    const Case cases[] = {
        {"case sensitive", "A", u"a", {}, {}},
        {"ignoring case", "A", u"a", {.ignoreCase = true}, {"a"}},
        {"first match only", "a", u"aaa", {.global = false}, {"a"}},
        {"every match", "a", u"aaa", {}, {"a", "a", "a"}},
        {"caret at the start only", "^b", u"a\nb", {}, {}},
        {"caret at line starts", "^b", u"a\nb", {.multiline = true}, {"b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MatchValues(c.pattern, c.subject, c.options), c.values);
    }
}

TEST(RegExpClass, InvalidPatternFailsEveryRun) {
    const AutomationObject regexp = NewRegExp("(");
    const Variant subject = Subject(u"(");
    const Variant replacement = Subject(u"x");
    EXPECT_TRUE(ObjectIsEmpty(Execute(regexp, subject)));
    EXPECT_EQ(CallTextMethod(regexp, "Test", subject), Text());
    EXPECT_EQ(CallTextMethod(regexp, "Replace", subject, replacement), Text());
    EXPECT_EQ(GetTextProperty(regexp, "Pattern"), Text("(")) << "the pattern is kept as written";
}

TEST(RegExpClass, ASearchThatWouldNeverEndFails) {
    // A repeated anchor sends the engine round for ever; the run fails at the step limit
    // instead of freezing the window. Found by the fuzz target.
    const AutomationObject regexp = NewRegExp("^^+?$", {.multiline = true});
    EXPECT_TRUE(ObjectIsEmpty(Execute(regexp, Subject(u"och#"))));
}

TEST(RegExpClass, TestAndProperties) {
    const AutomationObject regexp = NewRegExp("b", {.ignoreCase = true});
    EXPECT_EQ(VariantToText(GetVariantProperty(regexp, "IgnoreCase")), Text("-1"));
    EXPECT_EQ(VariantToText(GetVariantProperty(regexp, "Multiline")), Text("0"));
    EXPECT_FALSE(SetProperty(regexp, "Singleline", true)) << "the class has no Singleline";
    EXPECT_TRUE(GetVariantProperty(regexp, "Test").empty()) << "Test needs its subject";
    EXPECT_EQ(CallTextMethod(regexp, "Test", Subject(u"ABC")), Text("True"));
    EXPECT_EQ(CallTextMethod(regexp, "Test", Subject(u"AC")), Text("False"));
}

TEST(RegExpClass, ReplaceForms) {
    struct Case {
        const char* name;
        const char* pattern;
        const char* replacement;
        bool global;
        const char* expected;
    };
    const char* twelve = "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)";
    const Case cases[] = {
        {"group", "(a)(b)?", "[$1]", true, "x[a]y [a]"},
        {"group that took no part", "(a)(b)?", "[$2]", true, "x[b]y []"},
        {"whole match", "(a)(b)?", "$&$&", true, "xababy aa"},
        {"before the match", "(a)(b)?", "$`", true, "xxy xaby "},
        {"after the match", "(a)(b)?", "$'", true, "xy ay "},
        {"dollar", "(a)(b)?", "$$", true, "x$y $"},
        {"group beyond the pattern", "(a)(b)?", "$3", true, "x$3y $3"},
        {"group zero", "(a)(b)?", "$0", true, "x$0y $0"},
        {"two digits beyond, one within", "(a)(b)?", "$10", true, "xa0y a0"},
        {"two digits with a leading zero", "(a)(b)?", "$01", true, "xay a"},
        {"lone dollar at the end", "(a)(b)?", "$", true, "x$y $"},
        {"dollar before a letter", "(a)(b)?", "$x", true, "x$xy $x"},
        {"first match only", "(a)(b)?", "[$1]", false, "x[a]y a"},
        {"twelfth group", twelve, "$12$11", true, "xlky a"},
        {"no match", "q", "z", true, "xaby a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::u16string subject = std::string(c.pattern) == twelve ? u"xabcdefghijkly a" : u"xaby a";
        const AutomationObject regexp = NewRegExp(c.pattern, {.global = c.global});
        EXPECT_EQ(CallTextMethod(regexp, "Replace", Subject(subject), Subject(std::string_view(c.replacement))),
                  Text(c.expected));
    }
}

}  // namespace
}  // namespace korvel
