#pragma once
// Reads a whole file into memory, for the bitmap loader.
#include <cstdint>
#include <vector>

#include "core/Text.h"

namespace korvel {

struct WholeFile {
    bool opened = false;      // false: missing, unreadable or not a regular file
    bool tooLarge = false;    // opened, but longer than the limit; nothing was read
    std::vector<uint8_t> bytes;
};

// path is GBK; it reaches the file system as UTF-8. Other readers may have the file open.
WholeFile ReadWholeFile(const Text& path, uint64_t sizeLimit);

}  // namespace korvel
