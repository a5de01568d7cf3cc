#include "framework/Numeric/GlobalRandom.h"

#include "framework/Platform/Clock.h"

namespace Arbor::Numeric {

namespace {

// The millisecond tick count: different on every run, and no need for more.
std::uint32_t seedTicks() {
    return Platform::clockService().tickCount();
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
