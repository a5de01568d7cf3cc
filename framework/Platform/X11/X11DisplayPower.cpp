// Monitor power through the server's DPMS extension: forcing the "off" level blanks
// the monitors until input arrives; "on" wakes them.
#include "framework/Platform/DisplayPower.h"
// After the X11 headers, which dpms.h expects.
#include "framework/Platform/X11/X11Headers.h"
#include <X11/extensions/dpms.h>

#include "framework/Platform/X11/X11Desktop.h"
#include "framework/Platform/X11/X11Services.h"

namespace Arbor::Platform::X11 {

namespace {

class X11DisplayPowerService : public DisplayPowerService {
public:
    bool setDisplayPower(bool on) override {
        X11Desktop& desktop = X11Desktop::instance();
        if (!desktop.connected()) return false;
        Display* display = desktop.display();
        int eventBase = 0, errorBase = 0;
        if (!DPMSQueryExtension(display, &eventBase, &errorBase) || !DPMSCapable(display)) return false;
        // Forcing a level needs DPMS enabled; enabling it only lets the server's own
        // timeouts apply as the user configured them.
        if (!on) DPMSEnable(display);
        const Status status = DPMSForceLevel(display, on ? DPMSModeOn : DPMSModeOff);
        XSync(display, False);
        return status != 0;
    }
};

}  // namespace

std::unique_ptr<DisplayPowerService> makeDisplayPowerService() { return std::make_unique<X11DisplayPowerService>(); }

}  // namespace Arbor::Platform::X11
