#include "Source/Common/SnapshotTimer.h"

#include "Source/Common/ClockSnapshot.h"
#include "Source/Common/MemorySnapshot.h"

namespace Quenta::Common {

SnapshotTimer::SnapshotTimer() {
    refreshNow();
    timer_ = Arbor::Platform::messageQueueService().setTimer(intervalMilliseconds, &SnapshotTimer::refreshNow);
}

SnapshotTimer::~SnapshotTimer() {
    if (timer_ != 0) Arbor::Platform::messageQueueService().killTimer(timer_);
}

void SnapshotTimer::refreshNow() {
    ClockSnapshot::instance().refresh();
    MemorySnapshot::instance().refresh();
}

}  // namespace Quenta::Common
