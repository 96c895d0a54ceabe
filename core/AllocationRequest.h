#pragma once
// Names the size of an allocation the value primitives are about to make, so that when it
// cannot be satisfied the fatal report gives the number of bytes asked for. The request is
// per thread and nests; it is read only by the program's allocation-failure handler.
#include <cstdint>

namespace korvel {

class AllocationRequest {
public:
    explicit AllocationRequest(int64_t byteCount);
    ~AllocationRequest();
    AllocationRequest(const AllocationRequest&) = delete;
    AllocationRequest& operator=(const AllocationRequest&) = delete;

    // The innermost request on this thread, or -1 when no primitive has named one.
    static int64_t Current();

private:
    int64_t previous_;
};

}  // namespace korvel
