#pragma once
// The headless audio output: devices that play nothing but keep time. Buffers are
// played one after another by a clock that only moves when asked (`advance`), so tests
// decide exactly when each buffer finishes. Every write is recorded, and a master
// volume and mute are kept here instead of the system's.
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

#include "framework/Platform/AudioOutput.h"

namespace Arbor::Platform {

class HeadlessAudioDevice;

class HeadlessAudio final : public AudioOutput {
public:
    struct Write {
        const std::uint8_t* data;
        std::size_t length;
        std::int64_t timeMicroseconds;  // clock reading when it was queued
    };

    HeadlessAudio() = default;
    ~HeadlessAudio() override;

    std::unique_ptr<AudioDevice> open(const AudioFormat& format, AudioDoneFunction onDone) override;
    std::optional<float> masterVolume() override;
    bool setMasterVolume(float level) override;
    bool setMute(bool on) override;
    std::optional<bool> isMuted() override;

    // Plays every open, unpaused device for that long; buffers that finish come back
    // (completion functions are called on the calling thread, in finishing order).
    void advance(std::int64_t milliseconds);
    std::int64_t nowMicroseconds() const;

    // Simulates a machine without a sound device (open fails) or a volume control
    // that cannot be reached (volume calls fail).
    void setDeviceAvailable(bool available);
    void setVolumeAvailable(bool available);

    // How often a buffer starting at `data` was queued / came back after playing
    // to its end (returns by reset are not counted as played).
    int writeCount(const void* data) const;
    int playedCount(const void* data) const;
    // The latest writes in order (at most kWriteRecordLimit).
    std::vector<Write> writes() const;
    static constexpr std::size_t kWriteRecordLimit = 10000;
    int openDeviceCount() const;
    int openCount() const;  // successful opens since the last clearRecord
    void clearRecord();

private:
    friend class HeadlessAudioDevice;
    struct Completion {
        AudioDoneFunction function;
        int buffer;
        std::uint32_t tag;
    };
    void deliver(std::vector<Completion>& completions);
    void detach(HeadlessAudioDevice* device);

    mutable std::mutex state_;       // everything below
    std::mutex delivering_;          // held while completion functions run
    std::vector<HeadlessAudioDevice*> devices_;
    std::map<const void*, int> writeCounts_;
    std::map<const void*, int> playedCounts_;
    std::vector<Write> writes_;
    std::int64_t now_ = 0;
    int opens_ = 0;
    bool deviceAvailable_ = true;
    bool volumeAvailable_ = true;
    float volume_ = 1.0f;
    bool muted_ = false;
};

// The process-wide headless output (the one `audioOutputFor("Headless")` returns).
HeadlessAudio& headlessAudio();

}  // namespace Arbor::Platform
