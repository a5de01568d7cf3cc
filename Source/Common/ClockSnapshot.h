#pragma once
// The local date and time as of the last refresh (every 500 ms on the user-interface
// thread), read by the date and time built-ins. The day of the year is recomputed only
// when the day changes.
#include <mutex>

namespace Quenta::Common {

struct LocalClock {
    int year = 0;
    int month = 0;      // 1..12
    int dayOfWeek = 0;  // 0 Sunday .. 6 Saturday
    int day = 0;        // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

class ClockSnapshot {
public:
    static ClockSnapshot& instance();

    void update(const LocalClock& now);
    // Refreshes from the system's local time.
    void refresh();

    LocalClock clock() const;
    // 1 for the first of January.
    int dayOfYear() const;

    static bool isLeapYear(int year);
    static int dayOfYear(int year, int month, int day);

private:
    mutable std::mutex lock_;
    LocalClock clock_;
    int dayOfYear_ = 0;
};

}  // namespace Quenta::Common
