#include "framework/Secure/ZipCrypto.h"

#include <zlib.h>

namespace Arbor::Secure {

namespace {
// zlib's table of the reflected polynomial 0xEDB88320, the same one the CRC-32 of the
// entries uses.
inline std::uint32_t crcByte(std::uint32_t k, std::uint8_t b) {
    static const z_crc_t* const table = get_crc_table();
    return static_cast<std::uint32_t>(table[(k ^ b) & 0xFFu]) ^ (k >> 8);
}
}  // namespace

ZipCrypto::ZipCrypto() : keys_{0x12345678u, 0x23456789u, 0x34567890u} {}

ZipCrypto ZipCrypto::fromPassword(std::u16string_view password) {
    ZipCrypto crypto;
    const std::size_t n = password.size();
    for (std::size_t i = 0; i < n; ++i) {
        // Byte i of the UTF-16LE encoding: low byte of unit i/2 for even i, high byte
        // for odd i.
        const char16_t unit = password[i / 2];
        const auto b = static_cast<std::uint8_t>((i % 2 == 0) ? (unit & 0xFF) : (unit >> 8));
        crypto.update(b);
        crypto.update(b);
    }
    return crypto;
}

ZipCrypto ZipCrypto::fromPasswordBytes(std::span<const std::uint8_t> bytes) {
    ZipCrypto crypto;
    for (auto b : bytes) crypto.update(b);
    return crypto;
}

void ZipCrypto::update(std::uint8_t b) {
    keys_[0] = crcByte(keys_[0], b);
    keys_[1] = (keys_[1] + (keys_[0] & 0xFFu)) * 134775813u + 1u;
    keys_[2] = crcByte(keys_[2], static_cast<std::uint8_t>(keys_[1] >> 24));
}

std::uint8_t ZipCrypto::keystream() const {
    const std::uint32_t t = keys_[2] | 2u;
    return static_cast<std::uint8_t>(((t * (t ^ 1u)) >> 8) & 0xFFu);
}

std::uint8_t ZipCrypto::decipher(std::uint8_t stored) {
    const auto plain = static_cast<std::uint8_t>(stored ^ keystream());
    update(stored);
    return plain;
}

std::uint8_t ZipCrypto::encipher(std::uint8_t plain) {
    const auto stored = static_cast<std::uint8_t>(plain ^ keystream());
    update(stored);
    return stored;
}

void ZipCrypto::decipher(std::span<std::uint8_t> bytes) {
    for (auto& b : bytes) b = decipher(b);
}

void ZipCrypto::encipher(std::span<std::uint8_t> bytes) {
    for (auto& b : bytes) b = encipher(b);
}

}  // namespace Arbor::Secure
