#pragma once
// Audio output service: wave-out devices that play PCM buffers in the order they are
// written and report each finished buffer, plus the system's master volume and mute.
//
// The shape follows the Windows wave-out model on every backend: a device is opened
// for one PCM format, up to two buffers are prepared on it, and every buffer written
// comes back through the device's completion function once it has been played (or
// returned early by reset). The completion function runs in the backend's own context
// (a driver thread, or the headless clock's caller); it must only hand the notice on.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace Arbor::Platform {

// The PCM description of a wave file (the fields of WAVEFORMATEX without the
// extra-size word).
struct AudioFormat {
    std::uint16_t formatTag = 1;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSecond = 0;
    std::uint32_t averageBytesPerSecond = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
};

// True for an integer PCM format that a device can play: 1 to 8 channels, a rate,
// 8/16/24/32 bits, and block align and byte rate consistent with them.
bool isPlayableFormat(const AudioFormat& format);

// Called when a written buffer comes back: its index and the tag it was written with.
using AudioDoneFunction = std::function<void(int buffer, std::uint32_t tag)>;

// One open wave-out device. Destroying it resets it (queued buffers come back) and
// closes it; no completion call is made after the destructor returns.
class AudioDevice {
public:
    static constexpr int bufferCount = 2;

    AudioDevice() = default;
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;
    virtual ~AudioDevice() = default;

    // Describes buffer `buffer` (0 or 1): the bytes stay owned by the caller and must
    // outlive the preparation. Fails for a queued buffer or a bad index.
    virtual bool prepare(int buffer, const std::uint8_t* data, std::size_t length) = 0;
    // Forgets a prepared buffer; a queued one is left alone (false).
    virtual bool unprepare(int buffer) = 0;
    // Queues a prepared buffer behind those already queued.
    virtual bool write(int buffer, std::uint32_t tag) = 0;
    // True while the buffer is queued (written and not yet come back).
    virtual bool isQueued(int buffer) const = 0;
    // Stops playback at once; every queued buffer comes back as done.
    virtual void reset() = 0;
    virtual void pause() = 0;
    virtual void restart() = 0;
};

class AudioOutput {
public:
    AudioOutput() = default;
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;
    virtual ~AudioOutput() = default;

    // Opens a device on the default output for the format. `onDone` may be empty
    // (a device nobody writes to). Null when there is no output or it refuses.
    virtual std::unique_ptr<AudioDevice> open(const AudioFormat& format, AudioDoneFunction onDone) = 0;

    // Master volume of the default output as a scalar 0..1; none on failure.
    virtual std::optional<float> masterVolume() = 0;
    virtual bool setMasterVolume(float level) = 0;
    virtual bool setMute(bool on) = 0;
    // The mute state; none on failure.
    virtual std::optional<bool> isMuted() = 0;
};

// True when this build holds the named backend, and with it its audio output.
bool hasAudioOutput(std::string_view backend);

// The process-wide output of the named backend, created on first use; null when the
// build has no such backend. Backends that share an implementation share its output.
AudioOutput* audioOutputFor(std::string_view backend);

// The output of the current backend.
AudioOutput& audioOutput();

// A fresh, separately owned output of the named backend (tests use these to get a
// clean device list or a private ALSA configuration). `configuration`, when not empty,
// is backend-specific text: the X11 backend reads it as ALSA configuration instead of
// the system's for the PCM and mixer lookups; others ignore it. Null when the build
// has no such backend.
std::unique_ptr<AudioOutput> createAudioOutput(std::string_view backend, const std::string& configuration = {});

}  // namespace Arbor::Platform
