#pragma once
// The named mutex, through the platform seam: a kernel mutex on Win32, a lock file on
// POSIX hosts of the headless backend (see framework/Platform/NamedMutex.h).
#include <memory>

#include "framework/Threading/AbstractMutex.h"

namespace Arbor::Platform {
class NamedMutex;
}

namespace Arbor::Threading {

class Mutex : public AbstractMutex {
public:
    Mutex();
    int create(std::u16string_view name) override;
    bool lock() override;
    void release() override;
    ~Mutex() override;

private:
    std::unique_ptr<Platform::NamedMutex> handle_;
};

}  // namespace Arbor::Threading
