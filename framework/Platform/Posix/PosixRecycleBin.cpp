// The recycle bin of a Linux desktop: the freedesktop trash of the home volume,
// $XDG_DATA_HOME/Trash, whose files/ and info/ are emptied. Everything is removed
// through descriptors of folders opened without following links, so a symbolic link
// inside the trash (or one swapped in while it is emptied) is removed as a link and
// never leads the deletion out of the trash.
#if !defined(_WIN32)
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "framework/Platform/Posix/PosixDesktop.h"
#include "framework/Platform/Posix/XdgPaths.h"
#include "framework/Platform/RecycleBin.h"

namespace Arbor::Platform {

namespace {

constexpr int maximumDepth = 256;

int openFolder(int parent, const char* name) {
    return openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Removes every entry of the open folder; closes the descriptor.
bool removeEntries(int folder, int depth) {
    DIR* listing = fdopendir(folder);
    if (!listing) {
        close(folder);
        return false;
    }
    std::vector<std::string> names;
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    bool ok = true;
    const int fd = dirfd(listing);
    for (const std::string& name : names) {
        struct stat info {};
        if (fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            ok = false;
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            const int child = depth < maximumDepth ? openFolder(fd, name.c_str()) : -1;
            if (child < 0 || !removeEntries(child, depth + 1)) {
                ok = false;
                continue;
            }
            if (unlinkat(fd, name.c_str(), AT_REMOVEDIR) != 0) ok = false;
        } else if (unlinkat(fd, name.c_str(), 0) != 0) {
            ok = false;
        }
    }
    closedir(listing);
    return ok;
}

class PosixRecycleBinService : public RecycleBinService {
public:
    bool empty() override {
        const std::filesystem::path data = Posix::xdgDataHome();
        if (data.empty()) return false;
        const std::filesystem::path trash = data / "Trash";
        struct stat info {};
        if (lstat(trash.c_str(), &info) != 0) return errno == ENOENT;  // no trash: nothing to empty
        if (!S_ISDIR(info.st_mode)) return false;
        const int root = open(trash.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (root < 0) return false;
        bool ok = true;
        for (const char* part : {"files", "info"}) {
            const int folder = openFolder(root, part);
            if (folder < 0) {
                if (errno != ENOENT) ok = false;
                continue;
            }
            ok = removeEntries(folder, 0) && ok;
        }
        // The cached sizes of the trashed folders are stale now.
        if (unlinkat(root, "directorysizes", 0) != 0 && errno != ENOENT) ok = false;
        close(root);
        return ok;
    }
};

}  // namespace

bool Posix::removeContentsInside(const std::filesystem::path& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    return removeEntries(fd, 0);
}

std::unique_ptr<RecycleBinService> Posix::makeRecycleBinService() {
    return std::make_unique<PosixRecycleBinService>();
}

}  // namespace Arbor::Platform
#endif
