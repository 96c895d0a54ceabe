#include "qr/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "core/CodePage.h"
#include "core/FatalError.h"

namespace korvel {
namespace {

// Closes the descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Reads up to size bytes; a file that shrank meanwhile gives what was there.
bool ReadInto(int fd, std::vector<uint8_t>& bytes) {
    size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;
        filled += static_cast<size_t>(got);
    }
    bytes.resize(filled);
    return true;
}

}  // namespace

WholeFile ReadWholeFile(const Text& path, uint64_t sizeLimit) {
    WholeFile file;
    if (path.empty()) return file;
    Descriptor fd(::open(GbkToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status {};
    if (fd.get() < 0 || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) return file;
    const uint64_t size = static_cast<uint64_t>(status.st_size);
    if (size > sizeLimit) {
        file.opened = true;
        file.tooLarge = true;
        return file;
    }
    try {
        file.bytes.resize(size);
    } catch (const std::bad_alloc&) {
        ReportAllocationFailure(static_cast<int64_t>(size));
    }
    file.opened = ReadInto(fd.get(), file.bytes);
    if (!file.opened) file.bytes.clear();
    return file;
}

}  // namespace korvel
