#pragma once
// Raw deflate streams (no zlib or gzip wrapper, window 2^15) and the CRC-32 that
// package entries carry, both through zlib.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace Arbor::Secure {

// Upper bound on one inflated entry. Character files are far smaller; the bound keeps a
// hostile stream (deflate reaches about 1000:1) from exhausting memory.
inline constexpr std::size_t kDefaultMaxInflate = std::size_t{1} << 30;

// Inflates a whole raw-deflate stream, growing the output in 16 KB steps. Fails (no
// value) when the inflater cannot start, the data is corrupt, the stream ends before its
// final block, or the output would exceed maxOutput bytes.
std::optional<std::vector<std::uint8_t>> inflateRaw(std::span<const std::uint8_t> stored,
                                                    std::size_t maxOutput = kDefaultMaxInflate);

// Compresses bytes into a raw-deflate stream at the best compression level. Fails only
// when zlib cannot start.
std::optional<std::vector<std::uint8_t>> deflateRaw(std::span<const std::uint8_t> plain);

// zlib's CRC-32 (reflected 0xEDB88320, initial and final complement).
std::uint32_t crc32Of(std::span<const std::uint8_t> bytes);

}  // namespace Arbor::Secure
