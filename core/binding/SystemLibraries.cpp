#include "core/binding/SystemLibraries.h"

#include <map>
#include <string>
#include <utility>

#include "core/binding/Binding.h"
#include "core/binding/LibraryName.h"

namespace korvel::binding {
namespace {

using Registry = std::map<std::string, SymbolTable, std::less<>>;  // folded name -> symbols

// Never destroyed: a library may still be bound while static objects are torn down.
Registry& TheRegistry() {
    static Registry* const registry = new Registry;
    return *registry;
}

}  // namespace

void RegisterSystemLibrary(std::string_view name, SymbolTable symbols) {
    TheRegistry()[FoldedLibraryName(name)] = std::move(symbols);
}

void UnregisterSystemLibrary(std::string_view name) { TheRegistry().erase(FoldedLibraryName(name)); }

bool IsSystemLibrary(std::string_view name) { return TheRegistry().contains(FoldedLibraryName(name)); }

void* FindSystemFunction(std::string_view name, std::string_view function) {
    const auto library = TheRegistry().find(FoldedLibraryName(name));
    if (library == TheRegistry().end()) return nullptr;
    const auto symbol = library->second.find(function);
    return symbol == library->second.end() ? nullptr : symbol->second;
}

}  // namespace korvel::binding
