#pragma once
// Plays one key macro on a thread of its own: each press or release is one injected
// event, each wait blocks on the thread's stop event, so a stop request ends the macro
// at once. Deleting the thread stops it and waits for it.
#include <atomic>

#include "Source/Interpreter/KeyMacro.h"
#include "framework/Threading/Thread.h"

namespace Quenta::Interpreter {

class MacroInputThread : public Arbor::Threading::Thread {
public:
    explicit MacroInputThread(KeyMacro macro);
    ~MacroInputThread() override;
    MacroInputThread(const MacroInputThread&) = delete;
    MacroInputThread& operator=(const MacroInputThread&) = delete;

    const KeyMacro& macro() const { return macro_; }
    // Starts playing; a thread that cannot be started counts as finished.
    bool play();
    // True once the macro has been played to its end or stopped.
    bool isFinished() const { return finished_.load(); }

    void run() override;

private:
    const KeyMacro macro_;
    std::atomic<bool> finished_{false};
};

}  // namespace Quenta::Interpreter
