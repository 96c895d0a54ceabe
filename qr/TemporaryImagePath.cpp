#include "qr/TemporaryImagePath.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
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
    Text imagePath;          // GBK, as the encoder and the bitmap loader take it
};

// Never destroyed: the exit handler still needs it after static objects are gone.
const PrivateFolder* g_folder = nullptr;

void RemovePrivateFolder() {
    if (!g_folder) return;
    ::unlink(g_folder->imageFile.c_str());
    ::rmdir(g_folder->folder.c_str());
}

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
        made->imagePath = ConcatText(folderGbk, PathSeparator(), "二维码图片.bmp"_gbk);
        made->imageFile = GbkToUtf8(made->imagePath);
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
    return made ? g_folder->imagePath : Text();
}

}  // namespace korvel
