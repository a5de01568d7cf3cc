#include "framework/Secure/PackageWriter.h"

#include <random>

#include "framework/Secure/PackageFormat.h"
#include "framework/Secure/RawDeflate.h"
#include "framework/Secure/WholeFile.h"
#include "framework/Secure/ZipCrypto.h"

namespace Arbor::Secure {

namespace {

constexpr std::uint64_t kMaxOffset = 0xFFFFFFFFu;
// The version fields a ZIP archiver would write for deflate with the traditional
// cipher; readers ignore them.
constexpr std::uint16_t kVersion = 20;

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void putMagic(std::vector<std::uint8_t>& out, const char (&magic)[4]) {
    for (char c : magic) out.push_back(static_cast<std::uint8_t>(c));
}

}  // namespace

PackageWriter::PackageWriter(std::u16string password) : password_(std::move(password)) {}

bool PackageWriter::add(std::u16string name, std::span<const std::uint8_t> plain, bool compress, bool encipher) {
    if (name.empty() || plain.size() > kMaxOffset) return false;
    for (const auto& e : entries_) {
        if (e.name == name) return false;
    }
    Entry entry;
    entry.name = std::move(name);
    entry.crc = crc32Of(plain);
    entry.plainSize = static_cast<std::uint32_t>(plain.size());
    std::vector<std::uint8_t> body;
    if (compress) {
        auto deflated = deflateRaw(plain);
        if (!deflated) return false;
        body = std::move(*deflated);
        entry.compression = kDeflated;
    } else {
        body.assign(plain.begin(), plain.end());
        entry.compression = kStored;
    }
    if (encipher) {
        entry.encipherment = kEnciphered;
        ZipCrypto crypto = ZipCrypto::fromPassword(password_);
        // Readers only run the header through the keys; random bytes keep equal files
        // from enciphering alike. The last byte carries the CRC's top byte as ZIP does.
        static thread_local std::mt19937 random{std::random_device{}()};
        entry.stored.resize(ZipCrypto::kHeaderSize + body.size());
        for (std::size_t i = 0; i + 1 < ZipCrypto::kHeaderSize; ++i) {
            entry.stored[i] = static_cast<std::uint8_t>(random());
        }
        entry.stored[ZipCrypto::kHeaderSize - 1] = static_cast<std::uint8_t>(entry.crc >> 24);
        for (std::size_t i = 0; i < ZipCrypto::kHeaderSize; ++i) crypto.update(entry.stored[i]);
        for (std::size_t i = 0; i < body.size(); ++i) {
            entry.stored[ZipCrypto::kHeaderSize + i] = crypto.encipher(body[i]);
        }
    } else {
        entry.stored = std::move(body);
    }
    if (dataBytes_ + entry.stored.size() > kMaxOffset) return false;
    dataBytes_ += entry.stored.size();
    entries_.push_back(std::move(entry));
    return true;
}

std::optional<std::vector<std::uint8_t>> PackageWriter::build() const {
    std::uint64_t total = dataBytes_ + kTrailerSize;
    for (const auto& e : entries_) total += kEntryHeaderSize + 2 * e.name.size();
    if (total > kMaxOffset) return std::nullopt;

    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(total));
    std::vector<std::uint32_t> offsets;
    offsets.reserve(entries_.size());
    for (const auto& e : entries_) {
        offsets.push_back(static_cast<std::uint32_t>(out.size()));
        out.insert(out.end(), e.stored.begin(), e.stored.end());
    }
    const auto directory = static_cast<std::uint32_t>(out.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        putMagic(out, kEntryMagic);
        put16(out, kVersion);
        put16(out, kVersion);
        put16(out, e.compression);
        put16(out, e.encipherment);
        put16(out, 0);  // time
        put16(out, 0);  // date
        put32(out, 0);
        put32(out, e.crc);
        put32(out, static_cast<std::uint32_t>(e.stored.size()));
        put32(out, e.plainSize);
        put32(out, static_cast<std::uint32_t>(e.name.size()));
        put32(out, offsets[i]);
        for (char16_t c : e.name) put16(out, static_cast<std::uint16_t>(c));
    }
    const auto directorySize = static_cast<std::uint32_t>(out.size() - directory);
    putMagic(out, kTrailerMagic);
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>(entries_.size()));
    put32(out, directorySize);
    put32(out, directory);
    return out;
}

bool PackageWriter::writeTo(const std::filesystem::path& path) const {
    auto bytes = build();
    if (!bytes) return false;
    return writeWholeFile(path, *bytes);
}

}  // namespace Arbor::Secure
