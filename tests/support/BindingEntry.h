#pragma once
// A stand-in function registered under the name of a declared outside function. A stand-in
// whose type differs from the declaration does not compile.
#include <string>
#include <type_traits>
#include <utility>

#include "core/binding/Declarations.h"

namespace korvel::testing_support {

template <int N, typename Function>
std::pair<const std::string, void*> BindingEntry(Function* function) {
    static_assert(std::is_same_v<Function, typename binding::Signature<N>::Type>);
    return {binding::kDeclarations[N].function, reinterpret_cast<void*>(function)};
}

}  // namespace korvel::testing_support
