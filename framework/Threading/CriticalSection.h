#pragma once
// The recursive in-process lock. Also meets the standard Lockable requirements
// (lock/unlock/try_lock), so std::lock_guard and std::scoped_lock work with it.
#include <mutex>

#include "framework/Threading/ICriticalSection.h"

namespace Arbor::Threading {

class CriticalSection : public ICriticalSection {
public:
    CriticalSection() = default;
    ~CriticalSection() override = default;
    void enter() override { mutex_.lock(); }
    void leave() override { mutex_.unlock(); }

    void lock() { enter(); }
    void unlock() { leave(); }
    bool try_lock() { return mutex_.try_lock(); }

private:
    std::recursive_mutex mutex_;
};

}  // namespace Arbor::Threading
