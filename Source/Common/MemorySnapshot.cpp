#include "Source/Common/MemorySnapshot.h"

namespace Quenta::Common {

MemorySnapshot& MemorySnapshot::instance() {
    static MemorySnapshot snapshot;
    return snapshot;
}

void MemorySnapshot::refresh() {
    Arbor::Platform::MemoryStatus fresh;
    const bool ok = Arbor::Platform::memoryService().memoryStatus(fresh);
    std::lock_guard guard(lock_);
    unavailable_ = !ok;
    if (ok) status_ = fresh;
}

Arbor::Platform::MemoryStatus MemorySnapshot::status() const {
    std::lock_guard guard(lock_);
    return status_;
}

bool MemorySnapshot::isUnavailable() const {
    std::lock_guard guard(lock_);
    return unavailable_;
}

}  // namespace Quenta::Common
