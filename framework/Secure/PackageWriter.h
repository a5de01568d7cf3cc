#pragma once
// Builds a character package: entries are collected in memory, then the whole package
// is produced at once (or written whole through a temporary file).
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace Arbor::Secure {

class PackageWriter {
public:
    explicit PackageWriter(std::u16string password);
    PackageWriter(const PackageWriter&) = delete;
    PackageWriter& operator=(const PackageWriter&) = delete;

    // Adds one entry. compress: raw deflate (else stored); encipher: the package cipher
    // with a 12-byte header (else plain). False when the name is empty, already used,
    // or the package would outgrow its 32-bit offsets.
    bool add(std::u16string name, std::span<const std::uint8_t> plain, bool compress, bool encipher);

    std::size_t count() const { return entries_.size(); }

    // The complete package bytes; none when it would not fit 32-bit offsets.
    std::optional<std::vector<std::uint8_t>> build() const;

    // Writes the package whole, or leaves the target untouched.
    bool writeTo(const std::filesystem::path& path) const;

private:
    struct Entry {
        std::u16string name;
        std::uint16_t compression = 0;
        std::uint16_t encipherment = 0;
        std::uint32_t crc = 0;
        std::uint32_t plainSize = 0;
        std::vector<std::uint8_t> stored;
    };

    std::u16string password_;
    std::vector<Entry> entries_;
    std::uint64_t dataBytes_ = 0;
};

}  // namespace Arbor::Secure
