#include "framework/Platform/AudioOutput.h"

#include <mutex>

namespace Arbor::Platform {

// Each backend folder defines its maker; only the ones in the build are called.
std::unique_ptr<AudioOutput> createHeadlessAudio();
#if defined(TAVIZO_HAS_WIN32)
std::unique_ptr<AudioOutput> createWin32Audio();
#endif
#if defined(TAVIZO_HAS_ALSA)
std::unique_ptr<AudioOutput> createX11Audio(const std::string& alsaConfiguration);
#endif

bool isPlayableFormat(const AudioFormat& f) {
    if (f.formatTag != 1) return false;
    if (f.channels < 1 || f.channels > 8) return false;
    if (f.samplesPerSecond < 1 || f.samplesPerSecond > 768000) return false;
    if (f.bitsPerSample != 8 && f.bitsPerSample != 16 && f.bitsPerSample != 24 && f.bitsPerSample != 32)
        return false;
    const std::uint32_t align = std::uint32_t(f.channels) * (f.bitsPerSample / 8u);
    return f.blockAlign == align && f.averageBytesPerSecond == f.samplesPerSecond * align;
}

bool hasAudioOutput(BackendKind kind) {
    switch (kind) {
        case BackendKind::Headless: return true;
#if defined(TAVIZO_HAS_WIN32)
        case BackendKind::Win32: return true;
#endif
#if defined(TAVIZO_HAS_ALSA)
        case BackendKind::X11: return true;
#endif
        default: return false;
    }
}

std::unique_ptr<AudioOutput> createAudioOutput(BackendKind kind, [[maybe_unused]] const std::string& alsaConfiguration) {
    switch (kind) {
        case BackendKind::Headless: return createHeadlessAudio();
#if defined(TAVIZO_HAS_WIN32)
        case BackendKind::Win32: return createWin32Audio();
#endif
#if defined(TAVIZO_HAS_ALSA)
        case BackendKind::X11: return createX11Audio(alsaConfiguration);
#endif
        default: return nullptr;
    }
}

AudioOutput* audioOutputFor(BackendKind kind) {
    // One output per backend for the life of the process; players and the volume
    // calls share it. Never destroyed, so that players held by static objects can
    // still close their devices during exit.
    static std::mutex lock;
    static AudioOutput* outputs[3] = {nullptr, nullptr, nullptr};
    const int index = static_cast<int>(kind);
    if (index < 0 || index > 2) return nullptr;
    std::lock_guard<std::mutex> guard(lock);
    if (!outputs[index]) outputs[index] = createAudioOutput(kind).release();
    return outputs[index];
}

AudioOutput& audioOutput() {
    if (AudioOutput* output = audioOutputFor(currentBackend())) return *output;
    return *audioOutputFor(BackendKind::Headless);
}

}  // namespace Arbor::Platform
