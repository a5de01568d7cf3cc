// The virtual desktop's clock: the host's until a test sets it, then stepped by tests.
#include "framework/Platform/Clock.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Headless/HeadlessServices.h"

namespace Arbor::Platform {

namespace {

class HeadlessClockService : public ClockService {
public:
    std::uint32_t tickCount() override { return desktop().tickCount(); }
    bool beginTimerResolution(std::uint32_t milliseconds) override {
        if (milliseconds == 0) return false;
        desktop().addTimerResolutionRequest(1);
        return true;
    }
    bool endTimerResolution(std::uint32_t milliseconds) override {
        if (milliseconds == 0) return false;
        desktop().addTimerResolutionRequest(-1);
        return true;
    }
    LocalTime localTime() override { return desktop().localTime(); }

private:
    static Headless::HeadlessDesktop& desktop() { return Headless::HeadlessDesktop::instance(); }
};

}  // namespace

std::unique_ptr<ClockService> Headless::makeClockService() {
    return std::make_unique<HeadlessClockService>();
}

}  // namespace Arbor::Platform
