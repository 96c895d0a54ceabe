#include "qr/TemporaryImagePath.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "core/CodePage.h"
#include "core/FatalError.h"
#include "core/Services.h"
#include "core/TextOperations.h"

namespace korvel {
namespace {

struct PrivateFolder {
    std::string folder;      // UTF-8, as the file system sees it
    std::string imageFile;   // UTF-8
    std::string imageName;   // UTF-8, with its leading separator: the same in every subfolder
    Text imagePath;          // GBK, as the encoder and the bitmap loader take it
    pid_t owner;             // the process that made it
};

// Never destroyed: the exit handler still needs it after static objects are gone.
const PrivateFolder* g_folder = nullptr;

// Threads that make images at the same time each need a picture file of their own. Slot 0
// is the folder's own file; slot k > 0 the same name in the subfolder "k". A thread's slot
// is given back when the thread ends and goes to the next thread that asks.
class PictureSlots {
public:
    int Take() {
        const std::lock_guard lock(mutex_);
        if (free_.empty()) return next_++;
        const int slot = free_.back();
        free_.pop_back();
        return slot;
    }
    void GiveBack(int slot) {
        const std::lock_guard lock(mutex_);
        free_.push_back(slot);
    }
    // Subfolders made so far: read without the lock by the exit handler.
    std::atomic<int> subfolders{0};

private:
    std::mutex mutex_;
    std::vector<int> free_;
    int next_ = 0;
};

PictureSlots& Slots() {
    static auto* const slots = new PictureSlots;   // never destroyed, as g_folder
    return *slots;
}

std::string SubfolderOf(int slot) { return g_folder->folder + "/" + std::to_string(slot); }

// A forked child (a test's death test) shares the folder with its parent and leaves it alone.
void RemovePrivateFolder() {
    if (!g_folder || ::getpid() != g_folder->owner) return;
    for (int slot = Slots().subfolders.load(); slot >= 1; --slot) {
        ::unlink((SubfolderOf(slot) + g_folder->imageName).c_str());
        ::rmdir(SubfolderOf(slot).c_str());
    }
    ::unlink(g_folder->imageFile.c_str());
    ::rmdir(g_folder->folder.c_str());
}

// The picture path of one slot; empty when its subfolder cannot be made.
Text PicturePathOf(int slot) {
    if (slot == 0) return g_folder->imagePath;
    const std::string subfolder = SubfolderOf(slot);
    if (::mkdir(subfolder.c_str(), 0700) != 0 && errno != EEXIST) return Text();
    int made = Slots().subfolders.load();
    while (made < slot && !Slots().subfolders.compare_exchange_weak(made, slot)) {
    }
    return Utf8ToGbk(subfolder + g_folder->imageName);
}

// The calling thread's slot, taken at its first picture and given back when it ends.
struct ThreadPicture {
    int slot = -1;
    Text path;
    ~ThreadPicture() {
        if (slot >= 0) Slots().GiveBack(slot);
    }
};

bool IsWritableFolder(const std::string& path) {
    struct stat status {};
    return !path.empty() && ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           ::access(path.c_str(), W_OK | X_OK) == 0;
}

// Memory first: the picture is written and read once per image and never needs a disk.
std::vector<std::string> CandidateParents() {
    std::vector<std::string> parents = {"/dev/shm"};
    if (const char* tmpdir = std::getenv("TMPDIR")) parents.emplace_back(tmpdir);
    parents.emplace_back("/tmp");
    return parents;
}

// mkdtemp makes the folder with mode 0700 under a name no other process can predict. A
// parent whose name GBK cannot carry is passed over, so the GBK path names the same file.
const PrivateFolder* MakePrivateFolder() {
    for (const std::string& parent : CandidateParents()) {
        if (!IsWritableFolder(parent)) continue;
        std::string folder = parent + "/korvel-qr-XXXXXX";
        if (!::mkdtemp(folder.data())) continue;
        const Text folderGbk = Utf8ToGbk(folder);
        if (GbkToUtf8(folderGbk) != folder) {
            ::rmdir(folder.c_str());
            continue;
        }
        auto* made = new PrivateFolder;
        made->folder = folder;
        made->owner = ::getpid();
        made->imagePath = ConcatText(folderGbk, PathSeparator(), "二维码图片.bmp"_gbk);
        made->imageFile = GbkToUtf8(made->imagePath);
        made->imageName = made->imageFile.substr(folder.size());
        return made;
    }
    return nullptr;
}

}  // namespace

Text TemporaryImagePath() {
    static const bool made = [] {
        g_folder = MakePrivateFolder();
        if (g_folder) {
            std::atexit(RemovePrivateFolder);
            AddFatalCleanup(RemovePrivateFolder);
        }
        return g_folder != nullptr;
    }();
    if (!made) return Text();
    thread_local ThreadPicture picture;
    if (picture.slot < 0) {
        picture.slot = Slots().Take();
        picture.path = PicturePathOf(picture.slot);
    }
    return picture.path;
}

}  // namespace korvel
