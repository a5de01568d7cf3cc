#pragma once
// The script host of the running program: scripts see the system variables and the
// user input that the frame loop publishes, and the clock snapshot that the
// user-interface thread refreshes. The MainThread installs it for its lifetime. Exit,
// the system actions, launched programs and the memory figures go to the program's
// own parts.
#include "Source/Interpreter/ScriptHost.h"

namespace Quenta::Common {

class QuitControl;

class FrameScriptHost : public Interpreter::ScriptHost {
public:
    // Quitting and the system actions go to `quit`; without one they do nothing.
    explicit FrameScriptHost(QuitControl* quit = nullptr) : quit_(quit) {}

    double systemVariable(Interpreter::SystemVariable variable) const override;
    Interpreter::ClockReading clock() const override;
    std::u16string userInput() const override;
    void beginQuitting() override;
    void requestSystemAction(int action) override;
    // Through the program's ProcessManager; the completion (the captured action) goes
    // to the launching character's command queue when the program ends.
    bool launchProgram(Interpreter::ScriptOwner* owner, std::u16string applicationName, std::u16string commandLine,
                       Interpreter::TokenLine completion) override;
    // The snapshot the user-interface thread refreshes every 500 ms.
    bool memoryStatus(Arbor::Platform::MemoryStatus& status) const override;

private:
    QuitControl* quit_;
};

}  // namespace Quenta::Common
