// Display metrics from the server's monitors (RandR): the virtual screen is the box
// around every monitor, origins may be negative, and the primary monitor is the one
// marked so (else the first). Without RandR the root window is the one monitor.
#include "framework/Platform/Screen.h"
#include "framework/Platform/X11/X11Services.h"
#include "framework/Platform/X11/X11Desktop.h"

namespace Arbor::Platform::X11 {

namespace {

class X11ScreenService final : public ScreenService {
public:
    ScreenMetrics metrics() override {
        X11Desktop& d = X11Desktop::instance();
        ScreenMetrics result;
        if (!d.connected()) return result;
        Display* display = d.display();
        int count = 0;
        XRRMonitorInfo* monitors = d.hasRandr() ? XRRGetMonitors(display, d.root(), True, &count) : nullptr;
        if (monitors && count > 0) {
            const XRRMonitorInfo* primary = &monitors[0];
            Rect box{monitors[0].x, monitors[0].y, monitors[0].x + monitors[0].width, monitors[0].y + monitors[0].height};
            for (int i = 0; i < count; ++i) {
                const XRRMonitorInfo& m = monitors[i];
                box.left = std::min(box.left, m.x);
                box.top = std::min(box.top, m.y);
                box.right = std::max(box.right, m.x + m.width);
                box.bottom = std::max(box.bottom, m.y + m.height);
                if (m.primary) primary = &m;
            }
            result.virtualScreen = box;
            result.primaryWidth = primary->width;
            result.primaryHeight = primary->height;
        } else {
            const int w = DisplayWidth(display, d.screen()), h = DisplayHeight(display, d.screen());
            result.virtualScreen = Rect{0, 0, w, h};
            result.primaryWidth = w;
            result.primaryHeight = h;
        }
        if (monitors) XRRFreeMonitors(monitors);
        // One screen of one server: every monitor shows the same pixel format.
        result.sameDisplayFormat = true;
        return result;
    }

    Point cursorPosition() override {
        X11Desktop& d = X11Desktop::instance();
        if (!d.connected()) return {};
        Window rootReturn = 0, child = 0;
        int x = 0, y = 0, wx = 0, wy = 0;
        unsigned mask = 0;
        if (!XQueryPointer(d.display(), d.root(), &rootReturn, &child, &x, &y, &wx, &wy, &mask)) return d.lastPointer();
        return Point{x, y};
    }
};

}  // namespace

std::unique_ptr<ScreenService> makeScreenService() { return std::make_unique<X11ScreenService>(); }

}  // namespace Arbor::Platform::X11
