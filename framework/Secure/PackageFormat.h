#pragma once
// The character package layout shared by the reader and the writer. All integers are
// little-endian; offsets count from the start of the file.
//
//   entries' stored bytes ... | directory | trailer (20 bytes)
//
// Trailer: "QNDF", reserved u32, entry count u32, reserved u32, directory offset u32.
// Directory entry (40 bytes + name): "QNDH", 2 x reserved u16, compression u16,
// encipherment u16, 2 x reserved u16, reserved u32, CRC-32 u32, stored size u32,
// reserved u32, name length u32 (UTF-16 code units), data offset u32, name (UTF-16LE).
#include <cstddef>
#include <cstdint>
#include <string>

namespace Arbor::Secure {

inline constexpr std::size_t kTrailerSize = 20;
inline constexpr std::size_t kEntryHeaderSize = 40;
inline constexpr char kTrailerMagic[4] = {'Q', 'N', 'D', 'F'};
inline constexpr char kEntryMagic[4] = {'Q', 'N', 'D', 'H'};

// Compression field values; any other non-zero value makes the entry unreadable.
inline constexpr std::uint16_t kStored = 0;
inline constexpr std::uint16_t kDeflated = 8;
// Encipherment field value that means "enciphered"; any other value leaves the bytes
// as they are stored.
inline constexpr std::uint16_t kEnciphered = 8;

struct PackageEntry {
    std::uint16_t compression = 0;
    std::uint16_t encipherment = 0;
    std::uint32_t crc = 0;
    std::uint32_t storedSize = 0;
    std::uint32_t offset = 0;
    std::u16string name;  // '\' separated, compared exactly
};

}  // namespace Arbor::Secure
