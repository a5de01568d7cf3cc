#pragma once
// The plain stepping counter. A positive step moves that many units per call; a step
// of 0 or -1 moves one unit per call and -k one unit every k calls, which is how slow
// animations are expressed without fractions. The value is always kept between start
// and end, whichever of the two is larger.
#include <cstdint>

#include "framework/Counter/CounterInterface.h"

namespace Arbor::Counter {

class RootCounter : public CounterInterface {
public:
    RootCounter() = default;
    RootCounter(std::int32_t start, std::int32_t end, std::int32_t step);

    std::int32_t value() const override { return value_; }
    // Any change of value restarts the count of sub-steps.
    void setValue(std::int32_t value) override;
    // One step toward the end.
    void stepForward() override;
    // One step toward the start, by the same rule mirrored.
    void stepBackward() override;
    bool atStart() const override { return value_ == start_; }
    bool atEnd() const override { return value_ == end_; }

    std::int32_t start() const { return start_; }
    std::int32_t end() const { return end_; }
    std::int32_t step() const { return step_; }
    std::int32_t subStep() const { return subStep_; }
    void setStart(std::int32_t start) { start_ = start; }
    void setEnd(std::int32_t end) { end_ = end; }
    void setStep(std::int32_t step) { step_ = step; }
    // Sets start, end and step and puts the value at the start.
    void reset(std::int32_t start, std::int32_t end, std::int32_t step);

private:
    // Moves the value from `from` toward `to` by the stepping rule.
    void moveToward(std::int32_t from, std::int32_t to);

    std::int32_t value_ = 0;
    std::int32_t start_ = 0;
    std::int32_t end_ = 0;
    std::int32_t step_ = 0;
    std::int32_t subStep_ = 0;
};

}  // namespace Arbor::Counter
