#include "framework/Media/Sound.h"

namespace Arbor::Media {

Sound::Sound(const WaveFormat& format, std::vector<std::uint8_t> samples)
    : format_(format), samples_(std::move(samples)) {
    header_.data = samples_.data();
    header_.bufferLength = static_cast<std::uint32_t>(samples_.size());
    header_.flags = waveHeaderBeginLoop | waveHeaderEndLoop;
    header_.loops = 1;
    loaded_ = true;
}

std::uint32_t Sound::frameCount() const {
    if (format_.blockAlign == 0) return 0;
    return header_.bufferLength / format_.blockAlign;
}

}  // namespace Arbor::Media
