#include "framework/Numeric/Scramble.h"

#include "framework/Numeric/MRand.h"

namespace Arbor::Numeric {

void scramble(std::uint8_t* bytes, std::size_t length, std::uint32_t seed) {
    MRand random(seed);
    for (std::size_t i = 0; i < length; ++i) {
        const auto mask = static_cast<std::uint32_t>(random.next() * 255.0) & 0xFFu;
        bytes[i] = static_cast<std::uint8_t>(bytes[i] ^ mask);
    }
}

}  // namespace Arbor::Numeric
