#pragma once
// The wave-out player: owns one device, opened for the format of the sound it plays,
// and loops that sound with two headers over the same sample block, so that one is
// queued while the other plays.
#include <cstdint>
#include <memory>

#include "framework/Counter/RootCounter.h"
#include "framework/Media/Audio.h"
#include "framework/Media/WomDoneDispatcher.h"
#include "framework/Platform/AudioOutput.h"

namespace Arbor::Media {

class WaveOutAudio : public Audio, private WomDoneTarget {
public:
    // Plays through the current backend's output.
    WaveOutAudio();
    // Plays through the given output, which must outlive the player.
    explicit WaveOutAudio(Platform::AudioOutput& output);
    ~WaveOutAudio() override;

    bool isIdle() override;
    int loops() override;
    int loopCount() override;
    void setLoops(int n) override;
    bool playIfIdle(const Sound* sound) override;
    bool play(const Sound* sound) override;
    void stop() override;
    void pause() override;
    void resume() override;
    void disable() override;
    void enable() override;
    bool isDisabled() override;

    bool isPaused();
    // True while a device is open (it stays open between plays of the same sound).
    bool hasDevice();

private:
    void onWomDone(int buffer, std::uint32_t tag) override;
    bool openFor(const Sound* sound);
    void closeDevice();
    bool queue(int buffer);
    void stepLoopCounter();

    Platform::AudioOutput& output_;
    std::uint64_t dispatchId_ = 0;
    const Sound* playing_ = nullptr;
    const Sound* openedFor_ = nullptr;
    std::unique_ptr<Platform::AudioDevice> device_;
    WaveHeader headers_[2];
    std::uint32_t tags_[2] = {0, 0};  // tag of each header's latest write
    std::uint32_t nextTag_ = 0;
    int loopSetting_ = 0;
    Counter::RootCounter loopCounter_;  // counts from the setting toward 0 by 1
    int currentHeader_ = 0;
    bool paused_ = false;
    bool disabled_ = false;
};

}  // namespace Arbor::Media
