#pragma once
// The framework thread. A subclass overrides run() and loops while keepRunning(),
// pausing with wait() so that requestStop() ends the pause at once:
//
//     void run() override {
//         while (keepRunning()) {
//             work();
//             if (wait(33) == AbstractEvent::Signalled) break;
//         }
//     }
//
// A subclass whose run() touches its own members must call stopAndJoin() in its own
// destructor: by the time ~Thread runs, the subclass part is already gone.
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "framework/Threading/AbstractThread.h"
#include "framework/Threading/Event.h"

namespace Arbor::Threading {

class Thread : public AbstractThread {
public:
    Thread();
    ~Thread() override;

    bool start(std::function<void()> callable) override;
    bool start() override;
    void stopAndJoin() override;
    void runHere() override;
    bool isExecuting() const override;
    bool keepRunning() const override;
    void requestStop() override;
    int wait(int milliseconds) override;
    // Does nothing: a Thread started without a callable and without a subclass ends at once.
    void run() override {}

    // The standard id of the running thread (default-constructed when none runs).
    std::thread::id threadId() const;

private:
    void entry();

    std::atomic<bool> executing_{false};
    std::atomic<bool> keepRunning_{false};
    Event stopEvent_{false, false};
    std::function<void()> callable_;
    std::thread thread_;
    // Serialises start and join so that two callers never join the same thread.
    std::mutex handleMutex_;
};

}  // namespace Arbor::Threading
