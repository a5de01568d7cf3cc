#pragma once
// The system's memory figures as of the last refresh (every 500 ms on the
// user-interface thread), read by the memory built-ins. When the figures cannot be
// read the snapshot says so and keeps its last good values.
#include <mutex>

#include "framework/Platform/Memory.h"

namespace Quenta::Common {

class MemorySnapshot {
public:
    static MemorySnapshot& instance();

    void refresh();

    Arbor::Platform::MemoryStatus status() const;
    bool isUnavailable() const;

private:
    mutable std::mutex lock_;
    Arbor::Platform::MemoryStatus status_;
    bool unavailable_ = true;
};

}  // namespace Quenta::Common
