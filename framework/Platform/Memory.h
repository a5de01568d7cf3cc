#pragma once
// The system's memory figures, in the shape of the extended memory status record.
#include <cstdint>
#include <memory>

namespace Arbor::Platform {

struct MemoryStatus {
    std::uint32_t memoryLoad = 0;  // percent in use
    std::uint64_t totalPhysical = 0;
    std::uint64_t availablePhysical = 0;
    std::uint64_t totalPageFile = 0;
    std::uint64_t availablePageFile = 0;
    std::uint64_t totalVirtual = 0;
    std::uint64_t availableVirtual = 0;
    std::uint64_t availableExtendedVirtual = 0;
    friend bool operator==(const MemoryStatus&, const MemoryStatus&) = default;
};

class MemoryService {
public:
    virtual ~MemoryService() = default;
    // False when the figures cannot be read.
    virtual bool memoryStatus(MemoryStatus& status) = 0;
};

MemoryService& memoryService();

}  // namespace Arbor::Platform
