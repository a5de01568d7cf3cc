// The executable's path, the per-user data folder and the writability test on POSIX
// hosts.
#if !defined(_WIN32)
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "framework/Platform/Folders.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/Posix/HostSystem.h"

namespace Arbor::Platform {

namespace {

class PosixFolderService : public FolderService {
public:
    std::u16string executablePath() override {
        std::error_code error;
        const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
        if (error) return {};
        return fromNativePath(path);
    }

    std::u16string applicationDataFolder() override {
        if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/') {
            return fromNativePath(std::filesystem::path(data));
        }
        const std::u16string home = homeFolder();
        if (home.empty()) return {};
        return fromNativePath(toNativePath(home) / ".local" / "share");
    }

    std::u16string homeFolder() override {
        if (const char* value = std::getenv("HOME"); value && value[0] == '/') {
            return fromNativePath(std::filesystem::path(value));
        }
        if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && entry->pw_dir[0] == '/') {
            return fromNativePath(std::filesystem::path(entry->pw_dir));
        }
        return {};
    }

    bool isWritableDirectory(std::u16string_view directory) override {
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
};

}  // namespace

std::unique_ptr<FolderService> Posix::makeFolderService() { return std::make_unique<PosixFolderService>(); }

}  // namespace Arbor::Platform
#endif
