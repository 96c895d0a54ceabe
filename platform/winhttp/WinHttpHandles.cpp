#include "platform/winhttp/WinHttpHandles.h"

#include <map>
#include <mutex>

namespace korvel::platform::winhttp {
namespace {

// Open handles. A handle is the object's address; only addresses in the table are
// accepted, so a stale or foreign handle fails instead of being used.
struct HandleTable {
    std::mutex mutex;
    std::map<HINTERNET, std::unique_ptr<Handle>> open;
};

HandleTable& Table() {
    static HandleTable table;
    return table;
}

}  // namespace

HINTERNET Adopt(std::unique_ptr<Handle> object) {
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    HINTERNET handle = object.get();
    table.open.emplace(handle, std::move(object));
    return handle;
}

Handle* LookupAny(HINTERNET handle) {
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto found = table.open.find(handle);
    return found == table.open.end() ? nullptr : found->second.get();
}

bool Close(HINTERNET handle) {
    std::unique_ptr<Handle> closing;
    HandleTable& table = Table();
    {
        std::lock_guard lock(table.mutex);
        auto found = table.open.find(handle);
        if (found == table.open.end()) return false;
        closing = std::move(found->second);
        table.open.erase(found);
    }
    return true;
}

}  // namespace korvel::platform::winhttp
