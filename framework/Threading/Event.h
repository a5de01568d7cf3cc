#pragma once
// A kernel-style event built on the standard library so that it behaves alike on every
// platform. An auto-reset event releases one waiter per set and clears itself; a
// manual-reset event stays signalled until reset.
#include <condition_variable>
#include <mutex>

#include "framework/Threading/AbstractEvent.h"

namespace Arbor::Threading {

class Event : public AbstractEvent {
public:
    explicit Event(bool manualReset = false, bool initiallySignalled = false);

    void set() override;
    void reset() override;
    int wait(int milliseconds) override;
    ~Event() override;

    bool isSignalled() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    const bool manualReset_;
    bool signalled_;
};

}  // namespace Arbor::Threading
