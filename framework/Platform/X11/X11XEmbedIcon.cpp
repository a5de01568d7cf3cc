// The XEmbed tray icon. Where the tray names a 32-bit visual (_NET_SYSTEM_TRAY_VISUAL)
// the window uses it and the picture is copied in with its alpha; otherwise the window
// takes its parent's background (ParentRelative) and the picture is blended over it.
// RENDER scales the picture to the size the tray gives the window.
#include "framework/Platform/Messages.h"
#include "framework/Text/Utf.h"
#include "framework/Platform/X11/X11XEmbedIcon.h"

#include <X11/extensions/Xrender.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>


namespace Arbor::Platform::X11 {

namespace {

constexpr long SystemTrayRequestDock = 0;
constexpr long XEmbedMapped = 1;
// The size asked for before the tray sizes the window.
constexpr int InitialSide = 24;
constexpr Time DoubleClickMilliseconds = 500;

Atom atom(Display* display, const char* name) { return XInternAtom(display, name, False); }

std::uint32_t premultiplied(std::uint32_t word) {
    const std::uint32_t a = word >> 24;
    auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    return (a << 24) | (scale((word >> 16) & 0xFF) << 16) | (scale((word >> 8) & 0xFF) << 8) | scale(word & 0xFF);
}

// The 32-bit visual the tray asks icons to use, null when it names none.
Visual* trayVisual(Display* display, int screen, Window manager) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, manager, atom(display, "_NET_SYSTEM_TRAY_VISUAL"), 0, 1, False, XA_VISUALID,
                           &type, &format, &count, &after, &data) != Success)
        return nullptr;
    VisualID id = 0;
    if (data && format == 32 && count == 1) id = VisualID(*reinterpret_cast<unsigned long*>(data));
    if (data) XFree(data);
    if (!id) return nullptr;
    XVisualInfo wanted{};
    wanted.visualid = id;
    wanted.screen = screen;
    int found = 0;
    XVisualInfo* info = XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &wanted, &found);
    Visual* visual = nullptr;
    if (info && found > 0 && info->depth == 32) visual = info->visual;
    if (info) XFree(info);
    return visual;
}

}  // namespace

Window XEmbedIcon::trayManager(Display* display, int screen) {
    const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(screen);
    return XGetSelectionOwner(display, atom(display, selection.c_str()));
}

std::unique_ptr<XEmbedIcon> XEmbedIcon::dock(Display* display, int screen, Window manager,
                                             const TrayIconPixels& picture, std::u16string_view tip,
                                             ClickHandler onClick) {
    std::unique_ptr<XEmbedIcon> icon(new XEmbedIcon);
    icon->picture_ = picture;
    icon->onClick_ = std::move(onClick);
    if (!icon->create(display, screen, manager, tip)) return nullptr;
    return icon;
}

bool XEmbedIcon::create(Display* display, int screen, Window manager, std::u16string_view tip) {
    display_ = display;
    manager_ = manager;
    const Window root = RootWindow(display, screen);
    XSetWindowAttributes attributes{};
    unsigned long mask = CWEventMask;
    attributes.event_mask = ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask;
    Visual* visual = trayVisual(display, screen, manager);
    int depth = CopyFromParent;
    if (visual) {
        argb_ = true;
        depth = 32;
        colormap_ = XCreateColormap(display, root, visual, AllocNone);
        attributes.colormap = colormap_;
        attributes.background_pixel = 0;
        attributes.border_pixel = 0;
        mask |= CWColormap | CWBackPixel | CWBorderPixel;
    } else {
        visual = CopyFromParent;
        attributes.background_pixmap = ParentRelative;
        mask |= CWBackPixmap;
    }
    width_ = height_ = InitialSide;
    window_ = XCreateWindow(display, root, 0, 0, unsigned(width_), unsigned(height_), 0, depth, InputOutput, visual,
                            mask, &attributes);
    if (!window_) return false;
    setTip(tip);
    XClassHint classHint{const_cast<char*>("tavizo"), const_cast<char*>("Tavizo")};
    XSetClassHint(display, window_, &classHint);
    const long info[2] = {0, XEmbedMapped};  // protocol version 0, map me once docked
    const Atom xembedInfo = atom(display, "_XEMBED_INFO");
    XChangeProperty(display, window_, xembedInfo, xembedInfo, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(info), 2);

    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = manager;
    request.xclient.message_type = atom(display, "_NET_SYSTEM_TRAY_OPCODE");
    request.xclient.format = 32;
    request.xclient.data.l[0] = CurrentTime;
    request.xclient.data.l[1] = SystemTrayRequestDock;
    request.xclient.data.l[2] = long(window_);
    XSendEvent(display, manager, False, NoEventMask, &request);
    XSync(display, False);
    return true;
}

XEmbedIcon::~XEmbedIcon() {
    if (!display_) return;
    freePicture();
    // The tray sees its client go and drops the slot.
    if (window_) XDestroyWindow(display_, window_);
    if (colormap_) XFreeColormap(display_, colormap_);
    XFlush(display_);
}

void XEmbedIcon::freePicture() {
    if (source_) XFreePixmap(display_, source_);
    source_ = 0;
}

void XEmbedIcon::setPicture(const TrayIconPixels& picture) {
    picture_ = picture;
    freePicture();
    draw();
}

void XEmbedIcon::setTip(std::u16string_view tip) {
    // Trays that show a tip take the window's name.
    const std::string text = Text::toUtf8(tip);
    XChangeProperty(display_, window_, atom(display_, "_NET_WM_NAME"), atom(display_, "UTF8_STRING"), 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(text.data()), int(text.size()));
    XStoreName(display_, window_, text.c_str());
    XFlush(display_);
}

void XEmbedIcon::draw() {
    if (!window_ || !picture_.valid() || width_ <= 0 || height_ <= 0) return;
    XRenderPictFormat* argbFormat = XRenderFindStandardFormat(display_, PictStandardARGB32);
    XWindowAttributes windowAttributes{};
    if (!argbFormat || !XGetWindowAttributes(display_, window_, &windowAttributes)) return;
    XRenderPictFormat* windowFormat = XRenderFindVisualFormat(display_, windowAttributes.visual);
    if (!windowFormat) return;
    const int w = picture_.width, h = picture_.height;
    if (!source_) {
        source_ = XCreatePixmap(display_, window_, unsigned(w), unsigned(h), 32);
        std::vector<std::uint32_t> words(picture_.pixels.size());
        std::transform(picture_.pixels.begin(), picture_.pixels.end(), words.begin(), premultiplied);
        XImage* image = XCreateImage(display_, DefaultVisual(display_, DefaultScreen(display_)), 32, ZPixmap, 0,
                                     reinterpret_cast<char*>(words.data()), unsigned(w), unsigned(h), 32, 0);
        if (!image) {
            freePicture();
            return;
        }
        GC gc = XCreateGC(display_, source_, 0, nullptr);
        XPutImage(display_, source_, gc, image, 0, 0, 0, 0, unsigned(w), unsigned(h));
        XFreeGC(display_, gc);
        image->data = nullptr;  // the words are ours
        XDestroyImage(image);
    }
    // The picture scaled to the largest square that fits, centred.
    const int side = std::min(width_, height_);
    const int left = (width_ - side) / 2, top = (height_ - side) / 2;
    Picture source = XRenderCreatePicture(display_, source_, argbFormat, 0, nullptr);
    Picture target = XRenderCreatePicture(display_, window_, windowFormat, 0, nullptr);
    XTransform transform{};
    transform.matrix[0][0] = XDoubleToFixed(double(w) / side);
    transform.matrix[1][1] = XDoubleToFixed(double(h) / side);
    transform.matrix[2][2] = XDoubleToFixed(1.0);
    XRenderSetPictureTransform(display_, source, &transform);
    XRenderSetPictureFilter(display_, source, const_cast<char*>(FilterBilinear), nullptr, 0);
    if (argb_) {
        const XRenderColor clear{0, 0, 0, 0};
        XRenderFillRectangle(display_, PictOpSrc, target, &clear, 0, 0, unsigned(width_), unsigned(height_));
    } else {
        XClearWindow(display_, window_);
    }
    XRenderComposite(display_, PictOpOver, source, 0, target, 0, 0, 0, 0, left, top, unsigned(side), unsigned(side));
    XRenderFreePicture(display_, target);
    XRenderFreePicture(display_, source);
    XFlush(display_);
}

bool XEmbedIcon::handle(const XEvent& event) {
    if (event.xany.window != window_) return false;
    switch (event.type) {
    case Expose:
        if (event.xexpose.count == 0) draw();
        break;
    case ConfigureNotify:
        if (event.xconfigure.width != width_ || event.xconfigure.height != height_) {
            width_ = event.xconfigure.width;
            height_ = event.xconfigure.height;
            draw();
        }
        break;
    case ButtonPress:
    case ButtonRelease: {
        const unsigned button = event.xbutton.button;
        std::uint32_t down = 0, up = 0, twice = 0;
        if (button == Button1) down = WM_LBUTTONDOWN, up = WM_LBUTTONUP, twice = WM_LBUTTONDBLCLK;
        else if (button == Button2) down = WM_MBUTTONDOWN, up = WM_MBUTTONUP, twice = WM_MBUTTONDBLCLK;
        else if (button == Button3) down = WM_RBUTTONDOWN, up = WM_RBUTTONUP, twice = WM_RBUTTONDBLCLK;
        else break;  // the wheel means nothing here
        std::uint32_t message = up;
        if (event.type == ButtonPress) {
            const bool again = button == lastButton_ && event.xbutton.time - lastPressTime_ < DoubleClickMilliseconds;
            message = again ? twice : down;
            // A third press starts over, as on windows.
            lastButton_ = again ? 0 : button;
            lastPressTime_ = event.xbutton.time;
        }
        if (onClick_) onClick_(message);
        break;
    }
    default:
        break;
    }
    return true;
}

}  // namespace Arbor::Platform::X11
