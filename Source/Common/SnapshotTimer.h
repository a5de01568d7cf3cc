#pragma once
// Refreshes the clock and memory snapshots now and then every 500 ms, through a
// windowless timer of the thread that creates it (the user-interface thread: the
// refresh happens when that thread dispatches the timer message).
#include "framework/Platform/MessageQueue.h"

namespace Quenta::Common {

class SnapshotTimer {
public:
    static constexpr unsigned intervalMilliseconds = 500;

    SnapshotTimer();
    ~SnapshotTimer();
    SnapshotTimer(const SnapshotTimer&) = delete;
    SnapshotTimer& operator=(const SnapshotTimer&) = delete;

    bool isRunning() const { return timer_ != 0; }

    static void refreshNow();

private:
    Arbor::Platform::TimerId timer_ = 0;
};

}  // namespace Quenta::Common
