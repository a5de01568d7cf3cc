#pragma once
// The process-wide flags of the application's life: whether the message loop should
// keep running, whether quitting has begun (set once, never cleared), and the system
// action to carry out once the program has ended. Written by either thread, read by
// the other, hence atomics.
#include <atomic>

#include "Source/Common/QuitControl.h"

namespace Quenta::Application {

enum class SystemAction : int { None = 0, Shutdown = 1, Reboot = 2 };

class ApplicationState : public Common::QuitControl {
public:
    ApplicationState() = default;
    ApplicationState(const ApplicationState&) = delete;
    ApplicationState& operator=(const ApplicationState&) = delete;

    static ApplicationState& instance();

    bool messageLoopRunning() const { return messageLoopRunning_.load(); }
    void stopMessageLoop() override { messageLoopRunning_.store(false); }

    bool isQuitting() const override { return quitting_.load(); }
    // Sets the quitting flag and asks every registered character, in registration
    // order, to terminate. Only the first call does anything.
    void beginQuitting() override;

    // Record the action and begin quitting; the action is recorded even when quitting
    // had already begun, so a later request still takes effect at the end.
    void requestSystemShutdown();
    void requestSystemReboot();
    void requestSystemAction(int action) override;
    SystemAction systemAction() const { return static_cast<SystemAction>(systemAction_.load()); }

private:
    std::atomic<bool> messageLoopRunning_{true};
    std::atomic<bool> quitting_{false};
    std::atomic<int> systemAction_{static_cast<int>(SystemAction::None)};
};

}  // namespace Quenta::Application
