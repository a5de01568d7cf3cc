#include "Source/Common/FrameScriptHost.h"

#include "Source/Common/ClockSnapshot.h"
#include "Source/Common/MemorySnapshot.h"
#include "Source/Common/ProcessManager.h"
#include "Source/Common/QuitControl.h"
#include "Source/GameComponent/CharacterObject.h"
#include "Source/Interpreter/ScriptOwner.h"
#include "Source/Common/SystemVariables.h"
#include "Source/Common/UserInput.h"

namespace Quenta::Common {

double FrameScriptHost::systemVariable(Interpreter::SystemVariable variable) const {
    return SystemVariables::instance().get(variable);
}

Interpreter::ClockReading FrameScriptHost::clock() const {
    ClockSnapshot& snapshot = ClockSnapshot::instance();
    // The user-interface thread refreshes the snapshot every 500 ms; until it first
    // has, fill it from the local clock on first use.
    if (snapshot.dayOfYear() == 0) snapshot.refresh();
    const LocalClock now = snapshot.clock();
    Interpreter::ClockReading reading;
    reading.year = now.year;
    reading.month = now.month;
    reading.dayOfWeek = now.dayOfWeek;
    reading.day = now.day;
    reading.hour = now.hour;
    reading.minute = now.minute;
    reading.second = now.second;
    reading.dayOfYear = snapshot.dayOfYear();
    return reading;
}

std::u16string FrameScriptHost::userInput() const { return UserInput::get(); }

void FrameScriptHost::beginQuitting() {
    if (quit_) quit_->beginQuitting();
}

void FrameScriptHost::requestSystemAction(int action) {
    if (quit_) quit_->requestSystemAction(action);
}

bool FrameScriptHost::launchProgram(Interpreter::ScriptOwner* owner, std::u16string applicationName,
                                    std::u16string commandLine, Interpreter::TokenLine completion) {
    ProcessManager* processes = ProcessManager::current();
    if (!processes) return ScriptHost::launchProgram(owner, std::move(applicationName), std::move(commandLine), {});
    // The launching character; a script of no character gets no completion.
    const auto* character = dynamic_cast<const GameComponent::CharacterObject*>(owner);
    // The captured action is a statement of the character's own: it runs from the
    // character's command queue, on the frame thread, once the program has ended.
    GameComponent::CharacterCommand command;
    if (character) command = std::move(completion);
    processes->launch(std::move(applicationName), std::move(commandLine), character, std::move(command));
    return true;
}

bool FrameScriptHost::memoryStatus(Arbor::Platform::MemoryStatus& status) const {
    MemorySnapshot& snapshot = MemorySnapshot::instance();
    if (snapshot.isUnavailable()) snapshot.refresh();
    status = snapshot.status();
    return !snapshot.isUnavailable();
}

}  // namespace Quenta::Common
