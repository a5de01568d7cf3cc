#include <gtest/gtest.h>

#include <vector>

#include "Source/Common/FramePacer.h"

using Quenta::Common::FramePacer;

namespace {

// Runs frames against a fake clock: each frame takes its duration, then the loop waits
// what the pacer says. Returns the tick at which every frame started.
std::vector<std::uint32_t> simulate(std::uint32_t start, const std::vector<std::uint32_t>& durations) {
    FramePacer pacer(start);
    std::uint32_t now = start;
    std::vector<std::uint32_t> starts;
    for (std::uint32_t d : durations) {
        starts.push_back(now);
        now += d;
        now += pacer.frameDone(now);
    }
    starts.push_back(now);
    return starts;
}

}  // namespace

TEST(FramePacer, OnScheduleFramesStartAtFlooredThirtieths) {
    const auto starts = simulate(1000, std::vector<std::uint32_t>(30, 0));
    // Frame n of the second is due at T0 + floor(n * 33.333332).
    EXPECT_EQ(starts[1], 1033u);
    EXPECT_EQ(starts[2], 1066u);
    EXPECT_EQ(starts[3], 1099u);  // floor(99.999996), not 100
    EXPECT_EQ(starts[29], 1966u);
    EXPECT_EQ(starts[30], 1999u);  // 30 frames take 999 ms
}

TEST(FramePacer, ReanchorsOneMillisecondBeforeTheSecondsEnd) {
    FramePacer pacer(0);
    for (int i = 0; i < 29; ++i) pacer.frameDone(static_cast<std::uint32_t>(i * 33 + 1));
    // The 30th frame ends at 990: it waits 9 ms (to 999); the new anchor is 998.
    EXPECT_EQ(pacer.frameDone(990), 9u);
    EXPECT_EQ(pacer.anchor(), 998u);
    EXPECT_EQ(pacer.frameInSecond(), 0);
    // The first frame of the next second is due at 998 + 33.
    EXPECT_EQ(pacer.frameDone(1000), 31u);
}

TEST(FramePacer, ALongFrameIsFollowedBackToBackUntilTheScheduleIsMet) {
    std::vector<std::uint32_t> durations(30, 0);
    durations[0] = 100;
    const auto starts = simulate(0, durations);
    // Frames 1 and 2 were due at 33 and 66: they run at once, at 100.
    EXPECT_EQ(starts[1], 100u);
    EXPECT_EQ(starts[2], 100u);
    EXPECT_EQ(starts[3], 100u);  // due at 99
    // From frame 4 on the original schedule holds again: no frame was skipped.
    EXPECT_EQ(starts[4], 133u);
    EXPECT_EQ(starts[5], 166u);
    EXPECT_EQ(starts[30], 999u);
}

TEST(FramePacer, LatenessAtTheEndOfASecondIsDropped) {
    // Every frame takes 40 ms: the second ends 201 ms late.
    std::vector<std::uint32_t> durations(31, 40);
    const auto starts = simulate(0, durations);
    EXPECT_EQ(starts[30], 1200u);  // 30 frames back to back, never a wait
    // The next second counts from the end of the 30th frame (less the 1 ms of the
    // floored schedule): the anchor is 1199 and frame 1 is due at 1232, not earlier.
    FramePacer pacer(0);
    std::uint32_t now = 0;
    for (int i = 0; i < 30; ++i) {
        now += 40;
        EXPECT_EQ(pacer.frameDone(now), 0u);
    }
    EXPECT_EQ(pacer.anchor(), 1199u);
    EXPECT_EQ(pacer.frameDone(1210), 22u);  // due at 1232
}

TEST(FramePacer, TickWrapIsHarmless) {
    const std::uint32_t start = 0xFFFFFFF0u;
    const auto starts = simulate(start, std::vector<std::uint32_t>(4, 1));
    EXPECT_EQ(starts[1], start + 33u);
    EXPECT_EQ(starts[2], start + 66u);
    EXPECT_EQ(starts[3], start + 99u);
}
