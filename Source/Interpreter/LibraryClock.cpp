#include "Source/Interpreter/LibraryClock.h"

#include "Source/Common/ClockSnapshot.h"

namespace Quenta::Interpreter {

ClockReading readClock() {
    auto& snapshot = Common::ClockSnapshot::instance();
    // The user-interface thread refreshes the snapshot every 500 ms; until it first
    // has (a tool, a test), fill it from the local clock on first use.
    if (snapshot.dayOfYear() == 0) {
        snapshot.refresh();
    }
    const Common::LocalClock now = snapshot.clock();
    ClockReading reading;
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

}  // namespace Quenta::Interpreter
