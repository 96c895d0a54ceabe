#include "core/binding/LibraryReference.h"

#include <dlfcn.h>

#include <map>

#include "core/CodePage.h"
#include "core/Services.h"
#include "core/binding/Binding.h"
#include "core/binding/LibraryName.h"
#include "core/binding/SystemLibraries.h"

namespace korvel::binding {
namespace {

// Never destroyed, like the rest of the binding state.
std::map<std::string, int, std::less<>>& LoadCounts() {
    static auto* const counts = new std::map<std::string, int, std::less<>>;
    return *counts;
}

std::optional<Text>& ProgramDirectoryOverride() {
    static auto* const folder = new std::optional<Text>;
    return *folder;
}

// The folder searched first, as a UTF-8 path; empty when the program's folder is unknown.
std::string FirstFolder() {
    const Text folder = ProgramDirectoryOverride().value_or(ProgramDirectory());
    return folder.empty() ? std::string() : GbkToUtf8(folder);
}

void* OpenSharedObject(const std::string& path) { return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

// The copy next to the program wins over any other copy the standard search would find.
void* LoadSharedObject(std::string_view name) {
    const std::string file = SharedObjectFileName(name);
    const bool isPath = name.find('/') != std::string_view::npos;
    if (!isPath) {
        const std::string folder = FirstFolder();
        if (!folder.empty()) {
            if (void* handle = OpenSharedObject(folder + "/" + file)) return handle;
        }
    }
    return OpenSharedObject(file);
}

}  // namespace

std::optional<LibraryReference> LoadLibraryReference(std::string_view name) {
    if (name.empty()) return std::nullopt;  // dlopen would hand back the program itself
    LibraryReference library{.name = std::string(name)};
    if (!IsSystemLibrary(name)) {
        library.shared = LoadSharedObject(name);
        if (!library.shared) return std::nullopt;
    }
    ++LoadCounts()[FoldedLibraryName(name)];
    return library;
}

void* FindFunction(const LibraryReference& library, std::string_view function) {
    if (!library.shared) return FindSystemFunction(library.name, function);
    return ::dlsym(library.shared, std::string(function).c_str());
}

void ReleaseLibraryReference(const LibraryReference& library) {
    if (library.shared) ::dlclose(library.shared);
}

int LoadsOf(std::string_view name) {
    const auto count = LoadCounts().find(FoldedLibraryName(name));
    return count == LoadCounts().end() ? 0 : count->second;
}

void ResetLoadCounts() { LoadCounts().clear(); }

void OverrideProgramDirectory(std::optional<Text> folder) { ProgramDirectoryOverride() = std::move(folder); }

}  // namespace korvel::binding
