#pragma once
// A parsed ".wav" file: its PCM format and the whole sample block, ready to be handed
// to a wave-out device. Sounds are owned by the resource cache; players only point at
// them.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Arbor::Media {

// The 18-byte WAVEFORMATEX layout of a wave file's "fmt " chunk.
struct WaveFormat {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSecond = 0;
    std::uint32_t averageBytesPerSecond = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t extraSize = 0;
};

constexpr std::uint16_t waveFormatPcm = 1;
// WAVEHDR flags of a sound's header template.
constexpr std::uint32_t waveHeaderBeginLoop = 0x04;
constexpr std::uint32_t waveHeaderEndLoop = 0x08;

// The WAVEHDR template of a sound: where the samples are and how a player queues them.
struct WaveHeader {
    const std::uint8_t* data = nullptr;
    std::uint32_t bufferLength = 0;
    std::uint32_t flags = 0;
    std::uint32_t loops = 0;
};

class Sound {
public:
    Sound(const WaveFormat& format, std::vector<std::uint8_t> samples);
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;
    virtual ~Sound() = default;

    const WaveFormat& format() const { return format_; }
    const WaveHeader& header() const { return header_; }
    const std::vector<std::uint8_t>& samples() const { return samples_; }
    bool isLoaded() const { return loaded_; }
    // Sample frames in the block (0 when the block align is 0).
    std::uint32_t frameCount() const;

private:
    WaveFormat format_;
    std::vector<std::uint8_t> samples_;
    WaveHeader header_;
    bool loaded_ = false;
};

}  // namespace Arbor::Media
