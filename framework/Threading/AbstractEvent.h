#pragma once
// An event that threads wait on. Results of wait are shared by every waitable object of
// the framework: 0 signalled, 1 timed out, 2 failed.
namespace Arbor::Threading {

class AbstractEvent {
public:
    static constexpr int Signalled = 0;
    static constexpr int TimedOut = 1;
    static constexpr int Failed = 2;

    virtual void set() = 0;
    virtual void reset() = 0;
    // Waits for the event; a negative time waits without limit.
    virtual int wait(int milliseconds) = 0;
    virtual ~AbstractEvent() = default;

    AbstractEvent() = default;
    AbstractEvent(const AbstractEvent&) = delete;
    AbstractEvent& operator=(const AbstractEvent&) = delete;
};

}  // namespace Arbor::Threading
