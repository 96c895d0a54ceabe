#pragma once
// Writes a finished file in one go.
#include <cstdint>
#include <string>
#include <vector>

namespace korvel::encoder {

// Creates the file (mode 0600) or cuts it to length 0 and writes bytes. A write that
// fails part way removes the file, so no half-written picture is left for a reader.
// False when the file cannot be opened or written.
bool WriteWholeFile(const std::string& utf8Path, const std::vector<uint8_t>& bytes);

}  // namespace korvel::encoder
