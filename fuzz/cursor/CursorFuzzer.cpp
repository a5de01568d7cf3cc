// Arbitrary bytes as a ".cur" file: the parsed picture must match its stated size.
#include <cstddef>
#include <cstdint>

#include "framework/Graphics/CursorDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto cursor = Arbor::Graphics::decodeCursorFile(data, size);
    if (cursor && cursor->pixels.size() != std::size_t(cursor->width) * std::size_t(cursor->height)) {
        __builtin_trap();
    }
    return 0;
}
