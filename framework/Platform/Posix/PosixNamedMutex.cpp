// Named mutexes on POSIX hosts: an flock on a file named after the mutex in the user's
// runtime folder, seen by every process of the user. flock belongs to the process (to
// its open file), so the handles inside this process share one file and one lock and
// take turns through a table, keeping the system's answers: a second handle of an open
// name answers "already existed" and does not own. The last handle of the last process
// removes the file (see closeHandle), so lock files do not pile up.
#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "framework/Platform/NamedMutex.h"
#include "framework/Platform/Posix/HostSystem.h"
#include "framework/Text/Utf.h"

namespace Arbor::Platform {

namespace {

struct Entry {
    std::string path;
    int handles = 0;
    const void* owner = nullptr;
    int fd = -1;
    bool processHolds = false;
    std::condition_variable released;
};

std::mutex tableMutex;
std::map<std::string, std::unique_ptr<Entry>>& table() {
    static auto* entries = new std::map<std::string, std::unique_ptr<Entry>>;
    return *entries;
}

std::string lockFilePath(const std::string& name) {
    std::filesystem::path folder;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/') {
        std::error_code error;
        if (std::filesystem::is_directory(runtime, error)) folder = runtime;
    }
    if (folder.empty()) {
        std::error_code error;
        folder = std::filesystem::temp_directory_path(error);
        if (error) folder = "/tmp";
    }
    // The name may hold any character: spell its bytes in hex (a long one by its hash).
    std::string key;
    char digits[3];
    if (name.size() <= 96) {
        for (unsigned char c : name) {
            std::snprintf(digits, sizeof digits, "%02x", c);
            key += digits;
        }
    } else {
        std::uint64_t hash = 1469598103934665603ull;
        for (unsigned char c : name) hash = (hash ^ c) * 1099511628211ull;
        key = "h" + std::to_string(hash) + "-" + std::to_string(name.size());
    }
    return (folder / ("arbor-mutex-" + std::to_string(getuid()) + "-" + key + ".lock")).string();
}

int openLockFile(const std::string& path) {
    return ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
}

// Whether the open file is still the one at the path. The last holder removes the file
// while it holds the lock, so a lock taken on a file that has meanwhile been removed
// (or replaced by a newer one) guards nothing and must be taken again on a fresh open.
bool isCurrentFile(int fd, const std::string& path) {
    struct stat open {}, named {};
    if (::fstat(fd, &open) != 0 || ::stat(path.c_str(), &named) != 0) return false;
    return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

int lockBlocking(int fd) {
    int result;
    while ((result = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
    }
    return result;
}

class PosixNamedMutex : public NamedMutex {
public:
    ~PosixNamedMutex() override { release(); }

    int create(std::u16string_view name) override {
        release();
        const std::string key = Text::toUtf8(name);
        std::lock_guard lock(tableMutex);
        auto& slot = table()[key];
        if (!slot) {
            slot = std::make_unique<Entry>();
            slot->path = lockFilePath(key);
        }
        Entry& entry = *slot;
        if (entry.handles > 0) {
            // Open in this process already: one file, one lock, shared by the handles.
            ++entry.handles;
            key_ = key;
            open_ = true;
            return 1;
        }
        for (;;) {
            entry.fd = openLockFile(entry.path);
            if (entry.fd < 0) {
                table().erase(key);
                return 2;
            }
            if (::flock(entry.fd, LOCK_EX | LOCK_NB) == 0) {
                if (!isCurrentFile(entry.fd, entry.path)) {
                    // Removed by its last holder between our open and our lock.
                    ::close(entry.fd);
                    continue;
                }
                entry.processHolds = true;
                entry.owner = this;
                break;
            }
            if (errno != EWOULDBLOCK) {
                ::close(entry.fd);
                table().erase(key);
                return 2;
            }
            break;  // another process holds it
        }
        entry.handles = 1;
        key_ = key;
        open_ = true;
        return entry.owner == this ? 0 : 1;
    }

    bool lock() override {
        if (!open_) return false;
        std::unique_lock lock(tableMutex);
        Entry& entry = *table().at(key_);
        if (entry.owner == this) return true;
        entry.released.wait(lock, [&] { return entry.owner == nullptr; });
        entry.owner = this;
        while (!entry.processHolds) {
            // The other handles of this process wait on `released` meanwhile, so the
            // descriptor is this handle's to lock and, when stale, to replace.
            const int fd = entry.fd;
            lock.unlock();
            const int result = lockBlocking(fd);
            const bool current = result == 0 && isCurrentFile(fd, entry.path);
            int fresh = -1;
            if (result == 0 && !current) {
                ::close(fd);
                fresh = openLockFile(entry.path);
            }
            lock.lock();
            if (result != 0 || (!current && fresh < 0)) {
                if (!current && result == 0) entry.fd = -1;
                entry.owner = nullptr;
                entry.released.notify_all();
                return false;
            }
            if (current) {
                entry.processHolds = true;
            } else {
                entry.fd = fresh;
            }
        }
        return true;
    }

    void release() override {
        if (!open_) return;
        std::lock_guard lock(tableMutex);
        closeHandle(*table().at(key_));
    }

private:
    // Table lock held.
    void closeHandle(Entry& entry) {
        const bool last = entry.handles == 1;
        // The last handle of the process removes the file when no other process holds
        // the lock: it takes the lock first and removes the file while holding it, so a
        // process that opened the file meanwhile finds it gone once it gets the lock.
        if (last && entry.fd >= 0) {
            const bool held = entry.processHolds || ::flock(entry.fd, LOCK_EX | LOCK_NB) == 0;
            if (held && isCurrentFile(entry.fd, entry.path)) ::unlink(entry.path.c_str());
        }
        if (entry.owner == this) {
            entry.owner = nullptr;
            if (!last) ::flock(entry.fd, LOCK_UN);
            entry.processHolds = false;
            entry.released.notify_all();
        }
        open_ = false;
        if (--entry.handles == 0) {
            if (entry.fd >= 0) ::close(entry.fd);
            table().erase(key_);
        }
    }

    std::string key_;
    bool open_ = false;
};

}  // namespace

std::filesystem::path Posix::namedMutexLockFile(std::u16string_view name) {
    return lockFilePath(Text::toUtf8(name));
}

std::unique_ptr<NamedMutex> Posix::makeNamedMutex() { return std::make_unique<PosixNamedMutex>(); }

}  // namespace Arbor::Platform
#endif
