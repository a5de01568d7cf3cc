#pragma once
// Where the recogniser's samples come from: the default capture device, or a WAV
// stream read from a file or a FIFO. Samples are 16-bit mono at the model's rate.
#include <cstdint>
#include <memory>
#include <string>

namespace PocketSphinxPlugin {

class AudioSource {
public:
    virtual ~AudioSource() = default;
    // Up to `max` samples: how many were read, 0 when none are ready yet, -1 at the
    // end of the stream (or on a device error).
    virtual int read(std::int16_t* samples, int max) = 0;
};

// "default" opens the capture device; anything else is a WAV file or FIFO. Null, with
// the reason in `error`, when the source cannot be opened or its format is not 16-bit
// mono PCM at `rate`.
std::unique_ptr<AudioSource> openAudioSource(const std::string& input, int rate, std::string& error);

}  // namespace PocketSphinxPlugin
