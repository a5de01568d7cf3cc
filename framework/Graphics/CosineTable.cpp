#include "framework/Graphics/CosineTable.h"

#include <array>
#include <cmath>
#include <numbers>

namespace Arbor::Graphics {

const std::int32_t* cosineTable() {
    static const std::array<std::int32_t, 512> table = [] {
        std::array<std::int32_t, 512> t{};
        for (int i = 0; i < 512; ++i) {
            t[std::size_t(i)] = std::int32_t(std::trunc(std::cos(i * std::numbers::pi / 256.0) * 65536.0));
        }
        return t;
    }();
    return table.data();
}

int angleIndex(double degrees) {
    if (!std::isfinite(degrees)) return -1;
    // std::round halves away from zero; fmod keeps huge angles exact and in range.
    const double steps = std::fmod(std::round(degrees * 512.0 / 360.0), 512.0);
    int index = int(steps);
    if (index < 0) index += 512;
    return index;
}

}  // namespace Arbor::Graphics
