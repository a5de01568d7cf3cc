// Memory figures of POSIX hosts.
#if !defined(_WIN32)
#include <sys/resource.h>
#include <sys/sysinfo.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "framework/Platform/Memory.h"
#include "framework/Platform/Posix/HostSystem.h"

namespace Arbor::Platform {

namespace {

// A field of /proc/meminfo or /proc/self/status in bytes ("Name:  123 kB"); 0 if absent.
std::uint64_t procField(const char* file, const std::string& name) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, name.size() + 1, name + ":") != 0) continue;
        return std::strtoull(line.c_str() + name.size() + 1, nullptr, 10) * 1024u;
    }
    return 0;
}

bool readMemoryStatus(MemoryStatus& status) {
    struct sysinfo info {};
    if (sysinfo(&info) != 0) return false;
    const std::uint64_t unit = info.mem_unit ? info.mem_unit : 1;
    const std::uint64_t total = info.totalram * unit;
    std::uint64_t available = procField("/proc/meminfo", "MemAvailable");
    if (available == 0 || available > total) available = (info.freeram + info.bufferram) * unit;
    status.totalPhysical = total;
    status.availablePhysical = available;
    status.memoryLoad = total ? static_cast<std::uint32_t>(100 - available * 100 / total) : 0;
    // The page-file figures are the kernel's commit accounting: the commit limit and
    // what of it is not yet committed (an overcommitted system has none left).
    const std::uint64_t commitLimit = procField("/proc/meminfo", "CommitLimit");
    const std::uint64_t committed = procField("/proc/meminfo", "Committed_AS");
    status.totalPageFile = commitLimit;
    status.availablePageFile = committed < commitLimit ? commitLimit - committed : 0;
    // The user address space of a 64-bit process, less what this process has mapped.
    std::uint64_t space = std::uint64_t{1} << 47;
    struct rlimit limit {};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) space = limit.rlim_cur;
    const std::uint64_t used = procField("/proc/self/status", "VmSize");
    status.totalVirtual = space;
    status.availableVirtual = used < space ? space - used : 0;
    status.availableExtendedVirtual = 0;
    return true;
}

class PosixMemoryService : public MemoryService {
public:
    bool memoryStatus(MemoryStatus& status) override { return readMemoryStatus(status); }
};

}  // namespace

std::unique_ptr<MemoryService> Posix::makeMemoryService() { return std::make_unique<PosixMemoryService>(); }

}  // namespace Arbor::Platform
#endif
