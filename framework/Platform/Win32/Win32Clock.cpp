// The multimedia tick count and timer resolution, and the local time.
#include <windows.h>
#include <mmsystem.h>

#include "framework/Platform/Clock.h"
#include "framework/Platform/Win32/Win32Services.h"

namespace Arbor::Platform {

namespace {

class Win32ClockService : public ClockService {
public:
    std::uint32_t tickCount() override { return timeGetTime(); }
    bool beginTimerResolution(std::uint32_t milliseconds) override {
        return timeBeginPeriod(milliseconds) == TIMERR_NOERROR;
    }
    bool endTimerResolution(std::uint32_t milliseconds) override {
        return timeEndPeriod(milliseconds) == TIMERR_NOERROR;
    }
    LocalTime localTime() override {
        SYSTEMTIME time;
        GetLocalTime(&time);
        LocalTime local;
        local.year = time.wYear;
        local.month = time.wMonth;
        local.dayOfWeek = time.wDayOfWeek;
        local.day = time.wDay;
        local.hour = time.wHour;
        local.minute = time.wMinute;
        local.second = time.wSecond;
        local.millisecond = time.wMilliseconds;
        return local;
    }
};

}  // namespace

std::unique_ptr<ClockService> Win32::makeClockService() { return std::make_unique<Win32ClockService>(); }

}  // namespace Arbor::Platform
