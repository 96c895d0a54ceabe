#pragma once
// One roster row as the personal export sees it: the key that names its file and the
// text its QR code holds.
#include <cstdint>
#include <optional>

#include "app/Roster.h"
#include "core/Text.h"

namespace korvel {

struct ExportRow {
    Text key;                       // serial + "-" + name + "-" + ID
    std::optional<Text> fileName;   // key + ".jpg"; none for a key that is no plain file name
    Text content;                   // "djxh" + ID

    // A key that is no plain file name, or a content the encoder would cut to its first
    // 120 bytes, makes no code and no file.
    bool MakesImage() const;
};

// Row `row` (1-based) of a roster whose counts are equal.
ExportRow PlanExportRow(const Roster& roster, int32_t row);

}  // namespace korvel
