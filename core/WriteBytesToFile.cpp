// WriteBytesToFile: the one way the program writes a file of its own.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>

#include "core/CodePage.h"
#include "core/GbkScan.h"
#include "core/Services.h"

namespace korvel {
namespace {

bool IsForbiddenInFileName(unsigned char byte) {
    static constexpr std::string_view kForbidden = "\\/:*?\"<>|";
    return byte < 0x20 || byte == 0x7F || kForbidden.find(static_cast<char>(byte)) != std::string_view::npos;
}

// A file name (the path's last component) must be one a Windows file system could hold,
// so that exported files stay portable. The path is walked character by character: the
// second byte of a two-byte character may be 0x5C or 0x7C and is no backslash or bar.
bool HasPortableFileName(std::string_view path) {
    bool portable = true;
    std::size_t cursor = 0;
    while (cursor < path.size()) {
        const std::size_t width = detail::CharacterWidth(path, cursor);
        if (width == 1) {
            const unsigned char byte = static_cast<unsigned char>(path[cursor]);
            if (byte == '/') {
                portable = true;  // a new component begins; only the last one counts
            } else if (IsForbiddenInFileName(byte)) {
                portable = false;
            }
        }
        cursor += width;
    }
    return portable;
}

bool WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Closes the descriptor on every way out; the lock goes with it.
class OpenFile {
public:
    explicit OpenFile(const std::string& utf8Path)
        : descriptor_(::open(utf8Path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666)) {}
    ~OpenFile() {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    int descriptor() const { return descriptor_; }
    // True once the close itself succeeded: a write-back error can surface only there.
    bool Close() {
        const int descriptor = descriptor_;
        descriptor_ = -1;
        return ::close(descriptor) == 0;
    }

private:
    int descriptor_;
};

}  // namespace

bool WriteBytesToFile(const Text& path, const Bytes& data) {
    if (path.empty() || !HasPortableFileName(path.view())) return false;

    // Opened without cutting it, so that a file someone else holds locked keeps its
    // contents: it is cut only once the lock is ours.
    OpenFile file(GbkToUtf8(path));
    if (file.descriptor() < 0) return false;
    int locked;
    do {
        locked = ::flock(file.descriptor(), LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) return false;
    if (::ftruncate(file.descriptor(), 0) != 0) return false;
    if (!WriteAll(file.descriptor(), data.view())) return false;
    return file.Close();
}

}  // namespace korvel
