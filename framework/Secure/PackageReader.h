#pragma once
// Reads a character package: the directory at open, entries on demand. An entry that
// is missing, unreadable, outside the file, of an unknown compression or whose CRC-32
// does not match reads as empty, which callers treat as "file not found". A wrong
// password shows only as CRC mismatches.
//
// The file stays open for the reader's lifetime. Reads are serialised internally, so a
// reader may be shared between threads.
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Secure/PackageFormat.h"

namespace Arbor::Secure {

// Random access to the package bytes: a file or, for tests and fuzzing, memory.
class PackageSource {
public:
    virtual ~PackageSource() = default;
    virtual std::uint64_t size() const = 0;
    // Reads exactly out.size() bytes at offset; false when that is not possible.
    virtual bool readAt(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
};

// What one entry decodes to, with the reason when it does not (for `list`).
struct EntryContent {
    enum class Status { Ok, NotFound, OutsideFile, BadCompression, InflateFailed, CrcMismatch };
    Status status = Status::NotFound;
    std::vector<std::uint8_t> bytes;  // empty unless status is Ok
};

class PackageReader {
public:
    // Opens a package file (system path, '\' separators) and reads its directory.
    // Null when the file cannot be opened, the trailer magic is not "QNDF", or the
    // directory cannot be read completely.
    static std::unique_ptr<PackageReader> open(std::u16string_view path, std::u16string password);

    // The same over bytes in memory.
    static std::unique_ptr<PackageReader> openMemory(std::vector<std::uint8_t> bytes,
                                                     std::u16string password);

    static std::unique_ptr<PackageReader> openSource(std::unique_ptr<PackageSource> source,
                                                     std::u16string password);

    PackageReader(const PackageReader&) = delete;
    PackageReader& operator=(const PackageReader&) = delete;
    ~PackageReader();

    // The plain content of the first entry named exactly `name`; empty on any failure.
    std::vector<std::uint8_t> readEntry(std::u16string_view name);

    // Like readEntry, for one directory entry, with the reason of a failure.
    EntryContent decodeEntry(const PackageEntry& entry);

    const std::vector<PackageEntry>& entries() const { return entries_; }
    const std::u16string& password() const { return password_; }

private:
    PackageReader(std::unique_ptr<PackageSource> source, std::u16string password);
    bool readDirectory();

    std::unique_ptr<PackageSource> source_;
    std::u16string password_;
    std::vector<PackageEntry> entries_;
    std::mutex mutex_;
};

// The interface under its descriptive names.
inline std::unique_ptr<PackageReader> openPackage(std::u16string_view path, std::u16string password) {
    return PackageReader::open(path, std::move(password));
}
inline std::vector<std::uint8_t> readEntry(PackageReader& reader, std::u16string_view name) {
    return reader.readEntry(name);
}

}  // namespace Arbor::Secure
