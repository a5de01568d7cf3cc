// Named mutexes on POSIX hosts: an flock on a file named after the mutex in the user's
// runtime folder, seen by every process of the user. flock belongs to the process (to
// its open file), so the handles inside this process share one file and one lock and
// take turns through a table, keeping the system's answers: a second handle of an open
// name answers "already existed" and does not own.
#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/file.h>
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

class PosixNamedMutex : public NamedMutex {
public:
    ~PosixNamedMutex() override { release(); }

    int create(std::u16string_view name) override {
        release();
        const std::string key = Text::toUtf8(name);
        std::lock_guard lock(tableMutex);
        auto& slot = table()[key];
        if (!slot) slot = std::make_unique<Entry>();
        Entry& entry = *slot;
        if (entry.fd < 0) {
            entry.fd = ::open(lockFilePath(key).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
            if (entry.fd < 0) {
                if (entry.handles == 0) table().erase(key);
                return 2;
            }
        }
        const bool openHere = entry.handles > 0;
        ++entry.handles;
        key_ = key;
        open_ = true;
        if (openHere) return 1;
        if (::flock(entry.fd, LOCK_EX | LOCK_NB) == 0) {
            entry.processHolds = true;
            entry.owner = this;
            return 0;
        }
        if (errno == EWOULDBLOCK) return 1;  // another process holds it
        closeHandle(entry);
        return 2;
    }

    bool lock() override {
        if (!open_) return false;
        std::unique_lock lock(tableMutex);
        Entry& entry = *table().at(key_);
        if (entry.owner == this) return true;
        entry.released.wait(lock, [&] { return entry.owner == nullptr; });
        entry.owner = this;
        if (!entry.processHolds) {
            const int fd = entry.fd;
            lock.unlock();
            int result;
            while ((result = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
            }
            lock.lock();
            if (result != 0) {
                entry.owner = nullptr;
                entry.released.notify_all();
                return false;
            }
            entry.processHolds = true;
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
        if (entry.owner == this) {
            entry.owner = nullptr;
            ::flock(entry.fd, LOCK_UN);
            entry.processHolds = false;
            entry.released.notify_all();
        }
        open_ = false;
        if (--entry.handles == 0) {
            ::close(entry.fd);
            table().erase(key_);
        }
    }

    std::string key_;
    bool open_ = false;
};

}  // namespace

std::unique_ptr<NamedMutex> Posix::makeNamedMutex() { return std::make_unique<PosixNamedMutex>(); }

}  // namespace Arbor::Platform
#endif
