// The host's clock: a monotonic millisecond count and the local time. The kernel's
// timers need no resolution request, so those calls only check their argument.
#include <sys/time.h>

#include <ctime>

#include "framework/Platform/Clock.h"
#include "framework/Platform/X11/X11Services.h"
#include "framework/Platform/X11/X11Desktop.h"

namespace Arbor::Platform::X11 {

namespace {

class X11ClockService final : public ClockService {
public:
    std::uint32_t tickCount() override { return X11Desktop::ticks(); }
    bool beginTimerResolution(std::uint32_t milliseconds) override { return milliseconds != 0; }
    bool endTimerResolution(std::uint32_t milliseconds) override { return milliseconds != 0; }
    LocalTime localTime() override {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        std::tm parts{};
        localtime_r(&now.tv_sec, &parts);
        LocalTime t;
        t.year = parts.tm_year + 1900;
        t.month = parts.tm_mon + 1;
        t.dayOfWeek = parts.tm_wday;
        t.day = parts.tm_mday;
        t.hour = parts.tm_hour;
        t.minute = parts.tm_min;
        t.second = std::min(parts.tm_sec, 59);  // a leap second reads as :59
        t.millisecond = static_cast<int>(now.tv_nsec / 1000000);
        return t;
    }
};

}  // namespace

std::unique_ptr<ClockService> makeClockService() { return std::make_unique<X11ClockService>(); }

}  // namespace Arbor::Platform::X11
