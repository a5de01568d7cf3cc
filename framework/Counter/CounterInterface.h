#pragma once
// A value that moves one step at a time between a start and an end; frames,
// transitions, typing and loop counts are all driven this way.
#include <cstdint>

namespace Arbor::Counter {

class CounterInterface {
public:
    CounterInterface() = default;
    CounterInterface(const CounterInterface&) = delete;
    CounterInterface& operator=(const CounterInterface&) = delete;
    virtual ~CounterInterface() = default;

    virtual std::int32_t value() const = 0;
    virtual void setValue(std::int32_t value) = 0;
    virtual void stepForward() = 0;
    virtual void stepBackward() = 0;
    virtual bool atStart() const = 0;
    virtual bool atEnd() const = 0;
};

}  // namespace Arbor::Counter
