#pragma once
// The libraries that live inside this process, registered under their Windows names by
// platform/ or by a test. Names compare without regard to ASCII letter case.
#include <string_view>

namespace korvel::binding {

bool IsSystemLibrary(std::string_view name);

// The address registered for function in the library; null when either is unknown.
// Function names compare exactly, as exported names do.
void* FindSystemFunction(std::string_view name, std::string_view function);

}  // namespace korvel::binding
