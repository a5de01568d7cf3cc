#include "Source/Common/ClockSnapshot.h"

#include "Source/Interpreter/LibraryClock.h"
#include "framework/Platform/Clock.h"

namespace Quenta::Common {

ClockSnapshot& ClockSnapshot::instance() {
    static ClockSnapshot snapshot;
    return snapshot;
}

bool ClockSnapshot::isLeapYear(int year) { return Interpreter::isLeapYear(year); }

int ClockSnapshot::dayOfYear(int year, int month, int day) { return Interpreter::dayOfYear(year, month, day); }

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
