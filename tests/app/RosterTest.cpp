// The roster read from the real window's columns: rows split at CR LF, the count check
// and the row key, compared as GBK bytes.
#include <string>
#include <vector>

#include "app/Roster.h"
#include "core/CodePage.h"
#include "core/TextOperations.h"
#include "tests/app/WindowTestSupport.h"

namespace korvel::test {
namespace {

using RosterTest = WindowTest;

std::vector<Text> Elements(const TextList& list) {
    std::vector<Text> elements;
    for (int32_t i = 1; i <= ElementCount(list); ++i) elements.push_back(list[i]);
    return elements;
}

std::vector<Text> Gbk(std::initializer_list<const char*> utf8) {
    std::vector<Text> texts;
    for (const char* piece : utf8) texts.push_back(Utf8ToGbk(piece));
    return texts;
}

const char* const kTenRows = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10";
const char* const kNineRows = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9";

TEST_F(RosterTest, ColumnCountsDecideWhetherTheRosterIsUsable) {
    struct Case {
        const char* name;
        const char* columns[3];
        bool equal;
    };
    const Case cases[] = {
        {"10, 10 and 10", {kTenRows, kTenRows, kTenRows}, true},
        {"10, 10 and 9", {kTenRows, kTenRows, kNineRows}, false},
        {"9, 10 and 10", {kNineRows, kTenRows, kTenRows}, false},
        {"10, 9 and 10", {kTenRows, kNineRows, kTenRows}, false},
        {"0, 0 and 0", {"", "", ""}, true},
        {"a break at the end adds no row", {"1\r\n2\r\n", "1\r\n2", "a\r\nb\r\n"}, true},
        {"an empty last row counts", {"1\r\n2\r\n\r\n", "1\r\n2", "a\r\nb"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window_.WriteText(Control::编辑框1, Utf8ToGbk(c.columns[0]));
        window_.WriteText(Control::编辑框2, Utf8ToGbk(c.columns[1]));
        window_.WriteText(Control::编辑框3, Utf8ToGbk(c.columns[2]));
        EXPECT_EQ(RosterCountsEqual(ReadRoster(window_)), c.equal);
    }
}

TEST_F(RosterTest, RowsAreTheLinesBetweenCrLfTakenAsTheyStand) {
    struct Case {
        const char* name;
        const char* column;
        std::vector<Text> rows;
    };
    const Case cases[] = {
        {"empty box", "", {}},
        {"one value", "张伟", Gbk({"张伟"})},
        {"break at the end", "1\r\n2\r\n", Gbk({"1", "2"})},
        {"two empty rows in the middle", "1\r\n\r\n\r\n4", Gbk({"1", "", "", "4"})},
        {"empty row at the end", "1\r\n2\r\n\r\n", Gbk({"1", "2", ""})},
        {"only a break", "\r\n", Gbk({""})},
        {"blanks and any character kept", " a-b|c* ", Gbk({" a-b|c* "})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window_.WriteText(Control::编辑框2, Utf8ToGbk(c.column));
        EXPECT_EQ(Elements(ReadRoster(window_).names), c.rows);
    }
}

TEST_F(RosterTest, RowKeyJoinsSerialNameAndIdWithHyphens) {
    const Roster initial = ReadRoster(window_);
    ASSERT_TRUE(RosterCountsEqual(initial));
    EXPECT_EQ(ElementCount(initial.serials), 10);
    EXPECT_EQ(RowKey(initial, 1), "1-张伟-35020180001"_gbk);
    EXPECT_EQ(RowKey(initial, 10), "10-吴敏-35020180010"_gbk);

    window_.WriteText(Control::编辑框1, Text("7"));
    window_.WriteText(Control::编辑框2, Text("\r\n"));
    window_.WriteText(Control::编辑框3, Text("X1"));
    const Roster withEmptyName = ReadRoster(window_);
    ASSERT_TRUE(RosterCountsEqual(withEmptyName));
    EXPECT_EQ(RowKey(withEmptyName, 1), Text("7--X1"));
}

TEST_F(RosterTest, ARosterIsASnapshotOfTheColumns) {
    const Roster before = ReadRoster(window_);
    window_.WriteText(Control::编辑框3, Text("only one"));
    EXPECT_EQ(ElementCount(before.ids), 10);
    EXPECT_EQ(before.ids[10], Text("35020180010"));
}

TEST_F(RosterTest, RowCounterWritesTitleCountAndRowsIntoItsOwnLabel) {
    struct Case {
        const char* name;
        Column column;
        const char* text;
        Control label;
        const char* caption;
    };
    const Case cases[] = {
        {"eleven serials", Column::Serial, "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11", Control::标签1,
         "序号列11行"},
        {"no names", Column::Name, "", Control::标签2, "姓名列0行"},
        {"IDs with an empty row", Column::Id, "a\r\n\r\nb", Control::标签3, "编号列3行"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Control box = c.column == Column::Serial ? Control::编辑框1
                            : c.column == Column::Name ? Control::编辑框2
                                                       : Control::编辑框3;
        window_.WriteText(box, Utf8ToGbk(c.text));
        window_.WriteText(c.label, Text());
        UpdateRowCounter(window_, c.column);
        EXPECT_EQ(window_.ReadText(c.label), Utf8ToGbk(c.caption));
    }
}

}  // namespace
}  // namespace korvel::test
