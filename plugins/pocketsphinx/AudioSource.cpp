#include "AudioSource.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>

#include <sphinxbase/ad.h>

namespace PocketSphinxPlugin {

namespace {

std::uint32_t le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

class WavAudioSource final : public AudioSource {
public:
    bool open(const std::string& path, int rate, std::string& error) {
        in_.open(path, std::ios::binary);
        if (!in_) {
            error = "cannot open " + path;
            return false;
        }
        unsigned char header[12];
        if (!in_.read(reinterpret_cast<char*>(header), 12) || std::memcmp(header, "RIFF", 4) != 0 ||
            std::memcmp(header + 8, "WAVE", 4) != 0) {
            error = path + " is not a WAV stream";
            return false;
        }
        bool formatSeen = false;
        for (;;) {
            unsigned char chunk[8];
            if (!in_.read(reinterpret_cast<char*>(chunk), 8)) {
                error = path + " has no data chunk";
                return false;
            }
            const std::uint32_t size = le32(chunk + 4);
            if (std::memcmp(chunk, "fmt ", 4) == 0) {
                std::array<unsigned char, 16> format{};
                if (size < 16 || !in_.read(reinterpret_cast<char*>(format.data()), 16)) {
                    error = path + " has a short format chunk";
                    return false;
                }
                if (le16(&format[0]) != 1 || le16(&format[2]) != 1 || le32(&format[4]) != static_cast<std::uint32_t>(rate) ||
                    le16(&format[14]) != 16) {
                    error = path + " is not 16-bit mono PCM at " + std::to_string(rate) + " Hz";
                    return false;
                }
                in_.ignore(static_cast<std::streamsize>(size - 16 + (size & 1)));
                formatSeen = true;
            } else if (std::memcmp(chunk, "data", 4) == 0) {
                if (!formatSeen) {
                    error = path + " has its data before its format";
                    return false;
                }
                // A stream written on the fly may give 0 or 0xFFFFFFFF: read to its end.
                remaining_ = (size == 0 || size == 0xFFFFFFFFu) ? UINT64_MAX : size;
                return true;
            } else {
                in_.ignore(static_cast<std::streamsize>(size + (size & 1)));
            }
        }
    }

    int read(std::int16_t* samples, int max) override {
        if (remaining_ < 2) return -1;
        const std::uint64_t wanted = std::min<std::uint64_t>(static_cast<std::uint64_t>(max) * 2, remaining_ & ~1ull);
        unsigned char bytes[8192];
        const std::size_t take = std::min<std::size_t>(sizeof bytes, static_cast<std::size_t>(wanted));
        in_.read(reinterpret_cast<char*>(bytes), static_cast<std::streamsize>(take));
        const std::size_t got = static_cast<std::size_t>(in_.gcount()) & ~std::size_t{1};
        if (got == 0) return -1;
        if (remaining_ != UINT64_MAX) remaining_ -= got;
        for (std::size_t i = 0; i < got / 2; ++i) samples[i] = static_cast<std::int16_t>(le16(bytes + 2 * i));
        return static_cast<int>(got / 2);
    }

private:
    std::ifstream in_;
    std::uint64_t remaining_ = 0;
};

class DeviceAudioSource final : public AudioSource {
public:
    ~DeviceAudioSource() override {
        if (device_) {
            ad_stop_rec(device_);
            ad_close(device_);
        }
    }
    bool open(int rate, std::string& error) {
        device_ = ad_open_sps(rate);
        if (!device_ || ad_start_rec(device_) < 0) {
            error = "cannot open the default capture device";
            return false;
        }
        return true;
    }
    int read(std::int16_t* samples, int max) override {
        const int32 got = ad_read(device_, samples, max);
        return got < 0 ? -1 : static_cast<int>(got);
    }

private:
    ad_rec_t* device_ = nullptr;
};

}  // namespace

std::unique_ptr<AudioSource> openAudioSource(const std::string& input, int rate, std::string& error) {
    if (input == "default") {
        auto device = std::make_unique<DeviceAudioSource>();
        if (!device->open(rate, error)) return nullptr;
        return device;
    }
    auto wav = std::make_unique<WavAudioSource>();
    if (!wav->open(input, rate, error)) return nullptr;
    return wav;
}

}  // namespace PocketSphinxPlugin
