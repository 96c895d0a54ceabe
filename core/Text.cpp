#include "core/Text.h"

namespace korvel {

Text::Text(const char* zeroTerminated) {
    if (zeroTerminated) bytes_ = zeroTerminated;
}

Text::Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}

Text::Text(std::string&& bytes) : bytes_(std::move(bytes)) {
    // A Text never holds a zero byte: what follows the first one is not part of it.
    std::size_t zero = bytes_.find('\0');
    if (zero != std::string::npos) bytes_.resize(zero);
}

}  // namespace korvel
