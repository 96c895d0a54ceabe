#include "core/BytesOperations.h"

#include "core/AllocationRequest.h"
#include "core/FatalError.h"

namespace korvel {

Bytes TextToBytes(const Text& text) { return Bytes(text.c_str(), text.size()); }

Text BytesToText(const Bytes& bytes) { return Text(bytes.view()); }

int32_t BytesLength(const Bytes& bytes) { return bytes.size(); }

Bytes LeftBytes(const Bytes& bytes, int32_t n) {
    if (n >= bytes.size()) return bytes;
    return Bytes(bytes.data(), n);
}

Bytes BlankBytes(int32_t n) {
    if (n <= 0) return {};
    AllocationRequest request(n);
    return Bytes(std::vector<uint8_t>(static_cast<std::size_t>(n), 0));
}

Bytes BytesFromAddress(const void* address, int32_t n) { return Bytes(address, n); }

namespace detail {

Bytes ConcatByteList(std::initializer_list<const Bytes*> pieces) {
    int64_t total = 0;
    for (const Bytes* piece : pieces) total += piece->size();
    if (total == 0) return {};
    // The length is a 32-bit count: a longer result is an allocation that cannot be made.
    if (total > INT32_MAX) ReportAllocationFailure(total);
    AllocationRequest request(total);
    std::vector<uint8_t> joined;
    joined.reserve(static_cast<std::size_t>(total));
    for (const Bytes* piece : pieces) joined.insert(joined.end(), piece->vector().begin(), piece->vector().end());
    return Bytes(std::move(joined));
}

}  // namespace detail

}  // namespace korvel
