#pragma once
// The parameters of one drawing operation.
#include <cstdint>

namespace Arbor::Graphics {

enum class Sampling : std::int32_t { Direct = 0, Nearest = 1, Bilinear = 2, AreaAverage = 3 };

enum class BlendMode : std::int32_t {
    Copy = 0,
    SourceOver = 2,
    Normal = 3,
    Multiply = 4,
    ColorBurn = 5,
    LinearBurn = 6,
    Darken = 7,
    DarkerColor = 8,
    Lighten = 9,
    LighterColor = 10,
    ColorDodge = 11,
    Add = 12,
    Screen = 14,
    Overlay = 15,
    SoftLight = 16,
    HardLight = 17,
    VividLight = 18,
    LinearLight = 19,
    PinLight = 20,
    HardMix = 21,
    Difference = 22,
    Exclusion = 23,
    Subtract = 24,
    Divide = 25,
    And = 26,
    Or = 27,
    Xor = 28,
};

// Flip flag bits.
constexpr std::uint32_t FlipHorizontal = 1;
constexpr std::uint32_t FlipVertical = 2;

struct DrawParams {
    std::uint32_t flip = 0;
    Sampling sampling = Sampling::Bilinear;
    double opacity = 1.0;
    BlendMode blendMode = BlendMode::SourceOver;
};

// Opacity 0.0-1.0 as the integer 0-255 the pixel code works with: times 255, truncated;
// values outside the range (and NaN) are held to it.
int opacityToInt(double opacity);

}  // namespace Arbor::Graphics
