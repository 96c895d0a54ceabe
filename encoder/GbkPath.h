#pragma once
// File paths arrive as code page 936 bytes; the file system takes UTF-8.
#include <optional>
#include <string>
#include <string_view>

namespace korvel::encoder {

// The UTF-8 spelling of a code page 936 path; nullopt when the bytes are not valid
// code page 936 (no guessing, so a bad path never names some other file).
std::optional<std::string> GbkPathToUtf8(std::string_view gbk);

}  // namespace korvel::encoder
