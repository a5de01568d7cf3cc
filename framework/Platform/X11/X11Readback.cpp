#include "framework/Platform/DibSection.h"
#include "framework/Platform/X11/X11Readback.h"
#include "framework/Platform/X11/X11Desktop.h"
#include "framework/Platform/X11/X11DibSection.h"

namespace Arbor::Platform::X11::Inspection {

namespace {

X11Desktop& desktop() { return X11Desktop::instance(); }
Window xidOf(WindowHandle window) { return static_cast<Window>(window); }

}  // namespace

bool connected() { return desktop().connected(); }

bool compositorRunning() { return connected() && desktop().compositorRunning(); }

bool windowManagerRunning() {
    if (!connected()) return false;
    Display* display = desktop().display();
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == XNone) return false;
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    const bool found = XGetWindowProperty(display, desktop().root(), check, 0, 1, False, XA_WINDOW, &type, &format,
                                          &items, &after, &data) == Success &&
                       data && items == 1;
    if (data) XFree(data);
    return found;
}

int windowDepth(WindowHandle window) {
    XWindowAttributes attributes{};
    if (!connected() || !XGetWindowAttributes(desktop().display(), xidOf(window), &attributes)) return 0;
    return attributes.depth;
}

bool isViewable(WindowHandle window) {
    XWindowAttributes attributes{};
    return connected() && XGetWindowAttributes(desktop().display(), xidOf(window), &attributes) &&
           attributes.map_state == IsViewable;
}

std::optional<Point> screenPosition(WindowHandle window) {
    if (!connected()) return std::nullopt;
    Window child = 0;
    int x = 0, y = 0;
    if (!XTranslateCoordinates(desktop().display(), xidOf(window), desktop().root(), 0, 0, &x, &y, &child)) {
        return std::nullopt;
    }
    return Point{x, y};
}

std::vector<std::uint32_t> windowPixels(WindowHandle window, int width, int height) {
    std::vector<std::uint32_t> pixels;
    if (!connected() || width <= 0 || height <= 0) return pixels;
    XImage* image = XGetImage(desktop().display(), xidOf(window), 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image) return pixels;
    const bool alpha = image->depth == 32;
    pixels.reserve(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto value = static_cast<std::uint32_t>(XGetPixel(image, x, y));
            pixels.push_back(alpha ? value : (value & 0x00FFFFFFu));
        }
    }
    XDestroyImage(image);
    return pixels;
}

std::vector<Rect> shapeRectangles(WindowHandle window, bool input) {
    std::vector<Rect> result;
    if (!connected()) return result;
    int count = 0, ordering = 0;
    XRectangle* rectangles = XShapeGetRectangles(desktop().display(), xidOf(window), input ? ShapeInput : ShapeBounding,
                                                 &count, &ordering);
    for (int i = 0; i < count; ++i) {
        const XRectangle& r = rectangles[i];
        result.push_back(Rect{r.x, r.y, r.x + r.width, r.y + r.height});
    }
    if (rectangles) XFree(rectangles);
    return result;
}

std::vector<Rect> frameInputShape(WindowHandle window) {
    if (!connected()) return {};
    Display* display = desktop().display();
    Window current = xidOf(window);
    for (;;) {
        Window rootReturn = 0, parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, current, &rootReturn, &parent, &children, &count)) return {};
        if (children) XFree(children);
        if (parent == rootReturn || parent == 0) break;
        current = parent;
    }
    return shapeRectangles(static_cast<WindowHandle>(current), true);
}

bool presentsFromSharedMemory(const DibSection& surface) {
    const auto* shared = dynamic_cast<const X11DibSection*>(&surface);
    return shared && shared->attached();
}

bool click(int x, int y, int button) {
    if (!connected()) return false;
    Display* display = desktop().display();
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) return false;
    XTestFakeMotionEvent(display, desktop().screen(), x, y, CurrentTime);
    XTestFakeButtonEvent(display, static_cast<unsigned>(button), True, CurrentTime);
    XTestFakeButtonEvent(display, static_cast<unsigned>(button), False, CurrentTime);
    XSync(display, False);
    return true;
}

bool letterKey(char letter, bool down) {
    if (!connected() || letter < 'A' || letter > 'Z') return false;
    Display* display = desktop().display();
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) return false;
    const KeyCode code = XKeysymToKeycode(display, static_cast<KeySym>('a' + (letter - 'A')));
    if (code == 0) return false;
    XTestFakeKeyEvent(display, code, down ? True : False, CurrentTime);
    XSync(display, False);
    return true;
}

bool pressKey(const char* keySymName) {
    if (!connected()) return false;
    Display* display = desktop().display();
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) return false;
    const KeySym symbol = XStringToKeysym(keySymName);
    const KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(display, symbol);
    if (code == 0) return false;
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XSync(display, False);
    return true;
}

WindowHandle focusWindow() {
    if (!connected()) return WindowHandle::None;
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(desktop().display(), &focus, &revert);
    return static_cast<WindowHandle>(focus);
}

}  // namespace Arbor::Platform::X11::Inspection
