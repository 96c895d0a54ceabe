#pragma once
// Binds the declared outside functions by library and function name at their first call.
// Library names resolve first against the system libraries that platform/ (or a test)
// registers under their Windows names, letter case ignored; any other name is a real
// shared library loaded from the program's folder, then through the standard search.
// A name or function that cannot be found ends the program with the fatal report.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/Text.h"
#include "core/binding/Declarations.h"

namespace korvel::binding {

// The address of entry's function; binds it on the first call. Never returns null.
void* Bind(int entry);

// Calls entry N with the arguments its declaration takes.
template <int N, typename... Args>
decltype(auto) Call(Args&&... args) {
    using Function = typename Signature<N>::Type;
    return reinterpret_cast<Function*>(Bind(N))(std::forward<Args>(args)...);
}

// Exported name -> address, for a library that lives inside this process.
using SymbolTable = std::map<std::string, void*, std::less<>>;

// A function's address as a symbol table holds it.
template <typename Function>
void* FunctionAddress(Function* function) {
    return reinterpret_cast<void*>(function);
}

// Registers (or replaces) a system library under its Windows name.
void RegisterSystemLibrary(std::string_view name, SymbolTable symbols);
void UnregisterSystemLibrary(std::string_view name);

// The platform's file name for a declared library name: "QRCodeWin32.dll" -> "libQRCodeWin32.so".
std::string SharedObjectFileName(std::string_view declaredName);

// Releases every library bound so far; each entry holds its own reference.
void ReleaseAllLibraries();

// For tests: unbinds every entry (releasing its library) so the next call binds afresh,
// and counts the loads of each library name since the last reset.
void ResetBindings();
int LoadCount(std::string_view libraryName);

// For tests: libraries load from this folder (GBK) instead of the program's folder;
// nullopt goes back to the program's folder.
void OverrideProgramDirectory(std::optional<Text> folder);

}  // namespace korvel::binding
