// Playback through the build's real sound output: ALSA on Linux (pointed at its null
// device by a private configuration, so no sound card is needed and nothing is heard)
// and wave-out on Windows. The outputs are wrapped so that every buffer written and
// every buffer that comes back is counted.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <mutex>
#include <thread>

#include "WaveBytes.h"
#include "framework/Media/MasterVolume.h"
#include "framework/Media/SoundLoader.h"
#include "framework/Media/WaveOutAudio.h"
#include "framework/Platform/AudioOutput.h"

using namespace Arbor::Media;
using namespace Arbor::Platform;
using namespace std::chrono_literals;

namespace {

// ALSA configuration for the tests: the default PCM swallows everything; the default
// control names a card that does not exist, as on a machine without sound hardware.
const char* const kNullAlsa = "pcm.!default { type null }\nctl.!default { type hw card 31 }\n";

std::unique_ptr<AudioOutput> deviceOutput() {
#if defined(_WIN32)
    return createAudioOutput("Win32");
#elif defined(TAVIZO_HAS_ALSA)
    return createAudioOutput("X11", kNullAlsa);
#else
    return nullptr;
#endif
}

class Counts {
public:
    void wrote(const void* p) { add(writes_, p); }
    void came(const void* p) { add(dones_, p); }
    int writes(const void* p) { return get(writes_, p); }
    int dones(const void* p) { return get(dones_, p); }

private:
    void add(std::map<const void*, int>& m, const void* p) {
        std::lock_guard<std::mutex> guard(lock_);
        m[p] += 1;
    }
    int get(std::map<const void*, int>& m, const void* p) {
        std::lock_guard<std::mutex> guard(lock_);
        return m.count(p) ? m[p] : 0;
    }
    std::mutex lock_;
    std::map<const void*, int> writes_, dones_;
};

class CountingDevice final : public AudioDevice {
public:
    CountingDevice(Counts& counts) : counts_(counts) {}
    void attach(std::unique_ptr<AudioDevice> inner) { inner_ = std::move(inner); }
    bool prepare(int buffer, const std::uint8_t* data, std::size_t length) override {
        data_[buffer & 1] = data;
        return inner_->prepare(buffer, data, length);
    }
    bool unprepare(int buffer) override { return inner_->unprepare(buffer); }
    bool write(int buffer, std::uint32_t tag) override {
        const bool ok = inner_->write(buffer, tag);
        if (ok) counts_.wrote(data_[buffer & 1]);
        return ok;
    }
    bool isQueued(int buffer) const override { return inner_->isQueued(buffer); }
    void reset() override { inner_->reset(); }
    void pause() override { inner_->pause(); }
    void restart() override { inner_->restart(); }
    const std::uint8_t* data_[2] = {nullptr, nullptr};

private:
    Counts& counts_;
    std::unique_ptr<AudioDevice> inner_;
};

class CountingOutput final : public AudioOutput {
public:
    CountingOutput(AudioOutput& inner, Counts& counts) : inner_(inner), counts_(counts) {}
    std::unique_ptr<AudioDevice> open(const AudioFormat& format, AudioDoneFunction onDone) override {
        auto device = std::make_unique<CountingDevice>(counts_);
        CountingDevice* raw = device.get();
        auto inner = inner_.open(format, [this, raw, onDone](int buffer, std::uint32_t tag) {
            counts_.came(raw->data_[buffer & 1]);
            if (onDone) onDone(buffer, tag);
        });
        if (!inner) return nullptr;
        device->attach(std::move(inner));
        return device;
    }
    std::optional<float> masterVolume() override { return inner_.masterVolume(); }
    bool setMasterVolume(float level) override { return inner_.setMasterVolume(level); }
    bool setMute(bool on) override { return inner_.setMute(on); }
    std::optional<bool> isMuted() override { return inner_.isMuted(); }

private:
    AudioOutput& inner_;
    Counts& counts_;
};

// 16-bit stereo at 22050 Hz, 50 ms.
std::unique_ptr<Sound> shortSound(std::size_t frames = 1102) {
    const auto w = WaveBytes::simpleWave({1, 2, 22050, 16}, frames * 4);
    return parseWave(w.data(), w.size());
}

template <class Predicate>
bool waitFor(Predicate done, std::chrono::milliseconds limit = 10s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

class DevicePlayback : public ::testing::Test {
protected:
    void SetUp() override {
        device = deviceOutput();
        if (!device) GTEST_SKIP() << "this build has no native sound output";
        output = std::make_unique<CountingOutput>(*device, counts);
        // Wine without a sound card may have no wave-out device at all; ALSA's null
        // device is always there.
#if defined(_WIN32)
        auto probe = device->open(toFormat(), {});
        if (!probe) GTEST_SKIP() << "no wave-out device (no sound driver in this environment)";
#endif
    }
    static AudioFormat toFormat() {
        AudioFormat f;
        f.channels = 2;
        f.samplesPerSecond = 22050;
        f.averageBytesPerSecond = 22050 * 4;
        f.blockAlign = 4;
        f.bitsPerSample = 16;
        return f;
    }
    const void* key(const Sound& s) { return s.samples().data(); }

    std::unique_ptr<AudioOutput> device;
    Counts counts;
    std::unique_ptr<CountingOutput> output;
};

TEST_F(DevicePlayback, OpensQueuesAndFinishes) {
    auto sound = shortSound();
    WaveOutAudio player(*output);
    ASSERT_TRUE(player.play(sound.get()));
    EXPECT_TRUE(player.hasDevice());
    EXPECT_EQ(counts.writes(key(*sound)), 1);
    EXPECT_TRUE(waitFor([&] { return player.isIdle(); }));
    EXPECT_TRUE(waitFor([&] { return counts.dones(key(*sound)) == 1; }));
}

TEST_F(DevicePlayback, LoopSettingTwoPlaysThreeTimes) {
    auto sound = shortSound();
    WaveOutAudio player(*output);
    player.setLoops(2);
    ASSERT_TRUE(player.play(sound.get()));
    ASSERT_TRUE(waitFor([&] { return counts.dones(key(*sound)) >= 3; }));
    EXPECT_TRUE(waitFor([&] { return player.isIdle(); }));
    std::this_thread::sleep_for(200ms);
    WomDoneDispatcher::instance().flush();
    EXPECT_EQ(counts.writes(key(*sound)), 3);
    EXPECT_EQ(counts.dones(key(*sound)), 3);
}

TEST_F(DevicePlayback, NegativeLoopSettingPlaysUntilStopped) {
    auto sound = shortSound();
    WaveOutAudio player(*output);
    player.setLoops(-1);
    ASSERT_TRUE(player.play(sound.get()));
    ASSERT_TRUE(waitFor([&] { return counts.dones(key(*sound)) >= 6; }));
    EXPECT_FALSE(player.isIdle());
    player.stop();
    WomDoneDispatcher::instance().flush();
    EXPECT_TRUE(player.isIdle());
    const int writes = counts.writes(key(*sound));
    std::this_thread::sleep_for(200ms);
    WomDoneDispatcher::instance().flush();
    EXPECT_EQ(counts.writes(key(*sound)), writes);
    EXPECT_TRUE(player.isIdle());
}

TEST_F(DevicePlayback, PlayIfIdleDuringPlaybackDoesNothing) {
    auto sound = shortSound();
    auto other = shortSound(2000);
    WaveOutAudio player(*output);
    player.setLoops(-1);
    ASSERT_TRUE(player.play(sound.get()));
    EXPECT_FALSE(player.playIfIdle(other.get()));
    EXPECT_EQ(counts.writes(key(*other)), 0);
    player.stop();
    WomDoneDispatcher::instance().flush();
    ASSERT_TRUE(player.isIdle());
    player.setLoops(0);
    EXPECT_TRUE(player.playIfIdle(other.get()));
    EXPECT_EQ(counts.writes(key(*other)), 1);
    EXPECT_TRUE(waitFor([&] { return player.isIdle(); }));
}

TEST_F(DevicePlayback, PauseHoldsPlaybackAndResumeFinishesIt) {
    auto sound = shortSound(22050);  // one second: longer than the device runs ahead
    WaveOutAudio player(*output);
    ASSERT_TRUE(player.play(sound.get()));
    player.pause();
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(player.isIdle());
    player.resume();
    EXPECT_TRUE(waitFor([&] { return player.isIdle(); }));
}

TEST_F(DevicePlayback, EightBitMonoPlays) {
    const auto w = WaveBytes::simpleWave({1, 1, 8000, 8}, 400);
    auto sound = parseWave(w.data(), w.size());
    WaveOutAudio player(*output);
    ASSERT_TRUE(player.play(sound.get()));
    EXPECT_TRUE(waitFor([&] { return player.isIdle(); }));
}

#if defined(TAVIZO_HAS_ALSA) && !defined(_WIN32)
TEST(AlsaOutput, MissingCardFailsQuietly) {
    auto out = createAudioOutput("X11", "pcm.!default { type hw card 31 }\nctl.!default { type hw card 31 }\n");
    ASSERT_TRUE(out);
    auto sound = shortSound();
    WaveOutAudio player(*out);
    EXPECT_FALSE(player.play(sound.get()));
    EXPECT_TRUE(player.isIdle());
    EXPECT_EQ(masterVolume(*out), -1.0);
    EXPECT_FALSE(setMasterVolume(*out, 0.5));
    EXPECT_FALSE(setMute(*out, true));
    EXPECT_FALSE(isMuted(*out).has_value());
}

TEST(AlsaOutput, UnreadableConfigurationHasNoDevice) {
    auto out = createAudioOutput("X11", "pcm.!default { type null ");
    ASSERT_TRUE(out);
    auto sound = shortSound();
    WaveOutAudio player(*out);
    EXPECT_FALSE(player.play(sound.get()));
}

TEST(AlsaOutput, IsReachableBesideTheHeadlessBackend) {
    EXPECT_TRUE(hasAudioOutput("X11"));
    EXPECT_NE(audioOutputFor("X11"), nullptr);
    EXPECT_NE(audioOutputFor("X11"), audioOutputFor("Headless"));
}
#endif

}  // namespace

namespace {

TEST(DeviceMasterVolume, RoundTripsWhereTheSystemHasAControl) {
    auto out = deviceOutput();
    if (!out) GTEST_SKIP() << "this build has no native sound output";
    const double before = masterVolume(*out);
    if (before < 0) GTEST_SKIP() << "no master volume control in this environment";
    EXPECT_LE(before, 1.0);
    // Wine's endpoint volume answers reads but refuses changes (not implemented).
    if (!setMasterVolume(*out, 0.25)) GTEST_SKIP() << "the master volume can be read but not set here";
    EXPECT_NEAR(masterVolume(*out), 0.25, 0.02);
    ASSERT_TRUE(setMasterVolume(*out, 7.0));
    EXPECT_NEAR(masterVolume(*out), 1.0, 0.001);
    const auto muted = isMuted(*out);
    ASSERT_TRUE(muted.has_value());
    ASSERT_TRUE(setMute(*out, !*muted));
    EXPECT_EQ(isMuted(*out), std::optional<bool>(!*muted));
    EXPECT_TRUE(setMute(*out, *muted));
    EXPECT_TRUE(setMasterVolume(*out, before));
}

}  // namespace
