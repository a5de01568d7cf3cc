// Memory figures and folders of POSIX hosts.
#if !defined(_WIN32)
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/sysinfo.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "framework/Platform/Headless/HostSystem.h"
#include "framework/Platform/NativePath.h"

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

}  // namespace

bool Host::memoryStatus(MemoryStatus& status) {
    struct sysinfo info {};
    if (sysinfo(&info) != 0) return false;
    const std::uint64_t unit = info.mem_unit ? info.mem_unit : 1;
    const std::uint64_t total = info.totalram * unit;
    std::uint64_t available = procField("/proc/meminfo", "MemAvailable");
    if (available == 0 || available > total) available = (info.freeram + info.bufferram) * unit;
    status.totalPhysical = total;
    status.availablePhysical = available;
    status.memoryLoad = total ? static_cast<std::uint32_t>(100 - available * 100 / total) : 0;
    // The commit limit of a system with a page file is its memory plus the page file.
    status.totalPageFile = total + info.totalswap * unit;
    status.availablePageFile = available + info.freeswap * unit;
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

std::u16string Host::executablePath() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return fromNativePath(path);
}

std::u16string Host::applicationDataFolder() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/') {
        return fromNativePath(std::filesystem::path(data));
    }
    std::string home;
    if (const char* value = std::getenv("HOME"); value && value[0] == '/') {
        home = value;
    } else if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) {
        home = entry->pw_dir;
    }
    if (home.empty()) return {};
    return fromNativePath(std::filesystem::path(home) / ".local" / "share");
}

bool Host::isWritableDirectory(std::u16string_view directory) {
    if (directory.empty()) return false;
    // Create a fresh "TMP" file (O_EXCL through mkstemp), open it once more for reading
    // and writing with an exclusive lock, and remove it: the POSIX form of a temporary
    // file opened exclusively with delete-on-close.
    std::string name = (toNativePath(directory) / "TMPXXXXXX").string();
    const int created = ::mkstemp(name.data());
    if (created < 0) return false;
    const int reopened = ::open(name.c_str(), O_RDWR | O_CLOEXEC);
    const bool exclusive = reopened >= 0 && ::flock(reopened, LOCK_EX | LOCK_NB) == 0;
    ::unlink(name.c_str());
    if (reopened >= 0) ::close(reopened);
    ::close(created);
    return exclusive;
}

}  // namespace Arbor::Platform
#endif
