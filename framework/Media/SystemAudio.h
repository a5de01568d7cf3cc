#pragma once
// Keeps one wave-out device open for the life of the process (8-bit mono at 50
// samples per second, never written to), so that the audio system stays up between
// the characters' short sounds instead of starting for each one.
#include <memory>

#include "framework/Platform/AudioOutput.h"

namespace Arbor::Media {

class SystemAudio {
public:
    // The process-wide instance, created (and its device opened) on first use.
    static SystemAudio& instance();

    SystemAudio(const SystemAudio&) = delete;
    SystemAudio& operator=(const SystemAudio&) = delete;
    explicit SystemAudio(Platform::AudioOutput& output);
    virtual ~SystemAudio();

    bool isOpen() const { return device_ != nullptr; }
    static Platform::AudioFormat format();

private:
    std::unique_ptr<Platform::AudioDevice> device_;
};

}  // namespace Arbor::Media
