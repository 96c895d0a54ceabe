#include "app/ExportFileName.h"

#include <string_view>

#include "core/TextOperations.h"

namespace korvel {
namespace {

bool IsForbiddenByte(unsigned char byte) {
    static constexpr std::string_view kForbidden = "\\/:*?\"<>|";
    return byte < 0x20 || byte == 0x7F || kForbidden.find(static_cast<char>(byte)) != std::string_view::npos;
}

// A lead byte opens a two-byte character only when a valid second byte follows. Any other
// pair is taken apart, as the conversion to the file system's encoding takes it apart, so
// a "/" behind a stray lead byte is still seen as the separator it becomes.
bool OpensTwoByteCharacter(std::string_view bytes, std::size_t offset) {
    const auto lead = static_cast<unsigned char>(bytes[offset]);
    if (lead < 0x81 || lead > 0xFE || offset + 1 >= bytes.size()) return false;
    const auto trail = static_cast<unsigned char>(bytes[offset + 1]);
    return trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

}  // namespace

bool IsPlainFileStem(const Text& key) {
    const std::string_view bytes = key.view();
    if (bytes == "." || bytes == "..") return false;
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        if (OpensTwoByteCharacter(bytes, offset)) {
            offset += 2;
            continue;
        }
        if (IsForbiddenByte(static_cast<unsigned char>(bytes[offset]))) return false;
        ++offset;
    }
    return true;
}

std::optional<Text> ExportFileName(const Text& key) {
    if (!IsPlainFileStem(key)) return std::nullopt;
    return ConcatText(key, ".jpg");
}

}  // namespace korvel
