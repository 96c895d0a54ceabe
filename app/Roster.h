#pragma once
// The roster the user pastes into the three column boxes: one value per line, row i of
// the roster being line i of each box. Values are GBK and taken exactly as they stand.
#include <cstdint>

#include "app/WindowOperations.h"
#include "core/Text.h"
#include "core/TextList.h"

namespace korvel {

// The three columns, each the rows of its box split at CR LF. Owned by the workflow that
// read it; later edits of the boxes do not reach it.
struct Roster {
    TextList serials;
    TextList names;
    TextList ids;
};

enum class Column { Serial, Name, Id };

// Reads 编辑框1, 编辑框2 and 编辑框3 into a roster.
Roster ReadRoster(const WindowOperations& window);

// True when the three columns have the same number of rows (three empty columns do).
bool RosterCountsEqual(const Roster& roster);

// serial + "-" + name + "-" + ID of row i, 1 <= i <= row count of a roster whose counts
// are equal; any other index is the caller's mistake and ends the program.
Text RowKey(const Roster& roster, int32_t i);

// The message a workflow shows when the columns differ in length.
Text RosterMismatchMessage();

// The text-changed handler of a column box: writes the column's title, its row count and
// "行" into the label above it. Touches only that column's box and label.
void UpdateRowCounter(WindowOperations& window, Column column);

}  // namespace korvel
