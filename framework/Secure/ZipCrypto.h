#pragma once
// The traditional PKWARE stream cipher as packages use it. Three 32-bit keys evolve with
// every byte; the keystream byte depends on the third key. Deciphering feeds the stored
// (enciphered) byte back into the keys, so deciphering and enciphering are two views of
// the same key schedule.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace Arbor::Secure {

class ZipCrypto {
public:
    // Keys in their initial state; no password applied.
    ZipCrypto();

    // Keys set up from a package password: with n its length in UTF-16 code units,
    // each of the first n bytes of its UTF-16LE encoding is fed twice in a row. (This
    // is how packages have always been keyed; only half the encoding takes part.)
    static ZipCrypto fromPassword(std::u16string_view password);

    // Keys set up the ordinary archiver way: each password byte once.
    static ZipCrypto fromPasswordBytes(std::span<const std::uint8_t> bytes);

    // Feeds one byte into the keys.
    void update(std::uint8_t b);

    // The keystream byte for the next position (does not advance).
    std::uint8_t keystream() const;

    // One stored byte in, one plain byte out; advances the keys with the stored byte.
    std::uint8_t decipher(std::uint8_t stored);

    // One plain byte in, one stored byte out; advances the keys with the stored byte.
    std::uint8_t encipher(std::uint8_t plain);

    // In-place forms over a whole buffer.
    void decipher(std::span<std::uint8_t> bytes);
    void encipher(std::span<std::uint8_t> bytes);

    std::uint32_t key0() const { return keys_[0]; }
    std::uint32_t key1() const { return keys_[1]; }
    std::uint32_t key2() const { return keys_[2]; }

    // Size of the header that precedes every enciphered entry.
    static constexpr std::size_t kHeaderSize = 12;

private:
    std::uint32_t keys_[3];
};

}  // namespace Arbor::Secure
