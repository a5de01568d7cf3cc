#include "framework/Platform/AudioOutput.h"

#include <map>
#include <mutex>

#include "framework/Platform/Backend.h"
#include "framework/Platform/BackendDriver.h"

namespace Arbor::Platform {

bool isPlayableFormat(const AudioFormat& f) {
    if (f.formatTag != 1) return false;
    if (f.channels < 1 || f.channels > 8) return false;
    if (f.samplesPerSecond < 1 || f.samplesPerSecond > 768000) return false;
    if (f.bitsPerSample != 8 && f.bitsPerSample != 16 && f.bitsPerSample != 24 && f.bitsPerSample != 32)
        return false;
    const std::uint32_t align = std::uint32_t(f.channels) * (f.bitsPerSample / 8u);
    return f.blockAlign == align && f.averageBytesPerSecond == f.samplesPerSecond * align;
}

bool hasAudioOutput(std::string_view backend) { return findBackend(backend) != nullptr; }

std::unique_ptr<AudioOutput> createAudioOutput(std::string_view backend, const std::string& configuration) {
    const BackendDriver* driver = findBackend(backend);
    return driver ? driver->createAudioOutput(configuration) : nullptr;
}

namespace {

// One output per implementation for the life of the process; players and the volume
// calls share it. Never destroyed, so that players held by static objects can still
// close their devices during exit.
AudioOutput* sharedOutput(const BackendDriver& driver) {
    static std::mutex lock;
    static auto* outputs = new std::map<std::unique_ptr<AudioOutput> (*)(const std::string&), AudioOutput*>;
    std::lock_guard<std::mutex> guard(lock);
    AudioOutput*& output = (*outputs)[driver.createAudioOutput];
    if (!output) output = driver.createAudioOutput({}).release();
    return output;
}

}  // namespace

AudioOutput* audioOutputFor(std::string_view backend) {
    const BackendDriver* driver = findBackend(backend);
    return driver ? sharedOutput(*driver) : nullptr;
}

AudioOutput& audioOutput() { return *sharedOutput(currentBackend()); }

}  // namespace Arbor::Platform
