#pragma once
// The date and time the date built-ins report. Every call within one frame should see
// the same time, so the program's host answers from a snapshot refreshed on a timer;
// without a program the local time is read at each call.
namespace Quenta::Interpreter {

struct ClockReading {
    int year = 0;
    int month = 0;      // 1..12
    int dayOfWeek = 0;  // 0 Sunday .. 6 Saturday
    int day = 0;        // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int dayOfYear = 0;  // 1 for the first of January
};

// The platform's local time now.
ClockReading readLocalClock();

bool isLeapYear(int year);
// 1 for the first of January.
int dayOfYear(int year, int month, int day);

}  // namespace Quenta::Interpreter
