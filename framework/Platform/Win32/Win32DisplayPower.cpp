// Monitor power: the monitor-power system command posted to every top-level window
// (2 off, -1 on).
#include <windows.h>

#include "framework/Platform/DisplayPower.h"
#include "framework/Platform/Win32/Win32Services.h"

namespace Arbor::Platform {

namespace {

class Win32DisplayPowerService : public DisplayPowerService {
public:
    bool setDisplayPower(bool on) override {
        return PostMessageW(HWND_BROADCAST, WM_SYSCOMMAND, SC_MONITORPOWER, on ? static_cast<LPARAM>(-1) : 2) != 0;
    }
};

}  // namespace

std::unique_ptr<DisplayPowerService> Win32::makeDisplayPowerService() {
    return std::make_unique<Win32DisplayPowerService>();
}

}  // namespace Arbor::Platform
