// Which row keys may name a saved picture: only plain file names, read as GBK characters.
#include <gtest/gtest.h>

#include "app/ExportFileName.h"
#include "core/CodePage.h"
#include "core/TextOperations.h"

namespace korvel::test {
namespace {

TEST(ExportFileName, OnlyAPlainFileNameInGbkCharactersPasses) {
    struct Case {
        const char* name;
        Text key;
        bool plain;
    };
    const Case cases[] = {
        {"a roster row", "1-张伟-35020180001"_gbk, true},
        {"dots inside a key", Text("3-..-X3"), true},
        {"blanks and other punctuation", Text(" 1-a b.c,d;e'f[g]-#%& "), true},
        {"trail bytes 0x5C and 0x7C", "淺東"_gbk, true},
        {"a lead byte last", Text("1-A-\x81"), true},
        {".", Text("."), false},
        {"..", Text(".."), false},
        {"slash", Text("1-a/b-X"), false},
        {"backslash", Text("1-a\\b-X"), false},
        {"colon", Text("C:x"), false},
        {"asterisk", Text("a*"), false},
        {"question mark", Text("a?"), false},
        {"quotation mark", Text("a\"b"), false},
        {"less than", Text("a<b"), false},
        {"greater than", Text("a>b"), false},
        {"bar", Text("a|b"), false},
        {"tab", Text("a\tb"), false},
        {"DEL", Text("a\x7F"), false},
        // A lead byte before a byte that cannot follow it forms no character: the slash
        // after it is still a slash when the name reaches the file system.
        {"slash after a stray lead byte", Text("1-\x81/../x"), false},
        {"backslash after a full character", ConcatText("淺"_gbk, "\\"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsPlainFileStem(c.key), c.plain);
        const std::optional<Text> name = ExportFileName(c.key);
        EXPECT_EQ(name.has_value(), c.plain);
        if (name) {
            EXPECT_EQ(*name, Text(c.key.str() + ".jpg"));
        }
    }
}

}  // namespace
}  // namespace korvel::test
