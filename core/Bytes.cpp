#include "core/Bytes.h"

#include "core/AllocationRequest.h"

namespace korvel {

Bytes::Bytes(const void* address, int32_t length) {
    // A null address has nothing to copy: the result is empty rather than a crash.
    if (!address || length <= 0) return;
    AllocationRequest request(length);
    const auto* first = static_cast<const uint8_t*>(address);
    data_.assign(first, first + length);
}

}  // namespace korvel
