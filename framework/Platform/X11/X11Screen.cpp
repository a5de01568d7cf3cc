// Display metrics from the server's monitors (RandR): the virtual screen is the box
// around every monitor, origins may be negative, and the primary monitor is the one
// marked so (else the first). Without RandR the root window is the one monitor. The
// work area is what the window manager leaves free of panels (_NET_WORKAREA of the
// current workspace) on the primary monitor.
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

    Rect workArea() override {
        X11Desktop& d = X11Desktop::instance();
        if (!d.connected()) return {};
        const Rect primary = primaryMonitor();
        Display* display = d.display();
        const std::vector<long> areas = readLongs(display, d.root(), d.atoms().netWorkarea, XA_CARDINAL);
        const std::vector<long> current = readLongs(display, d.root(), d.atoms().netCurrentDesktop, XA_CARDINAL);
        const std::size_t desktop = current.empty() ? 0 : static_cast<std::size_t>(current[0]);
        if (areas.size() < 4 * (desktop + 1)) return primary;
        const long* a = &areas[4 * desktop];
        // One rectangle for the whole screen: its part on the primary monitor.
        const Rect area{static_cast<int>(a[0]), static_cast<int>(a[1]), static_cast<int>(a[0] + a[2]),
                        static_cast<int>(a[1] + a[3])};
        const Rect inside{std::max(area.left, primary.left), std::max(area.top, primary.top),
                          std::min(area.right, primary.right), std::min(area.bottom, primary.bottom)};
        if (inside.width() <= 0 || inside.height() <= 0) return primary;
        return inside;
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

Rect primaryMonitor() {
    X11Desktop& d = X11Desktop::instance();
    if (!d.connected()) return {};
    Display* display = d.display();
    int count = 0;
    XRRMonitorInfo* monitors = d.hasRandr() ? XRRGetMonitors(display, d.root(), True, &count) : nullptr;
    Rect result{0, 0, DisplayWidth(display, d.screen()), DisplayHeight(display, d.screen())};
    if (monitors && count > 0) {
        const XRRMonitorInfo* primary = &monitors[0];
        for (int i = 0; i < count; ++i) {
            if (monitors[i].primary) primary = &monitors[i];
        }
        result = Rect{primary->x, primary->y, primary->x + primary->width, primary->y + primary->height};
    }
    if (monitors) XRRFreeMonitors(monitors);
    return result;
}

std::unique_ptr<ScreenService> makeScreenService() { return std::make_unique<X11ScreenService>(); }

}  // namespace Arbor::Platform::X11
