#pragma once
// A mutex that other processes can see by name.
#include <string_view>

namespace Arbor::Threading {

class AbstractMutex {
public:
    // Results of create.
    static constexpr int Created = 0;
    static constexpr int AlreadyExisted = 1;
    static constexpr int InvalidHandle = 2;

    // Releases any held mutex, then creates or opens the named one asking for initial
    // ownership (granted only when it did not exist yet).
    virtual int create(std::u16string_view name) = 0;
    // Waits without limit until this object owns the mutex.
    virtual bool lock() = 0;
    // Gives up ownership and closes the handle.
    virtual void release() = 0;
    virtual ~AbstractMutex() = default;

    AbstractMutex() = default;
    AbstractMutex(const AbstractMutex&) = delete;
    AbstractMutex& operator=(const AbstractMutex&) = delete;
};

}  // namespace Arbor::Threading
