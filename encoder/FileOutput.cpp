#include "encoder/FileOutput.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace korvel::encoder {
namespace {

bool WriteAll(int descriptor, const std::vector<uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(descriptor, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

bool WriteWholeFile(const std::string& utf8Path, const std::vector<uint8_t>& bytes) {
    if (utf8Path.empty()) return false;
    const int descriptor = ::open(utf8Path.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0600);
    if (descriptor < 0) return false;
    const bool written = WriteAll(descriptor, bytes);
    const bool closed = ::close(descriptor) == 0;
    if (written && closed) return true;
    ::unlink(utf8Path.c_str());
    return false;
}

}  // namespace korvel::encoder
