#include "app/ExportRow.h"

#include "app/ExportFileName.h"
#include "core/TextOperations.h"

namespace korvel {
namespace {

// The encoder takes this many bytes of content; a longer ID would give the code of a cut one.
constexpr int32_t kContentLimit = 120;

}  // namespace

bool ExportRow::MakesImage() const { return fileName && content.size() <= kContentLimit; }

ExportRow PlanExportRow(const Roster& roster, int32_t row) {
    Text key = RowKey(roster, row);
    std::optional<Text> fileName = ExportFileName(key);
    return {.key = std::move(key), .fileName = std::move(fileName), .content = ConcatText("djxh", roster.ids[row])};
}

}  // namespace korvel
