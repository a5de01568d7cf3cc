// The virtual desktop's monitors: power requests are recorded.
#include "framework/Platform/DisplayPower.h"
#include "framework/Platform/Headless/HeadlessEffects.h"
#include "framework/Platform/Headless/HeadlessServices.h"

namespace Arbor::Platform {

namespace {

class HeadlessDisplayPowerService : public DisplayPowerService {
public:
    bool setDisplayPower(bool on) override {
        Headless::HeadlessEffects::instance().recordDisplayPower(on);
        return true;
    }
};

}  // namespace

std::unique_ptr<DisplayPowerService> Headless::makeDisplayPowerService() {
    return std::make_unique<HeadlessDisplayPowerService>();
}

}  // namespace Arbor::Platform
