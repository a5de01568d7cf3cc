#pragma once
// Cosines of 512 steps around the circle in 16.16 fixed point, and the quantisation of
// angles onto those steps, for rotated drawing.
#include <cstdint>

namespace Arbor::Graphics {

// Entry i = trunc(cos(i * pi / 256) * 65536); built once on first use.
const std::int32_t* cosineTable();

// round(degrees * 512 / 360) (halves away from zero) modulo 512, in 0-511; -1 when the
// angle is not finite.
int angleIndex(double degrees);

}  // namespace Arbor::Graphics
