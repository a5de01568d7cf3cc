#pragma once
// The notification-area icons of the X11 backend (X11TrayIcon.cpp): a
// StatusNotifierItem where a watcher runs on the session bus, an XEmbed tray icon where
// only a system tray runs, nothing (and one line on standard error) with neither. Both
// report clicks to the icon's window as message 0x8002 with the mouse message in
// lParam, as the Win32 backend does.
//
// The icons are served by one thread of their own ("tray thread"): it polls each
// item's bus connection and a private X connection for the XEmbed windows. A separate
// thread keeps the bus's round trips (registration, a panel's property reads) off the
// event thread of the windows, whose loop stays the backend's alone.
#include <cstdint>
#include <memory>
#include <string>

#include "framework/Platform/Types.h"

namespace Arbor::Platform::Linux {
class StatusNotifierMenu;
}

namespace Arbor::Platform::X11 {

#if defined(TAVIZO_HAS_SDBUS)
// Gives the window's StatusNotifierItem the menu the panel shows (exported at the
// item's "Menu" path); an icon docked in an XEmbed tray keeps its item on the bus, so
// the menu is there once a watcher takes the icon over. False when the window has no
// icon, no item (no session bus) or the menu would not attach. While the icon is not
// a registered item, right clicks still arrive as WM_RBUTTONDOWN/UP and the program
// shows its own menu. Safe from any thread; the menu is attached and later used on
// the tray thread.
bool attachTrayMenu(WindowHandle window, std::unique_ptr<Linux::StatusNotifierMenu> menu);
#endif

namespace Inspection {

enum class TrayIconKind { None, StatusNotifierItem, XEmbed };
// How the window's icon is shown now.
TrayIconKind trayIconKind(WindowHandle window);
// The bus name of the window's item ("" when it has none).
std::string trayIconBusName(WindowHandle window);
// The X window of the window's XEmbed icon (0 when it has none).
std::uint64_t trayIconEmbedWindow(WindowHandle window);

}  // namespace Inspection

}  // namespace Arbor::Platform::X11
