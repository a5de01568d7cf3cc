#include "framework/Media/SoundLoader.h"

#include <cstring>
#include <fstream>
#include <system_error>

#include "framework/Platform/ProgramLocation.h"

namespace Arbor::Media {

namespace {

std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

// Bytes of a wave file in memory.
class MemorySource {
public:
    MemorySource(const std::uint8_t* bytes, std::size_t length) : bytes_(bytes), length_(length) {}
    std::uint64_t size() const { return length_; }
    std::uint64_t position() const { return pos_; }
    bool seek(std::uint64_t pos) {
        if (pos > length_) return false;
        pos_ = static_cast<std::size_t>(pos);
        return true;
    }
    bool read(std::uint8_t* out, std::size_t n) {
        if (n > length_ - pos_) return false;
        if (n) std::memcpy(out, bytes_ + pos_, n);
        pos_ += n;
        return true;
    }

private:
    const std::uint8_t* bytes_;
    std::size_t length_;
    std::size_t pos_ = 0;
};

// Bytes of a wave file on disk, read as they are needed.
class FileSource {
public:
    explicit FileSource(std::ifstream& in, std::uint64_t size) : in_(in), size_(size) {}
    std::uint64_t size() const { return size_; }
    std::uint64_t position() const { return pos_; }
    bool seek(std::uint64_t pos) {
        if (pos > size_) return false;
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(pos));
        if (!in_) return false;
        pos_ = pos;
        return true;
    }
    bool read(std::uint8_t* out, std::size_t n) {
        if (n > size_ - pos_) return false;
        in_.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(n));
        if (static_cast<std::size_t>(in_.gcount()) != n) return false;
        pos_ += n;
        return true;
    }

private:
    std::ifstream& in_;
    std::uint64_t size_;
    std::uint64_t pos_ = 0;
};

template <typename Source>
std::unique_ptr<Sound> parse(Source& src) {
    std::uint8_t head[18];

    // "RIFF", its size (not trusted), "WAVE".
    if (!src.read(head, 12)) return nullptr;
    if (std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0) return nullptr;

    // "fmt " and its size, then WAVEFORMATEX read whole.
    if (!src.read(head, 8) || std::memcmp(head, "fmt ", 4) != 0) return nullptr;
    const std::uint32_t formatSize = le32(head + 4);
    if (!src.read(head, 18)) return nullptr;
    WaveFormat format;
    format.formatTag = le16(head);
    format.channels = le16(head + 2);
    format.samplesPerSecond = le32(head + 4);
    format.averageBytesPerSecond = le32(head + 8);
    format.blockAlign = le16(head + 12);
    format.bitsPerSample = le16(head + 14);
    format.extraSize = le16(head + 16);
    if (format.formatTag != waveFormatPcm) return nullptr;
    if (formatSize == 16) {
        // The short form has no extra-size word: the two bytes read belong to the
        // next chunk.
        format.extraSize = 0;
        if (!src.seek(src.position() - 2)) return nullptr;
    } else if (!src.seek(src.position() + format.extraSize)) {
        return nullptr;
    }

    // An optional "fact" chunk: its sample count is read and not used.
    const std::uint64_t factStart = src.position();
    if (src.read(head, 8) && std::memcmp(head, "fact", 4) == 0) {
        if (!src.read(head, 4)) return nullptr;
    } else if (!src.seek(factStart)) {
        return nullptr;
    }

    // "data": every announced byte must be there.
    if (!src.read(head, 8) || std::memcmp(head, "data", 4) != 0) return nullptr;
    const std::uint32_t dataSize = le32(head + 4);
    if (dataSize > src.size() - src.position()) return nullptr;
    std::vector<std::uint8_t> samples;
    try {
        samples.resize(dataSize);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (!src.read(samples.data(), dataSize)) return nullptr;
    return std::make_unique<Sound>(format, std::move(samples));
}

}  // namespace

bool hasWaveExtension(std::u16string_view name) {
    const std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string_view::npos) return false;
    std::u16string_view ext = name.substr(dot);
    if (ext.size() != 4) return false;
    const char16_t want[] = u".wav";
    for (std::size_t i = 0; i < 4; ++i) {
        char16_t c = ext[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != want[i]) return false;
    }
    return true;
}

std::unique_ptr<Sound> parseWave(const std::uint8_t* bytes, std::size_t length) {
    if (!bytes && length) return nullptr;
    MemorySource src(bytes, length);
    return parse(src);
}

std::unique_ptr<Sound> loadSoundMemory(const std::uint8_t* bytes, std::size_t length, std::u16string_view name) {
    if (!hasWaveExtension(name)) return nullptr;
    return parseWave(bytes, length);
}

namespace {
std::unique_ptr<Sound> loadFrom(const std::filesystem::path& native) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(native, ec)) return nullptr;
    const std::uintmax_t size = std::filesystem::file_size(native, ec);
    if (ec) return nullptr;
    std::ifstream in(native, std::ios::binary);
    if (!in) return nullptr;
    FileSource src(in, size);
    return parse(src);
}
}  // namespace

std::unique_ptr<Sound> loadSoundFile(std::u16string_view path) {
    if (!hasWaveExtension(path)) return nullptr;
    const std::filesystem::path native = Platform::findProgramFile(path);
    if (native.empty()) return nullptr;
    return loadFrom(native);
}

}  // namespace Arbor::Media
