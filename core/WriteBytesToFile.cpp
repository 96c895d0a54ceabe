// WriteBytesToFile: the one way the program writes a file of its own.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>

#include "core/CodePage.h"
#include "core/Services.h"

namespace korvel {
namespace {

bool IsForbiddenInFileName(unsigned char byte) {
    static constexpr std::string_view kForbidden = "\\/:*?\"<>|";
    return byte < 0x20 || byte == 0x7F || kForbidden.find(static_cast<char>(byte)) != std::string_view::npos;
}

// A file name (the path's last component) must be one a Windows file system could hold,
// so that exported files stay portable. The check reads the name as the file system will
// see it, in UTF-8, where an ASCII byte is always a character of its own: the second byte
// of a two-byte GBK character (0x5C, 0x7C) is no backslash or bar, and a lead byte
// without a second byte cannot hide the character after it.
bool HasPortableFileName(std::string_view utf8Path) {
    const std::size_t separator = utf8Path.rfind('/');
    const std::string_view name = separator == std::string_view::npos ? utf8Path : utf8Path.substr(separator + 1);
    for (const char byte : name) {
        if (IsForbiddenInFileName(static_cast<unsigned char>(byte))) return false;
    }
    return true;
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
    // Makes the file anew when there is none (MadeNow()); otherwise opens the one there,
    // without cutting it.
    explicit OpenFile(const std::string& utf8Path)
        : descriptor_(::open(utf8Path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666)),
          madeNow_(descriptor_ >= 0) {
        if (!madeNow_) descriptor_ = ::open(utf8Path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    }
    ~OpenFile() {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    int descriptor() const { return descriptor_; }
    bool MadeNow() const { return madeNow_; }
    // True once the close itself succeeded: a write-back error can surface only there.
    bool Close() {
        const int descriptor = descriptor_;
        descriptor_ = -1;
        return ::close(descriptor) == 0;
    }

private:
    int descriptor_;
    bool madeNow_;
};

}  // namespace

bool WriteBytesToFile(const Text& path, const Bytes& data, bool* writingBegan) {
    bool scratch = false;
    bool& began = writingBegan ? *writingBegan : scratch;
    began = false;
    if (path.empty()) return false;
    const std::string utf8Path = GbkToUtf8(path);
    if (!HasPortableFileName(utf8Path)) return false;

    // Opened without cutting it, so that a file someone else holds locked keeps its
    // contents: it changes only once the lock is ours.
    OpenFile file(utf8Path);
    if (file.descriptor() < 0) return false;
    int locked;
    do {
        locked = ::flock(file.descriptor(), LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) return false;
    // From here on the former contents may be overwritten.
    began = true;
    // Written over from the start and then cut to the data's length. Cutting to 0 first
    // would make the file system flush the file at its close, many times slower per file;
    // a failed write still leaves only what was written. A file made just now holds
    // nothing but what was written and needs no cut.
    const bool written = WriteAll(file.descriptor(), data.view());
    if (file.MadeNow()) return written && file.Close();
    const off_t length = ::lseek(file.descriptor(), 0, SEEK_CUR);
    if (length < 0 || ::ftruncate(file.descriptor(), length) != 0) return false;
    return written && file.Close();
}

}  // namespace korvel
