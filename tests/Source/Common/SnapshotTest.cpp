#include <gtest/gtest.h>

#include "Source/Common/ClockSnapshot.h"
#include "Source/Common/MemorySnapshot.h"
#include "Source/Common/SnapshotTimer.h"
#include "framework/Platform/Backend.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/MessageQueue.h"

using Quenta::Common::ClockSnapshot;
using Quenta::Common::LocalClock;
using Quenta::Common::MemorySnapshot;
using Arbor::Platform::Headless::HeadlessDesktop;

TEST(ClockSnapshot, DayOfYearFollowsTheLeapYearRule) {
    EXPECT_EQ(ClockSnapshot::dayOfYear(2023, 1, 1), 1);
    EXPECT_EQ(ClockSnapshot::dayOfYear(2024, 3, 1), 61);  // divisible by 4
    EXPECT_EQ(ClockSnapshot::dayOfYear(1900, 3, 1), 60);  // by 100, not by 400
    EXPECT_EQ(ClockSnapshot::dayOfYear(2000, 3, 1), 61);  // by 400
    EXPECT_EQ(ClockSnapshot::dayOfYear(2024, 12, 31), 366);
    EXPECT_EQ(ClockSnapshot::dayOfYear(2023, 12, 31), 365);
}

TEST(ClockSnapshot, DayOfYearIsRecomputedWhenTheDayChanges) {
    ClockSnapshot snapshot;
    snapshot.update(LocalClock{2024, 2, 3, 28, 23, 59, 59, 900});
    EXPECT_EQ(snapshot.dayOfYear(), 59);
    snapshot.update(LocalClock{2024, 2, 4, 29, 0, 0, 0, 400});
    EXPECT_EQ(snapshot.dayOfYear(), 60);
    EXPECT_EQ(snapshot.clock().second, 0);
    // Same day in another year is still a change.
    snapshot.update(LocalClock{2025, 2, 6, 29, 0, 0, 0, 0});
    EXPECT_EQ(snapshot.dayOfYear(), 60);
    snapshot.update(LocalClock{2023, 3, 3, 1, 0, 0, 0, 0});
    EXPECT_EQ(snapshot.dayOfYear(), 60);
}

TEST(SnapshotTimer, RefreshesEveryHalfSecondOnTheThreadThatPumps) {
    if (Arbor::Platform::currentBackendName() != "Headless") {
        GTEST_SKIP() << "steps the headless desktop's clock";
    }
    HeadlessDesktop& desktop = HeadlessDesktop::instance();
    desktop.reset();
    desktop.setClock(1000, Arbor::Platform::LocalTime{2024, 2, 3, 28, 23, 59, 59, 700});
    desktop.setMemoryStatus(std::nullopt);
    Quenta::Common::SnapshotTimer timer;
    ASSERT_TRUE(timer.isRunning());
    // Taken once at once.
    EXPECT_EQ(ClockSnapshot::instance().clock().second, 59);
    EXPECT_EQ(ClockSnapshot::instance().dayOfYear(), 59);
    EXPECT_TRUE(MemorySnapshot::instance().isUnavailable());

    Arbor::Platform::MemoryStatus status;
    status.memoryLoad = 42;
    desktop.setMemoryStatus(status);
    desktop.stepClock(500);
    auto& queue = Arbor::Platform::messageQueueService();
    Arbor::Platform::Message m;
    while (queue.peekMessage(m)) queue.dispatchMessage(m);
    EXPECT_EQ(ClockSnapshot::instance().clock().day, 29);
    EXPECT_EQ(ClockSnapshot::instance().dayOfYear(), 60);
    EXPECT_FALSE(MemorySnapshot::instance().isUnavailable());
    EXPECT_EQ(MemorySnapshot::instance().status().memoryLoad, 42u);
    desktop.reset();
}
