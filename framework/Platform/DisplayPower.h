#pragma once
// Switching the monitors off and on: the monitor-power system command on Win32, DPMS
// through the X server on X11, a recorded state on the headless backend.
#include <memory>

namespace Arbor::Platform {

class DisplayPowerService {
public:
    virtual ~DisplayPowerService() = default;
    // False when the request could not be made.
    virtual bool setDisplayPower(bool on) = 0;
};

DisplayPowerService& displayPowerService();

}  // namespace Arbor::Platform
