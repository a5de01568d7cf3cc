#include "framework/Media/SystemAudio.h"

namespace Arbor::Media {

Platform::AudioFormat SystemAudio::format() {
    Platform::AudioFormat f;
    f.formatTag = 1;
    f.channels = 1;
    f.samplesPerSecond = 50;
    f.averageBytesPerSecond = 50;
    f.blockAlign = 1;
    f.bitsPerSample = 8;
    return f;
}

SystemAudio& SystemAudio::instance() {
    static SystemAudio audio(Platform::audioOutput());
    return audio;
}

SystemAudio::SystemAudio(Platform::AudioOutput& output) : device_(output.open(format(), {})) {}

SystemAudio::~SystemAudio() = default;

}  // namespace Arbor::Media
