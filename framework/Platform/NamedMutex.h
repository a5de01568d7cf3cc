#pragma once
// One handle of a mutex that other processes of the same user can find by name. Win32
// uses a kernel mutex. POSIX hosts (Posix/PosixNamedMutex.cpp) keep a table of names
// inside the process and take an flock on a file named after the mutex in the runtime
// folder ($XDG_RUNTIME_DIR, else the temporary folder), so that another process of the
// same user sees it as well; the last handle to close removes the file.
#include <memory>
#include <string_view>

namespace Arbor::Platform {

class NamedMutex {
public:
    virtual ~NamedMutex() = default;
    // Opens the named mutex, taking ownership when it did not exist yet: 0 created
    // (and owned), 1 it already existed (not owned), 2 failure.
    virtual int create(std::u16string_view name) = 0;
    // Waits without limit until owned.
    virtual bool lock() = 0;
    // Gives up ownership and closes the handle; the object may then create again.
    virtual void release() = 0;
};

// A fresh, unopened handle for the current backend.
std::unique_ptr<NamedMutex> createNamedMutex();

}  // namespace Arbor::Platform
