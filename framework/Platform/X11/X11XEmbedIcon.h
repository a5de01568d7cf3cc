#pragma once
// A notification-area icon docked in an XEmbed system tray: the owner of the
// _NET_SYSTEM_TRAY_S<screen> selection takes a small window of ours
// (SYSTEM_TRAY_REQUEST_DOCK) and sizes it; the window draws the picture scaled to its
// size and reports clicks as window mouse messages.
//
// The icon works on a connection of its owner's (the tray host's), which reads the
// events and hands those of the icon's window to handle().
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "framework/Platform/TrayIcon.h"
#include "framework/Platform/X11/X11Headers.h"

namespace Arbor::Platform::X11 {

class XEmbedIcon {
public:
    // Called with WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK and the right and
    // middle buttons' messages.
    using ClickHandler = std::function<void(std::uint32_t mouseMessage)>;

    // The window that owns the system tray selection of the screen; 0 when none.
    static Window trayManager(Display* display, int screen);
    // Makes the icon's window and asks the manager to dock it; null on failure.
    static std::unique_ptr<XEmbedIcon> dock(Display* display, int screen, Window manager,
                                            const TrayIconPixels& picture, std::u16string_view tip,
                                            ClickHandler onClick);
    ~XEmbedIcon();
    XEmbedIcon(const XEmbedIcon&) = delete;
    XEmbedIcon& operator=(const XEmbedIcon&) = delete;

    Window window() const { return window_; }
    Window manager() const { return manager_; }
    void setPicture(const TrayIconPixels& picture);
    void setTip(std::u16string_view tip);
    // An event for window(); true when it was the icon's.
    bool handle(const XEvent& event);

private:
    XEmbedIcon() = default;
    bool create(Display* display, int screen, Window manager, std::u16string_view tip);
    void draw();
    void freePicture();

    Display* display_ = nullptr;
    Window window_ = 0;
    Window manager_ = 0;
    bool argb_ = false;
    Colormap colormap_ = 0;
    int width_ = 0, height_ = 0;
    TrayIconPixels picture_;
    Pixmap source_ = 0;  // the picture, premultiplied, 32 bits
    ClickHandler onClick_;
    // The last press, for double clicks by the same time and distance as windows.
    unsigned lastButton_ = 0;
    Time lastPressTime_ = 0;
};

}  // namespace Arbor::Platform::X11
