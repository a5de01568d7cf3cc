#include "framework/Numeric/GlobalRandom.h"

#include <chrono>

namespace Arbor::Numeric {

namespace {

// Milliseconds of a monotonic clock, wrapped to 32 bits like a system tick count.
std::uint32_t seedTicks() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

}  // namespace

MRand& globalRandom() {
    // Thread-safe static initialisation creates and seeds it exactly once.
    static MRand source(seedTicks());
    return source;
}

double globalUniform() {
    return globalRandom().next();
}

}  // namespace Arbor::Numeric
