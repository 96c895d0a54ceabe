#include "app/Roster.h"

#include "core/CodePage.h"
#include "core/TextOperations.h"

namespace korvel {
namespace {

struct ColumnPlace {
    Control box;
    Control label;
    const char* titleUtf8;
};

ColumnPlace PlaceOf(Column column) {
    switch (column) {
        case Column::Serial: return {Control::编辑框1, Control::标签1, "序号列"};
        case Column::Name: return {Control::编辑框2, Control::标签2, "姓名列"};
        case Column::Id: return {Control::编辑框3, Control::标签3, "编号列"};
    }
    return {Control::编辑框1, Control::标签1, "序号列"};
}

const Text& LineBreak() {
    static const Text crlf("\r\n");
    return crlf;
}

TextList ReadColumn(const WindowOperations& window, Column column) {
    return SplitText(window.ReadText(PlaceOf(column).box), LineBreak());
}

}  // namespace

Roster ReadRoster(const WindowOperations& window) {
    Roster roster;
    roster.serials = ReadColumn(window, Column::Serial);
    roster.names = ReadColumn(window, Column::Name);
    roster.ids = ReadColumn(window, Column::Id);
    return roster;
}

bool RosterCountsEqual(const Roster& roster) {
    return ElementCount(roster.serials) == ElementCount(roster.names) &&
           ElementCount(roster.names) == ElementCount(roster.ids);
}

Text RowKey(const Roster& roster, int32_t i) {
    return ConcatText(roster.serials[i], "-", roster.names[i], "-", roster.ids[i]);
}

Text RosterMismatchMessage() { return "您输入的信息不均等！"_gbk; }

void UpdateRowCounter(WindowOperations& window, Column column) {
    const ColumnPlace place = PlaceOf(column);
    const int32_t rows = ElementCount(ReadColumn(window, column));
    const Text title = Utf8ToGbk(place.titleUtf8);
    window.WriteText(place.label, ConcatText(title, IntToText(rows), "行"_gbk));
}

}  // namespace korvel
