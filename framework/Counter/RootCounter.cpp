#include "framework/Counter/RootCounter.h"

namespace Arbor::Counter {

namespace {

// Adds in 64 bits so that a large step near the 32-bit limits cannot overflow before
// it is clamped to the bound.
std::int32_t clampedAdd(std::int32_t value, std::int64_t delta, std::int32_t low, std::int32_t high) {
    std::int64_t moved = static_cast<std::int64_t>(value) + delta;
    if (moved < low) {
        moved = low;
    }
    if (moved > high) {
        moved = high;
    }
    return static_cast<std::int32_t>(moved);
}

}  // namespace

RootCounter::RootCounter(std::int32_t start, std::int32_t end, std::int32_t step) {
    reset(start, end, step);
}

void RootCounter::reset(std::int32_t start, std::int32_t end, std::int32_t step) {
    start_ = start;
    end_ = end;
    step_ = step;
    value_ = start;
    subStep_ = 0;
}

void RootCounter::setValue(std::int32_t value) {
    value_ = value;
    subStep_ = 0;
}

void RootCounter::stepForward() {
    moveToward(start_, end_);
}

void RootCounter::stepBackward() {
    moveToward(end_, start_);
}

void RootCounter::moveToward(std::int32_t from, std::int32_t to) {
    const std::int32_t s = step_;
    if (to < from) {
        // Counting down; the value never goes below `to`.
        if (s <= 0) {
            --subStep_;
            if (subStep_ <= s) {
                value_ = clampedAdd(value_, -1, to, value_ > to ? value_ : to);
                subStep_ = 0;
            }
        } else {
            value_ = clampedAdd(value_, -static_cast<std::int64_t>(s), to, value_ > to ? value_ : to);
        }
    } else {
        // Counting up (or start equals end); the value never goes above `to`.
        if (s <= 0) {
            ++subStep_;
            if (subStep_ >= -static_cast<std::int64_t>(s)) {
                value_ = clampedAdd(value_, 1, value_ < to ? value_ : to, to);
                subStep_ = 0;
            }
        } else {
            value_ = clampedAdd(value_, s, value_ < to ? value_ : to, to);
        }
    }
}

}  // namespace Arbor::Counter
