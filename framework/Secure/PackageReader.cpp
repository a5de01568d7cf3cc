#include "framework/Secure/PackageReader.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "framework/Platform/NativePath.h"
#include "framework/Secure/RawDeflate.h"
#include "framework/Secure/ZipCrypto.h"

namespace Arbor::Secure {

namespace {

class FileSource final : public PackageSource {
public:
    explicit FileSource(const std::filesystem::path& path) : stream_(path, std::ios::binary) {
        if (!stream_) return;
        stream_.seekg(0, std::ios::end);
        const auto end = stream_.tellg();
        if (end < 0) {
            stream_.close();
            return;
        }
        size_ = static_cast<std::uint64_t>(end);
    }
    bool isOpen() const { return stream_.is_open(); }
    std::uint64_t size() const override { return size_; }
    bool readAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
        if (offset > size_ || out.size() > size_ - offset) return false;
        stream_.clear();
        stream_.seekg(static_cast<std::streamoff>(offset));
        if (!stream_) return false;
        stream_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
        return stream_.gcount() == static_cast<std::streamsize>(out.size());
    }

private:
    std::ifstream stream_;
    std::uint64_t size_ = 0;
};

class MemorySource final : public PackageSource {
public:
    explicit MemorySource(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    std::uint64_t size() const override { return bytes_.size(); }
    bool readAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
        if (offset > bytes_.size() || out.size() > bytes_.size() - offset) return false;
        if (!out.empty()) std::memcpy(out.data(), bytes_.data() + offset, out.size());
        return true;
    }

private:
    std::vector<std::uint8_t> bytes_;
};

std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

PackageReader::PackageReader(std::unique_ptr<PackageSource> source, std::u16string password)
    : source_(std::move(source)), password_(std::move(password)) {}

PackageReader::~PackageReader() = default;

std::unique_ptr<PackageReader> PackageReader::open(std::u16string_view path, std::u16string password) {
    auto source = std::make_unique<FileSource>(Platform::toNativePath(path));
    if (!source->isOpen()) return nullptr;
    return openSource(std::move(source), std::move(password));
}

std::unique_ptr<PackageReader> PackageReader::openMemory(std::vector<std::uint8_t> bytes,
                                                         std::u16string password) {
    return openSource(std::make_unique<MemorySource>(std::move(bytes)), std::move(password));
}

std::unique_ptr<PackageReader> PackageReader::openSource(std::unique_ptr<PackageSource> source,
                                                         std::u16string password) {
    if (!source) return nullptr;
    std::unique_ptr<PackageReader> reader(new PackageReader(std::move(source), std::move(password)));
    if (!reader->readDirectory()) return nullptr;
    return reader;
}

bool PackageReader::readDirectory() {
    const std::uint64_t size = source_->size();
    if (size < kTrailerSize) return false;
    std::uint8_t trailer[kTrailerSize];
    if (!source_->readAt(size - kTrailerSize, trailer)) return false;
    if (std::memcmp(trailer, kTrailerMagic, 4) != 0) return false;
    const std::uint32_t count = le32(trailer + 8);
    const std::uint64_t directory = le32(trailer + 16);
    if (directory > size) return false;
    // Every entry takes at least its fixed part, so a count that cannot fit between
    // the directory offset and the end of the file is refused before anything is
    // allocated for it.
    if (count > (size - directory) / kEntryHeaderSize) return false;

    std::vector<PackageEntry> entries;
    entries.reserve(count);
    std::uint64_t pos = directory;
    std::vector<std::uint8_t> nameBytes;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint8_t head[kEntryHeaderSize];
        if (!source_->readAt(pos, head)) return false;
        if (std::memcmp(head, kEntryMagic, 4) != 0) return false;
        pos += kEntryHeaderSize;
        PackageEntry entry;
        entry.compression = le16(head + 8);
        entry.encipherment = le16(head + 10);
        entry.crc = le32(head + 20);
        entry.storedSize = le32(head + 24);
        const std::uint32_t nameLength = le32(head + 32);
        entry.offset = le32(head + 36);
        if (nameLength > (size - pos) / 2) return false;
        nameBytes.resize(std::size_t{nameLength} * 2);
        if (!source_->readAt(pos, nameBytes)) return false;
        pos += nameBytes.size();
        entry.name.resize(nameLength);
        for (std::uint32_t c = 0; c < nameLength; ++c) {
            entry.name[c] = static_cast<char16_t>(le16(nameBytes.data() + 2 * c));
        }
        entries.push_back(std::move(entry));
    }
    entries_ = std::move(entries);
    return true;
}

EntryContent PackageReader::decodeEntry(const PackageEntry& entry) {
    EntryContent result;
    std::vector<std::uint8_t> stored;
    {
        std::lock_guard lock(mutex_);
        const std::uint64_t size = source_->size();
        if (entry.offset > size || entry.storedSize > size - entry.offset) {
            result.status = EntryContent::Status::OutsideFile;
            return result;
        }
        stored.resize(entry.storedSize);
        if (!source_->readAt(entry.offset, stored)) {
            result.status = EntryContent::Status::OutsideFile;
            return result;
        }
    }

    std::span<const std::uint8_t> content(stored);
    if (entry.encipherment == kEnciphered) {
        ZipCrypto crypto = ZipCrypto::fromPassword(password_);
        // The header only advances the keys; it is not checked.
        const std::size_t header = std::min(stored.size(), ZipCrypto::kHeaderSize);
        for (std::size_t i = 0; i < header; ++i) crypto.update(stored[i]);
        std::span<std::uint8_t> body(stored.data() + header, stored.size() - header);
        crypto.decipher(body);
        content = body;
    }

    std::vector<std::uint8_t> plain;
    if (entry.compression == kDeflated) {
        auto inflated = inflateRaw(content);
        if (!inflated) {
            result.status = EntryContent::Status::InflateFailed;
            return result;
        }
        plain = std::move(*inflated);
    } else if (entry.compression != kStored) {
        result.status = EntryContent::Status::BadCompression;
        return result;
    } else {
        plain.assign(content.begin(), content.end());
    }

    if (crc32Of(plain) != entry.crc) {
        result.status = EntryContent::Status::CrcMismatch;
        return result;
    }
    result.status = EntryContent::Status::Ok;
    result.bytes = std::move(plain);
    return result;
}

std::vector<std::uint8_t> PackageReader::readEntry(std::u16string_view name) {
    for (const auto& entry : entries_) {
        if (entry.name == name) {
            auto content = decodeEntry(entry);
            return std::move(content.bytes);
        }
    }
    return {};
}

}  // namespace Arbor::Secure
