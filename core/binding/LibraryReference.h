#pragma once
// One reference to a loaded library, as one table entry holds it. Loading the same
// library twice gives two references; each is released on its own.
#include <optional>
#include <string>
#include <string_view>

namespace korvel::binding {

struct LibraryReference {
    std::string name;        // the declared name, as the table spells it
    void* shared = nullptr;  // the dlopen handle; null for a system library
};

// Loads the library declared as name: the system library registered under it, or else
// the shared object from the program's folder and then through the standard search.
// A name holding "/" is a path and skips the program's folder. Nullopt when nothing loads.
std::optional<LibraryReference> LoadLibraryReference(std::string_view name);

// The function's address in the library; null when the library does not export it.
void* FindFunction(const LibraryReference& library, std::string_view function);

void ReleaseLibraryReference(const LibraryReference& library);

// Loads per folded library name since the last reset.
int LoadsOf(std::string_view name);
void ResetLoadCounts();

}  // namespace korvel::binding
