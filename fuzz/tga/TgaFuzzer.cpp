// Arbitrary bytes through the TGA decoder.
#include <cstddef>
#include <cstdint>

#include "framework/Graphics/TgaDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto image = Arbor::Graphics::decodeTgaMemory(data, size);
    if (image) {
        std::uint32_t sum = 0;
        const std::size_t n = std::size_t(image->width()) * std::size_t(image->height());
        for (std::size_t i = 0; i < n; ++i) sum += image->pixels()[i];
        if (n == 0 || sum == 0xDEADBEEF) __builtin_trap();
    }
    return 0;
}
