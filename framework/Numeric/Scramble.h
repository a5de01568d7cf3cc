#pragma once
// Hides a byte range behind a stream from a freshly seeded MRand. XOR with the same
// stream undoes it, so one call scrambles and the same call unscrambles.
#include <cstddef>
#include <cstdint>

namespace Arbor::Numeric {

void scramble(std::uint8_t* bytes, std::size_t length, std::uint32_t seed);

}  // namespace Arbor::Numeric
