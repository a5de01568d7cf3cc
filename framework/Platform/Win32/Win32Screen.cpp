// Display metrics from the system metrics; the cursor position.
#include <windows.h>

#include "framework/Platform/Screen.h"
#include "framework/Platform/Win32/Win32Services.h"

namespace Arbor::Platform {

namespace {

class Win32ScreenService : public ScreenService {
public:
    ScreenMetrics metrics() override {
        ScreenMetrics metrics;
        const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
        const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        metrics.virtualScreen = Rect{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                     top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
        metrics.primaryWidth = GetSystemMetrics(SM_CXSCREEN);
        metrics.primaryHeight = GetSystemMetrics(SM_CYSCREEN);
        metrics.sameDisplayFormat = GetSystemMetrics(SM_SAMEDISPLAYFORMAT) != 0;
        return metrics;
    }
    Point cursorPosition() override {
        POINT point{};
        if (!GetCursorPos(&point)) return Point{};
        return Point{point.x, point.y};
    }
    Rect workArea() override {
        RECT area{};
        if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) return ScreenService::workArea();
        return Rect{area.left, area.top, area.right, area.bottom};
    }
};

}  // namespace

std::unique_ptr<ScreenService> Win32::makeScreenService() { return std::make_unique<Win32ScreenService>(); }

}  // namespace Arbor::Platform
