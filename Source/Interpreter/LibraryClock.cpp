#include "Source/Interpreter/LibraryClock.h"

#include "framework/Platform/Clock.h"

namespace Quenta::Interpreter {

ClockReading readLocalClock() {
    const Arbor::Platform::LocalTime t = Arbor::Platform::clockService().localTime();
    ClockReading reading;
    reading.year = t.year;
    reading.month = t.month;
    reading.dayOfWeek = t.dayOfWeek;
    reading.day = t.day;
    reading.hour = t.hour;
    reading.minute = t.minute;
    reading.second = t.second;
    reading.dayOfYear = dayOfYear(t.year, t.month, t.day);
    return reading;
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int dayOfYear(int year, int month, int day) {
    static constexpr int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int total = day;
    for (int m = 1; m < month && m <= 12; ++m) {
        total += lengths[m - 1];
        if (m == 2 && isLeapYear(year)) ++total;
    }
    return total;
}

}  // namespace Quenta::Interpreter
