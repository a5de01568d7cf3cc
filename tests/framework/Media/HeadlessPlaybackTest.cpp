#include <gtest/gtest.h>

#include <cmath>

#include "WaveBytes.h"
#include "framework/Media/MasterVolume.h"
#include "framework/Media/SoundLoader.h"
#include "framework/Media/SystemAudio.h"
#include "framework/Media/WaveOutAudio.h"
#include "framework/Platform/Headless/HeadlessAudio.h"

using namespace Arbor::Media;
using Arbor::Platform::HeadlessAudio;

namespace {

// 8 kHz mono 8-bit: 800 bytes play for 100 ms.
std::unique_ptr<Sound> tenthOfASecond(std::size_t bytes = 800) {
    const auto w = WaveBytes::simpleWave({1, 1, 8000, 8}, bytes);
    return parseWave(w.data(), w.size());
}

class HeadlessPlayback : public ::testing::Test {
protected:
    // Moves the headless clock and lets the re-queueing that the finished buffers
    // cause happen before the next step.
    void step(int milliseconds) {
        out.advance(milliseconds);
        WomDoneDispatcher::instance().flush();
    }
    void stepFor(int milliseconds, int by = 10) {
        for (int t = 0; t < milliseconds; t += by) step(by);
    }
    int plays(const Sound& s) { return out.playedCount(s.samples().data()); }
    int writes(const Sound& s) { return out.writeCount(s.samples().data()); }

    HeadlessAudio out;
};

TEST_F(HeadlessPlayback, LoopSettingZeroPlaysOnce) {
    auto sound = tenthOfASecond();
    WaveOutAudio player(out);
    player.setLoops(0);
    ASSERT_TRUE(player.play(sound.get()));
    EXPECT_FALSE(player.isIdle());
    stepFor(1000);
    EXPECT_TRUE(player.isIdle());
    EXPECT_EQ(plays(*sound), 1);
    EXPECT_EQ(writes(*sound), 1);
}

TEST_F(HeadlessPlayback, LoopSettingTwoPlaysThreeTimes) {
    auto sound = tenthOfASecond();
    WaveOutAudio player(out);
    player.setLoops(2);
    EXPECT_EQ(player.loops(), 2);
    EXPECT_EQ(player.loopCount(), 2);
    ASSERT_TRUE(player.play(sound.get()));
    EXPECT_EQ(writes(*sound), 2);  // double buffered from the start
    stepFor(250);
    EXPECT_FALSE(player.isIdle());
    stepFor(1000);
    EXPECT_TRUE(player.isIdle());
    EXPECT_EQ(plays(*sound), 3);
    EXPECT_EQ(writes(*sound), 3);
    EXPECT_EQ(player.loopCount(), 0);
}

TEST_F(HeadlessPlayback, LoopSettingNPlaysNPlusOneTimes) {
    for (int n : {1, 3, 5}) {
        auto sound = tenthOfASecond();
        out.clearRecord();
        WaveOutAudio player(out);
        player.setLoops(n);
        ASSERT_TRUE(player.play(sound.get()));
        stepFor(100 * (n + 3));
        EXPECT_TRUE(player.isIdle());
        EXPECT_EQ(plays(*sound), n + 1) << n;
    }
}

TEST_F(HeadlessPlayback, NegativeLoopSettingPlaysUntilStopped) {
    auto sound = tenthOfASecond();
    WaveOutAudio player(out);
    player.setLoops(-1);
    ASSERT_TRUE(player.play(sound.get()));
    stepFor(2000);
    EXPECT_FALSE(player.isIdle());
    EXPECT_EQ(plays(*sound), 20);
    player.stop();
    WomDoneDispatcher::instance().flush();
    EXPECT_TRUE(player.isIdle());
    const int before = writes(*sound);
    stepFor(1000);
    EXPECT_EQ(writes(*sound), before);
    EXPECT_EQ(plays(*sound), 20);
}

TEST_F(HeadlessPlayback, PlayIfIdleDuringPlaybackDoesNothing) {
    auto first = tenthOfASecond();
    auto second = tenthOfASecond(1600);
    WaveOutAudio player(out);
    ASSERT_TRUE(player.play(first.get()));
    EXPECT_FALSE(player.playIfIdle(second.get()));
    EXPECT_FALSE(player.playIfIdle(first.get()));
    EXPECT_EQ(writes(*second), 0);
    EXPECT_EQ(writes(*first), 1);
    stepFor(200);
    EXPECT_EQ(plays(*first), 1);
    ASSERT_TRUE(player.isIdle());
    EXPECT_TRUE(player.playIfIdle(second.get()));
    EXPECT_EQ(writes(*second), 1);
}

TEST_F(HeadlessPlayback, PlayInterruptsAndRestarts) {
    auto sound = tenthOfASecond();
    WaveOutAudio player(out);
    player.setLoops(-1);
    ASSERT_TRUE(player.play(sound.get()));
    step(50);
    ASSERT_TRUE(player.play(sound.get()));
    // The reset buffers of the first play must not start extra loops.
    EXPECT_EQ(writes(*sound), 4);
    step(110);
    EXPECT_EQ(plays(*sound), 1);
    EXPECT_EQ(writes(*sound), 5);
    player.stop();
}

TEST_F(HeadlessPlayback, DeviceStaysOpenForTheSameSoundAndReopensForAnother) {
    auto a = tenthOfASecond();
    auto b = tenthOfASecond(400);
    WaveOutAudio player(out);
    EXPECT_FALSE(player.hasDevice());
    EXPECT_TRUE(player.isIdle());
    ASSERT_TRUE(player.play(a.get()));
    ASSERT_TRUE(player.play(a.get()));
    EXPECT_EQ(out.openCount(), 1);
    EXPECT_EQ(out.openDeviceCount(), 1);
    ASSERT_TRUE(player.play(b.get()));
    EXPECT_EQ(out.openCount(), 2);
    EXPECT_EQ(out.openDeviceCount(), 1);
    stepFor(200);
    EXPECT_EQ(plays(*b), 1);
    EXPECT_EQ(plays(*a), 0);
}

TEST_F(HeadlessPlayback, DestroyingAPlayerClosesItsDevice) {
    auto sound = tenthOfASecond();
    {
        WaveOutAudio player(out);
        player.setLoops(-1);
        ASSERT_TRUE(player.play(sound.get()));
        EXPECT_EQ(out.openDeviceCount(), 1);
    }
    EXPECT_EQ(out.openDeviceCount(), 0);
    stepFor(300);
    EXPECT_EQ(plays(*sound), 0);
}

TEST_F(HeadlessPlayback, PauseHoldsTheClockAndResumeGoesOn) {
    auto sound = tenthOfASecond();
    WaveOutAudio player(out);
    ASSERT_TRUE(player.play(sound.get()));
    step(50);
    player.pause();
    EXPECT_TRUE(player.isPaused());
    stepFor(500);
    EXPECT_EQ(plays(*sound), 0);
    EXPECT_FALSE(player.isIdle());
    player.resume();
    EXPECT_FALSE(player.isPaused());
    step(40);
    EXPECT_EQ(plays(*sound), 0);
    step(20);
    EXPECT_EQ(plays(*sound), 1);
    player.resume();  // not paused: nothing happens
    EXPECT_FALSE(player.isPaused());
}

TEST_F(HeadlessPlayback, DisabledPlayerPlaysNothingUntilEnabled) {
    auto sound = tenthOfASecond();
    WaveOutAudio player(out);
    player.setLoops(-1);
    ASSERT_TRUE(player.play(sound.get()));
    player.disable();
    EXPECT_TRUE(player.isDisabled());
    WomDoneDispatcher::instance().flush();
    EXPECT_TRUE(player.isIdle());
    EXPECT_FALSE(player.play(sound.get()));
    EXPECT_FALSE(player.playIfIdle(sound.get()));
    player.enable();
    EXPECT_FALSE(player.isDisabled());
    EXPECT_TRUE(player.play(sound.get()));
    player.stop();
}

TEST_F(HeadlessPlayback, SetLoopsStopsPlayback) {
    auto sound = tenthOfASecond();
    WaveOutAudio player(out);
    player.setLoops(-1);
    ASSERT_TRUE(player.play(sound.get()));
    player.setLoops(3);
    WomDoneDispatcher::instance().flush();
    EXPECT_TRUE(player.isIdle());
    EXPECT_EQ(player.loopCount(), 3);
    stepFor(500);
    EXPECT_EQ(plays(*sound), 0);
}

TEST_F(HeadlessPlayback, MissingSoundOrDevicePlaysNothingQuietly) {
    WaveOutAudio player(out);
    EXPECT_FALSE(player.play(nullptr));
    auto sound = tenthOfASecond();
    out.setDeviceAvailable(false);
    EXPECT_FALSE(player.play(sound.get()));
    EXPECT_FALSE(player.hasDevice());
    EXPECT_TRUE(player.isIdle());
    out.setDeviceAvailable(true);
    EXPECT_TRUE(player.play(sound.get()));
}

TEST_F(HeadlessPlayback, UnplayableFormatFailsToOpen) {
    // Parses (the parser checks only the tag) but no device takes 0 channels.
    auto w = WaveBytes::simpleWave({1, 0, 8000, 8}, 10);
    auto sound = parseWave(w.data(), w.size());
    ASSERT_TRUE(sound);
    WaveOutAudio player(out);
    EXPECT_FALSE(player.play(sound.get()));
}

TEST_F(HeadlessPlayback, PlayersShareTheDeviceOutputIndependently) {
    auto a = tenthOfASecond();
    auto b = tenthOfASecond(1600);
    WaveOutAudio one(out), two(out);
    ASSERT_TRUE(one.play(a.get()));
    ASSERT_TRUE(two.play(b.get()));
    EXPECT_EQ(out.openDeviceCount(), 2);
    stepFor(120);
    EXPECT_TRUE(one.isIdle());
    EXPECT_FALSE(two.isIdle());
    stepFor(100);
    EXPECT_TRUE(two.isIdle());
}

TEST(MasterVolume, ClampsToTheUnitRange) {
    HeadlessAudio out;
    EXPECT_TRUE(setMasterVolume(out, 1.5));
    EXPECT_DOUBLE_EQ(masterVolume(out), 1.0);
    EXPECT_TRUE(setMasterVolume(out, -0.2));
    EXPECT_DOUBLE_EQ(masterVolume(out), 0.0);
    EXPECT_TRUE(setMasterVolume(out, 0.3));
    EXPECT_DOUBLE_EQ(masterVolume(out), double(0.3f));  // kept at single precision
    EXPECT_FALSE(setMasterVolume(out, std::nan("")));
    EXPECT_DOUBLE_EQ(masterVolume(out), double(0.3f));
}

TEST(MasterVolume, MuteRoundTrips) {
    HeadlessAudio out;
    ASSERT_EQ(isMuted(out), std::optional<bool>(false));
    EXPECT_TRUE(setMute(out, true));
    EXPECT_EQ(isMuted(out), std::optional<bool>(true));
    EXPECT_TRUE(setMute(out, false));
    EXPECT_EQ(isMuted(out), std::optional<bool>(false));
}

TEST(MasterVolume, FailuresAnswerMinusOneOrFalse) {
    HeadlessAudio out;
    out.setVolumeAvailable(false);
    EXPECT_EQ(masterVolume(out), -1.0);
    EXPECT_FALSE(setMasterVolume(out, 0.5));
    EXPECT_FALSE(setMute(out, true));
    EXPECT_FALSE(isMuted(out).has_value());
}

}  // namespace

namespace {

TEST(SystemAudio, KeepsOneQuietDeviceOpenWhileItLives) {
    HeadlessAudio out;
    {
        SystemAudio keeper(out);
        EXPECT_TRUE(keeper.isOpen());
        EXPECT_EQ(out.openDeviceCount(), 1);
        const auto f = SystemAudio::format();
        EXPECT_EQ(f.channels, 1);
        EXPECT_EQ(f.samplesPerSecond, 50u);
        EXPECT_EQ(f.averageBytesPerSecond, 50u);
        EXPECT_EQ(f.blockAlign, 1);
        EXPECT_EQ(f.bitsPerSample, 8);
        out.advance(1000);
        EXPECT_TRUE(out.writes().empty());
    }
    EXPECT_EQ(out.openDeviceCount(), 0);
}

TEST(SystemAudio, WithoutADeviceStaysClosedQuietly) {
    HeadlessAudio out;
    out.setDeviceAvailable(false);
    SystemAudio keeper(out);
    EXPECT_FALSE(keeper.isOpen());
}

}  // namespace

namespace {

TEST(HeadlessRecord, BuffersArePreparedBeforeTheyAreWrittenAndHeldWhileQueued) {
    HeadlessAudio out;
    int finished = -1;
    auto device = out.open({1, 1, 8000, 8000, 1, 8}, [&](int buffer, std::uint32_t) { finished = buffer; });
    ASSERT_TRUE(device);
    const std::vector<std::uint8_t> bytes(80, 0x80);  // 10 ms
    EXPECT_FALSE(device->write(0, 1)) << "never prepared";
    EXPECT_FALSE(device->prepare(2, bytes.data(), bytes.size())) << "no such buffer";
    ASSERT_TRUE(device->prepare(0, bytes.data(), bytes.size()));
    ASSERT_TRUE(device->write(0, 1));
    EXPECT_TRUE(device->isQueued(0));
    EXPECT_FALSE(device->write(0, 1)) << "already queued";
    EXPECT_FALSE(device->unprepare(0)) << "still queued";
    out.advance(9);
    EXPECT_TRUE(device->isQueued(0));
    out.advance(1);
    EXPECT_FALSE(device->isQueued(0));
    EXPECT_EQ(finished, 0);
    EXPECT_EQ(out.playedCount(bytes.data()), 1);
    EXPECT_TRUE(device->unprepare(0));
    EXPECT_FALSE(device->write(0, 1)) << "unprepared";
}

TEST(HeadlessRecord, LongRunsKeepTheLatestWritesAndFullCounts) {
    HeadlessAudio out;
    auto sound = tenthOfASecond(8);  // 1 ms
    WaveOutAudio player(out);
    player.setLoops(-1);
    ASSERT_TRUE(player.play(sound.get()));
    for (int i = 0; i < 12000; ++i) {
        out.advance(1);
        WomDoneDispatcher::instance().flush();
    }
    player.stop();
    EXPECT_EQ(out.playedCount(sound->samples().data()), 12000);
    EXPECT_GE(out.writeCount(sound->samples().data()), 12000);
    const auto writes = out.writes();
    EXPECT_LE(writes.size(), HeadlessAudio::kWriteRecordLimit);
    ASSERT_FALSE(writes.empty());
    EXPECT_GE(writes.back().timeMicroseconds, 11999000);
}

}  // namespace
