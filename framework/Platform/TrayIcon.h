#pragma once
// The notification-area icon of a window. One icon per window, identifier 100; clicks
// on it come back to the window as application message 0x8002 with the identifier in
// wParam and the mouse message (WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, ...) in
// lParam. Win32 uses the shell's notification area; the X11 backend a
// StatusNotifierItem on the session bus or, without one, an XEmbed system tray; the
// headless backend records each call for tests (HeadlessTrayIcon.h).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "framework/Platform/TrayMenu.h"
#include "framework/Platform/Types.h"

namespace Arbor::Platform {

inline constexpr std::uint32_t TrayIconCallbackMessage = 0x8002;
inline constexpr std::uint32_t TrayIconIdentifier = 100;
// The tip field holds 128 code units with the terminator: longer tips are cut.
inline constexpr std::size_t TrayIconTipLength = 127;
// The largest side of an icon picture.
inline constexpr std::int32_t TrayIconMaxSide = 256;

// An icon picture: straight-alpha 0xAARRGGBB words, top row first.
struct TrayIconPixels {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;  // width * height words

    // Both sides 1 ... TrayIconMaxSide and the words to fill them.
    bool valid() const;
};

// An icon made for the notification area. Its handle is what addIcon and modifyIcon
// take: HICON on Win32; elsewhere a key to the kept picture. It must outlive the calls
// that use it, not the icon shown (the system keeps its own copy).
class TrayIconImage {
public:
    virtual ~TrayIconImage() = default;
    TrayIconImage(const TrayIconImage&) = delete;
    TrayIconImage& operator=(const TrayIconImage&) = delete;
    virtual void* handle() const = 0;

protected:
    TrayIconImage() = default;
};

class TrayIconService {
public:
    virtual ~TrayIconService() = default;
    // The icon of the picture; null when the picture is not valid() or the system
    // refuses.
    virtual std::unique_ptr<TrayIconImage> createIcon(const TrayIconPixels& picture) = 0;
    // Adds the icon (a TrayIconImage's handle, or on Win32 any HICON) with its tip.
    // False when the window does not exist, already shows one, or nothing on the desktop
    // can show it.
    virtual bool addIcon(WindowHandle window, void* icon, std::u16string_view tip) = 0;
    // Changes the picture and tip of the window's icon; false when it shows none.
    virtual bool modifyIcon(WindowHandle window, void* icon, std::u16string_view tip) = 0;
    virtual bool removeIcon(WindowHandle window) = 0;
    // Where the desktop's panel draws the icon's menu itself (a StatusNotifierItem on
    // X11), gives it the window's menu, replacing the one given before; a choice there
    // comes to the window as WM_COMMAND with the item's identifier, and the panel's
    // opening a menu as WM_INITMENUPOPUP (wParam 0), as from a popup menu. False where
    // the program shows its own menu on a right click (Win32, headless, an X11 desktop
    // without the session bus) or the window shows no icon.
    virtual bool setMenu(WindowHandle window, const std::vector<TrayMenuItem>& menu);
};

// The service of the current backend (created on first use, kept for the process).
TrayIconService& trayIconService();

// For backends without native icons: an image that keeps a copy of the picture, and
// the copy behind a handle of such an image while it lives (nothing for other values,
// which callers may pass by mistake).
std::unique_ptr<TrayIconImage> makePixelTrayIcon(const TrayIconPixels& picture);
std::optional<TrayIconPixels> pixelsOfTrayIcon(void* handle);

}  // namespace Arbor::Platform
