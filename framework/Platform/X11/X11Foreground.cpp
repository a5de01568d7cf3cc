// The foreground program of the X11 desktop: the window the window manager names in
// _NET_ACTIVE_WINDOW, its process from _NET_WM_PID, the executable from /proc/PID/exe,
// and the product name from the desktop entry whose Exec starts that executable.
// Bringing a program to the front asks the window manager to activate its window.
#include <unistd.h>

#include <string>
#include <vector>

#include "framework/Platform/Foreground.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/Posix/DesktopEntry.h"
#include "framework/Platform/X11/X11Desktop.h"
#include "framework/Platform/X11/X11Services.h"
#include "framework/Text/Utf.h"

namespace Arbor::Platform::X11 {

namespace {

// The values of a 32-bit-format property (windows, cardinals); empty when absent.
std::vector<unsigned long> longProperty(Display* display, Window window, Atom property, Atom type) {
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> values;
    if (XGetWindowProperty(display, window, property, 0, 4096, False, type, &actualType, &format, &count, &after,
                           &data) == Success &&
        data && format == 32) {
        const auto* longs = reinterpret_cast<const unsigned long*>(data);
        values.assign(longs, longs + count);
    }
    if (data) XFree(data);
    return values;
}

std::optional<std::string> executableOfProcess(std::uint32_t pid) {
    if (pid == 0) return std::nullopt;
    char buffer[4096];
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    const ssize_t n = readlink(link.c_str(), buffer, sizeof buffer - 1);
    if (n <= 0) return std::nullopt;
    return std::string(buffer, static_cast<std::size_t>(n));
}

class X11ForegroundService : public ForegroundService {
public:
    ForegroundWindow foregroundWindow() override {
        X11Desktop& desktop = X11Desktop::instance();
        if (!desktop.connected()) return {};
        Display* display = desktop.display();
        const auto active = longProperty(display, desktop.root(), desktop.atoms().netActiveWindow, XA_WINDOW);
        if (active.empty() || active[0] == 0) return {};
        return {active[0], processOf(active[0])};
    }

    std::optional<std::u16string> foregroundExecutable() override {
        const ForegroundWindow window = foregroundWindow();
        const auto path = executableOfProcess(window.processId);
        if (!path) return std::nullopt;
        return fromNativePath(*path);
    }

    std::u16string productName(std::u16string_view executable) override {
        if (executable.empty()) return {};
        return Text::fromUtf8(Posix::nameOfEntryStarting(toNativePath(executable)));
    }

    bool bringToFront(std::u16string_view executable) override {
        X11Desktop& desktop = X11Desktop::instance();
        if (!desktop.connected() || executable.empty()) return false;
        Display* display = desktop.display();
        const std::string wanted = toNativePath(executable).string();
        // The managed windows bottom to top: walk them from the top.
        const auto stacking = longProperty(display, desktop.root(), desktop.atoms().netClientListStacking, XA_WINDOW);
        for (auto it = stacking.rbegin(); it != stacking.rend(); ++it) {
            const Window window = *it;
            const auto path = executableOfProcess(processOf(window));
            if (!path || *path != wanted) continue;
            XWindowAttributes attributes{};
            Window owner = 0;
            if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) continue;
            if (XGetTransientForHint(display, window, &owner) && owner != 0) continue;
            XEvent event{};
            event.xclient.type = ClientMessage;
            event.xclient.window = window;
            event.xclient.message_type = desktop.atoms().netActiveWindow;
            event.xclient.format = 32;
            event.xclient.data.l[0] = 2;  // as a pager would: the user asked for it
            event.xclient.data.l[1] = CurrentTime;
            XSendEvent(display, desktop.root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
            XRaiseWindow(display, window);
            XFlush(display);
            return true;
        }
        return false;
    }

private:
    static std::uint32_t processOf(Window window) {
        X11Desktop& desktop = X11Desktop::instance();
        const auto pid = longProperty(desktop.display(), window, desktop.atoms().netWmPid, XA_CARDINAL);
        return pid.empty() ? 0 : static_cast<std::uint32_t>(pid[0]);
    }
};

}  // namespace

std::unique_ptr<ForegroundService> makeForegroundService() { return std::make_unique<X11ForegroundService>(); }

}  // namespace Arbor::Platform::X11
