// RegexObject over the real "VBScript.RegExp" class: searches, matches, sub-matches,
// byte positions in GBK subjects, replacement and the COM start-up it holds.
#include <gtest/gtest.h>

#include <string>

#include "core/CodePage.h"
#include "http/RegexObject.h"
#include "platform/Ole32.h"
#include "tests/automation/TextPrinting.h"

namespace korvel {
namespace {

struct SearchCase {
    const char* name;
    Text pattern;
    Text subject;
    SearchOptions options;
    bool searched;
    int32_t count;
    std::string firstMatch;
};

TEST(RegexObject, Search) {
    const SearchCase cases[] = {
        {"no match is still a search", "a", "xyz", {}, true, 0, ""},
        {"invalid pattern", "(", "(", {}, false, 0, ""},
        {"letter case ignored by default", "A", "a", {}, true, 1, "a"},
        {"case sensitive", "A", "a", {.caseSensitive = true}, true, 0, ""},
        {"global by default", "a", "aXa", {}, true, 2, "a"},
        {"first match only", "a", "aXa", {.global = false}, true, 1, "a"},
        {"multi-line by default", "^b", "a\r\nb", {}, true, 1, "b"},
        {"single line", "^b", "a\r\nb", {.multiline = false}, true, 0, ""},
        {"quote marker", "=#引号(\\w+)"_gbk, "x=\"y\"", {.quoteMarker = true}, true, 1, "=\"y"},
        {"quote marker left as written", "#引号"_gbk, "\"#引号"_gbk, {}, true, 1, "#引号"_gbk.str()},
        {"Chinese pattern", "中+"_gbk, "a中中b"_gbk, {}, true, 1, "中中"_gbk.str()},
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.name);
        RegexObject regex;
        EXPECT_EQ(regex.Search(c.pattern, c.subject, c.options), c.searched);
        EXPECT_EQ(regex.MatchCount(), c.count);
        EXPECT_EQ(regex.MatchText(1).str(), c.firstMatch);
    }
}

TEST(RegexObject, CharsetDeclarationInAnUpperCaseTag) {
    RegexObject regex;
    ASSERT_TRUE(regex.Search("<meta.+?charset=[^\\w]?([-\\w]+)", "<META content=text/html;charset=GB2312>"));
    EXPECT_EQ(regex.MatchCount(), 1);
    EXPECT_EQ(regex.SubMatchText(1, 1), Text("GB2312"));
    EXPECT_EQ(regex.SubMatchCount(), 1);
}

TEST(RegexObject, PatternAfterTheQuoteMarker) {
    RegexObject regex;
    EXPECT_EQ(regex.GetPattern(), Text()) << "before any search";
    regex.Search("a#引号"_gbk, "a\"", {.quoteMarker = true});
    EXPECT_EQ(regex.GetPattern(), Text("a\""));
    regex.Search("a#引号"_gbk, "a\"");
    EXPECT_EQ(regex.GetPattern(), "a#引号"_gbk);
}

TEST(RegexObject, BytePositions) {
    struct Case {
        const char* name;
        Text pattern;
        Text subject;
        int32_t match;
        int32_t subMatch;   // 0: the whole match
        std::string text;
        int32_t position;
    };
    const Case cases[] = {
        {"ASCII", "ab", "aab", 1, 0, "ab", 1},
        {"after a two-byte character", "ab", Text("\xD6\xD0" "ab"), 1, 0, "ab", 2},
        {"second match after Chinese", "b", "中b文b"_gbk, 2, 0, "b", 5},
        {"letter case ignored in the search", "AB", Text("\xD6\xD0" "ab"), 1, 0, "ab", 2},
        {"sub-match", "a(b)", "中ab"_gbk, 1, 1, "b", 3},
        {"match past the end", "a", "xa", 2, 0, "", 0},
        {"sub-match past the groups", "a(b)", "ab", 1, 2, "", 0},
        {"no subject", "a", "", 1, 0, "", -2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RegexObject regex;
        regex.Search(c.pattern, c.subject);
        int32_t position = 99;
        const Text text = c.subMatch == 0 ? regex.MatchText(c.match, &position)
                                          : regex.SubMatchText(c.match, c.subMatch, &position);
        EXPECT_EQ(text.str(), c.text);
        EXPECT_EQ(position, c.position);
    }
}

TEST(RegexObject, SubMatches) {
    RegexObject regex;
    EXPECT_EQ(regex.SubMatchCount(), 0) << "before any search";
    ASSERT_TRUE(regex.Search("a(b)(c)|(x)", "abc"));
    EXPECT_EQ(regex.SubMatchCount(), 2 + 1);
    EXPECT_EQ(regex.SubMatchText(1, 2), Text("c"));
    EXPECT_EQ(regex.SubMatchText(1, 3), Text()) << "a group that took no part";
    EXPECT_EQ(regex.SubMatchText(1, 4), Text()) << "beyond the groups";
    ASSERT_TRUE(regex.Search("a(b)", "x"));
    EXPECT_EQ(regex.SubMatchCount(), 0) << "no first match";
}

TEST(RegexObject, ReplaceMatches) {
    RegexObject regex;
    EXPECT_EQ(regex.ReplaceMatches("x"), Text()) << "before any search";
    ASSERT_TRUE(regex.Search("(a)n", "bananA"));
    EXPECT_EQ(regex.ReplaceMatches("[$1]"), Text("b[a][a]A"));
    ASSERT_TRUE(regex.Search("a", "中a文a"_gbk, {.global = false}));
    EXPECT_EQ(regex.ReplaceMatches("字"_gbk), "中字文a"_gbk);
    regex.Search("(", "a");
    EXPECT_EQ(regex.ReplaceMatches("x"), Text()) << "after a failed search";
}

TEST(RegexObject, CopySharesMatchesAndKeepsComBalanced) {
    const int before = platform::CurrentComInitCount();
    {
        RegexObject original;
        EXPECT_EQ(platform::CurrentComInitCount(), before + 1);
        ASSERT_TRUE(original.Search("b+", "abbc"));
        {
            const RegexObject copy(original);
            EXPECT_EQ(platform::CurrentComInitCount(), before + 2);
            EXPECT_EQ(copy.MatchText(1), Text("bb"));
            EXPECT_EQ(copy.ReplaceMatches("-"), Text("a-c"));
        }
        EXPECT_EQ(platform::CurrentComInitCount(), before + 1);
        EXPECT_EQ(original.MatchText(1), Text("bb")) << "the copy's end leaves the original whole";
    }
    EXPECT_EQ(platform::CurrentComInitCount(), before);
}

}  // namespace
}  // namespace korvel
