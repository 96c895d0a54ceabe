// Memory exhaustion ends the program with the fatal report, code 0. The value primitives
// name the sizes they ask for (AllocationRequest); every other allocation made through
// operator new reaches the same report through the new-handler installed below, which
// cannot know the size and reports 0 bytes. Allocations made with malloc by outside
// libraries are theirs to handle.
#include <cstdlib>
#include <new>
#include <string>

#include "core/AllocationRequest.h"
#include "core/FatalError.h"
#include "core/FatalTexts.h"

namespace korvel {
namespace {

thread_local int64_t t_requestedBytes = -1;

// Set aside at start-up and given back when memory runs out, so that building and
// showing the report has room to allocate.
constexpr std::size_t kReserveBytes = 256 * 1024;
void* g_reserve = nullptr;

void OnAllocationFailure() {
    // A failure while reporting must throw rather than come back here.
    std::set_new_handler(nullptr);
    std::free(g_reserve);
    g_reserve = nullptr;
    const int64_t requested = AllocationRequest::Current();
    ReportAllocationFailure(requested >= 0 ? requested : 0);
}

// Installed before main() in every program that links the value types.
const bool g_handlerInstalled = [] {
    g_reserve = std::malloc(kReserveBytes);
    std::set_new_handler(OnAllocationFailure);
    return true;
}();

}  // namespace

AllocationRequest::AllocationRequest(int64_t byteCount) : previous_(t_requestedBytes) { t_requestedBytes = byteCount; }

AllocationRequest::~AllocationRequest() { t_requestedBytes = previous_; }

int64_t AllocationRequest::Current() { return t_requestedBytes; }

void ReportAllocationFailure(int64_t byteCount) {
    std::string message = fatal_texts::kAllocationBefore;
    message += std::to_string(byteCount);
    message += fatal_texts::kAllocationAfter;
    ReportFatalError(0, Text(std::move(message)));
}

}  // namespace korvel
