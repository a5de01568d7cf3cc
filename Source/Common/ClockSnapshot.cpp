#include "Source/Common/ClockSnapshot.h"

#include "framework/Platform/Clock.h"

namespace Quenta::Common {

ClockSnapshot& ClockSnapshot::instance() {
    static ClockSnapshot snapshot;
    return snapshot;
}

bool ClockSnapshot::isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int ClockSnapshot::dayOfYear(int year, int month, int day) {
    static constexpr int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int total = day;
    for (int m = 1; m < month && m <= 12; ++m) {
        total += lengths[m - 1];
        if (m == 2 && isLeapYear(year)) ++total;
    }
    return total;
}

void ClockSnapshot::update(const LocalClock& now) {
    std::lock_guard guard(lock_);
    const bool dayChanged = dayOfYear_ == 0 || now.year != clock_.year || now.month != clock_.month ||
                            now.day != clock_.day;
    clock_ = now;
    if (dayChanged) dayOfYear_ = dayOfYear(now.year, now.month, now.day);
}

void ClockSnapshot::refresh() {
    const Arbor::Platform::LocalTime t = Arbor::Platform::clockService().localTime();
    update(LocalClock{t.year, t.month, t.dayOfWeek, t.day, t.hour, t.minute, t.second, t.millisecond});
}

LocalClock ClockSnapshot::clock() const {
    std::lock_guard guard(lock_);
    return clock_;
}

int ClockSnapshot::dayOfYear() const {
    std::lock_guard guard(lock_);
    return dayOfYear_;
}

}  // namespace Quenta::Common
