// The extended memory status record.
#include <windows.h>

#include "framework/Platform/Memory.h"
#include "framework/Platform/Win32/Win32Services.h"

namespace Arbor::Platform {

namespace {

class Win32MemoryService : public MemoryService {
public:
    bool memoryStatus(MemoryStatus& status) override {
        MEMORYSTATUSEX record{};
        record.dwLength = sizeof record;
        if (!GlobalMemoryStatusEx(&record)) return false;
        status.memoryLoad = record.dwMemoryLoad;
        status.totalPhysical = record.ullTotalPhys;
        status.availablePhysical = record.ullAvailPhys;
        status.totalPageFile = record.ullTotalPageFile;
        status.availablePageFile = record.ullAvailPageFile;
        status.totalVirtual = record.ullTotalVirtual;
        status.availableVirtual = record.ullAvailVirtual;
        status.availableExtendedVirtual = record.ullAvailExtendedVirtual;
        return true;
    }
};

}  // namespace

std::unique_ptr<MemoryService> Win32::makeMemoryService() { return std::make_unique<Win32MemoryService>(); }

}  // namespace Arbor::Platform
