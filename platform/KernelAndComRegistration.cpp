#include <type_traits>

#include "core/binding/Binding.h"
#include "platform/Kernel32.h"
#include "platform/Ole32.h"
#include "platform/Registrations.h"

namespace korvel::platform {
namespace {

using binding::FunctionAddress;
using binding::Signature;

// Each stand-in has exactly the type its table entries call it with.
static_assert(std::is_same_v<decltype(MultiByteToWideChar), Signature<binding::kMultiByteToWideChar>::Type>);
static_assert(std::is_same_v<decltype(WideCharToMultiByte), Signature<binding::kWideCharToMultiByteSize>::Type>);
static_assert(std::is_same_v<decltype(WideCharToMultiByte), Signature<binding::kWideCharToMultiByte>::Type>);
static_assert(std::is_same_v<decltype(CoInitialize), Signature<binding::kCoInitialize>::Type>);
static_assert(std::is_same_v<decltype(CoUninitialize), Signature<binding::kCoUninitialize>::Type>);

}  // namespace

void RegisterKernelAndCom() {
    binding::RegisterSystemLibrary("kernel32.dll", {
                                                       {"MultiByteToWideChar", FunctionAddress(&MultiByteToWideChar)},
                                                       {"WideCharToMultiByte", FunctionAddress(&WideCharToMultiByte)},
                                                   });
    binding::RegisterSystemLibrary("ole32.dll", {
                                                    {"CoInitialize", FunctionAddress(&CoInitialize)},
                                                    {"CoUninitialize", FunctionAddress(&CoUninitialize)},
                                                });
}

}  // namespace korvel::platform
