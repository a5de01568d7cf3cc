#include "Source/Interpreter/LibraryClock.h"

#include <ctime>
#include <mutex>

namespace Quenta::Interpreter {

ClockReading readClock() {
    // Read from the C library's local time until the application's clock snapshot is
    // available here; std::localtime shares one buffer, hence the lock.
    static std::mutex lock;
    const std::time_t now = std::time(nullptr);
    std::lock_guard guard(lock);
    const std::tm* local = std::localtime(&now);
    ClockReading reading;
    if (local) {
        reading.year = local->tm_year + 1900;
        reading.month = local->tm_mon + 1;
        reading.dayOfWeek = local->tm_wday;
        reading.day = local->tm_mday;
        reading.hour = local->tm_hour;
        reading.minute = local->tm_min;
        reading.second = local->tm_sec;
        reading.dayOfYear = local->tm_yday + 1;
    }
    return reading;
}

}  // namespace Quenta::Interpreter
