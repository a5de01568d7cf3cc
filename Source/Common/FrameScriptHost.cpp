#include "Source/Common/FrameScriptHost.h"

#include "Source/Common/ClockSnapshot.h"
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

}  // namespace Quenta::Common
