#include "core/binding/Binding.h"

#include <array>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "core/CodePage.h"
#include "core/FatalError.h"
#include "core/TextOperations.h"
#include "core/binding/LibraryReference.h"

namespace korvel::binding {
namespace {

// An entry without a library finds its function in the first of these that exports it.
constexpr std::array<std::string_view, 6> kSystemSearchOrder = {
    "Kernel32.dll", "Gdi32.dll", "User32.dll", "Advapi32.dll", "Mpr.dll", "Shell32.dll",
};

struct BoundFunction {
    void* address;
    LibraryReference library;
};

// The binding state, one slot per entry. The addresses are a plain array so that a bound
// entry costs one read; the references are never destroyed, so a call made while static
// objects are torn down still finds them.
std::array<void*, kEntryCount> g_addresses{};

std::array<std::optional<LibraryReference>, kEntryCount>& References() {
    static auto* const references = new std::array<std::optional<LibraryReference>, kEntryCount>;
    return *references;
}

// The libraries are released at the end of the process, whichever way it ends.
void ReleaseAtEnd() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    SetLibraryReleaseHook(&ReleaseAllLibraries);
    std::atexit(&ReleaseAllLibraries);
}

std::optional<BoundFunction> LoadAndFind(std::string_view libraryName, std::string_view function) {
    std::optional<LibraryReference> library = LoadLibraryReference(libraryName);
    if (!library) return std::nullopt;
    if (void* address = FindFunction(*library, function)) return BoundFunction{address, std::move(*library)};
    ReleaseLibraryReference(*library);
    return std::nullopt;
}

std::optional<BoundFunction> SearchSystemLibraries(std::string_view function) {
    for (std::string_view libraryName : kSystemSearchOrder) {
        if (std::optional<BoundFunction> bound = LoadAndFind(libraryName, function)) return bound;
    }
    return std::nullopt;
}

// The same report covers a library that does not exist and one that lacks the function.
[[noreturn]] void ReportUnbound(std::string_view libraryName, std::string_view function) {
    const Text library{libraryName};
    const Text name{function};
    if (library.empty()) {
        ReportFatalError(0, ConcatText("无法找到指定DLL库文件中的输出命令“"_gbk, name, "”"_gbk));
    }
    ReportFatalError(0, ConcatText("无法找到指定DLL库文件“"_gbk, library, "”中的输出命令“"_gbk, name, "”"_gbk));
}

void* BindEntry(int entry) {
    if (entry < 0 || entry >= kEntryCount) ReportUnbound("", IntToText(entry).view());
    const Declaration& declaration = kDeclarations[static_cast<std::size_t>(entry)];
    const std::string_view libraryName = declaration.library;
    ReleaseAtEnd();
    std::optional<BoundFunction> bound =
        libraryName.empty() ? SearchSystemLibraries(declaration.function) : LoadAndFind(libraryName, declaration.function);
    if (!bound) ReportUnbound(libraryName, declaration.function);
    References()[static_cast<std::size_t>(entry)] = std::move(bound->library);
    g_addresses[static_cast<std::size_t>(entry)] = bound->address;
    return bound->address;
}

}  // namespace

void* Bind(int entry) {
    if (static_cast<unsigned>(entry) < static_cast<unsigned>(kEntryCount)) {
        if (void* address = g_addresses[static_cast<std::size_t>(entry)]) return address;
    }
    return BindEntry(entry);
}

void ReleaseAllLibraries() {
    for (std::size_t entry = 0; entry < g_addresses.size(); ++entry) {
        g_addresses[entry] = nullptr;
        if (std::optional<LibraryReference>& library = References()[entry]) {
            ReleaseLibraryReference(*library);
            library.reset();
        }
    }
}

void ResetBindings() {
    ReleaseAllLibraries();
    ResetLoadCounts();
}

int LoadCount(std::string_view libraryName) { return LoadsOf(libraryName); }

}  // namespace korvel::binding
