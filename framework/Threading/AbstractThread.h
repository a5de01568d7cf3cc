#pragma once
// The framework's thread interface. The operations are virtual in this order so that
// every thread class of the system exposes the same table.
#include <functional>

namespace Arbor::Threading {

class AbstractThread {
public:
    virtual ~AbstractThread() = default;

    // Stores the callable to run instead of run(), then starts.
    virtual bool start(std::function<void()> callable) = 0;
    // Stops and joins any previous run, then runs the thread's work on a new thread.
    virtual bool start() = 0;
    // Requests stop and waits for the thread without limit.
    virtual void stopAndJoin() = 0;
    // Runs the work on the calling thread (no new thread); returns when it ends.
    virtual void runHere() = 0;
    // True while the thread's entry function runs.
    virtual bool isExecuting() const = 0;
    // Cleared by requestStop; the work checks it to know when to end.
    virtual bool keepRunning() const = 0;
    // Clears keep-running and signals the stop event.
    virtual void requestStop() = 0;
    // Waits on the stop event: 0 signalled, 1 timed out, 2 failed; negative waits
    // without limit.
    virtual int wait(int milliseconds) = 0;
    // The thread's work, overridden by each subclass.
    virtual void run() = 0;

    AbstractThread() = default;
    AbstractThread(const AbstractThread&) = delete;
    AbstractThread& operator=(const AbstractThread&) = delete;
};

}  // namespace Arbor::Threading
