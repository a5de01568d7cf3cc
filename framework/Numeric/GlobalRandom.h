#pragma once
// The process-wide random source behind the script's Rand, SelectRandomStr and the
// weighted pick of register records. Seeded once, from the millisecond tick count, the
// first time it is used. Drawing takes no lock: only the frame thread draws.
#include <cstdint>

#include "framework/Numeric/MRand.h"

namespace Arbor::Numeric {

MRand& globalRandom();

// A uniform number in [0, 1) from the process-wide source.
double globalUniform();

}  // namespace Arbor::Numeric
