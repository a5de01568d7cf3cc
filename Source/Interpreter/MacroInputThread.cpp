#include "Source/Interpreter/MacroInputThread.h"

#include "Source/Interpreter/KeyCommand.h"
#include "framework/Threading/AbstractEvent.h"

namespace Quenta::Interpreter {

MacroInputThread::MacroInputThread(KeyMacro macro) : macro_(std::move(macro)) {}

MacroInputThread::~MacroInputThread() { stopAndJoin(); }

bool MacroInputThread::play() {
    if (start()) return true;
    finished_.store(true);
    return false;
}

void MacroInputThread::run() {
    Arbor::Platform::KeyInputService& input = Arbor::Platform::keyInputService();
    for (const KeyMacroStep& step : macro_.steps) {
        if (!keepRunning()) break;
        if (step.kind == KeyMacroStep::Kind::Wait) {
            const int milliseconds = step.value > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(step.value);
            if (wait(milliseconds) == Arbor::Threading::AbstractEvent::Signalled) break;
            continue;
        }
        const auto event = keyEventOf(static_cast<int>(step.value), step.kind == KeyMacroStep::Kind::Release);
        input.send({&event, 1});
    }
    finished_.store(true);
}

}  // namespace Quenta::Interpreter
