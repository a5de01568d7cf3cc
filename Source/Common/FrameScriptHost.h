#pragma once
// The script host of the running program: scripts see the system variables and the
// user input that the frame loop publishes, and the clock snapshot that the
// user-interface thread refreshes. The MainThread installs it for its lifetime.
#include "Source/Interpreter/ScriptHost.h"

namespace Quenta::Common {

class FrameScriptHost : public Interpreter::ScriptHost {
public:
    double systemVariable(Interpreter::SystemVariable variable) const override;
    Interpreter::ClockReading clock() const override;
    std::u16string userInput() const override;
};

}  // namespace Quenta::Common
