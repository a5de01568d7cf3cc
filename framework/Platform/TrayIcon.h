#pragma once
// The notification-area icon of a window. One icon per window, identifier 100; clicks
// on it come back to the window as application message 0x8002 with the mouse message
// (WM_LBUTTONUP, WM_RBUTTONUP, ...) in lParam. Win32 uses the shell's notification
// area; the headless backend records each call for tests (HeadlessTrayIcon.h).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "framework/Platform/Types.h"

namespace Arbor::Platform {

inline constexpr std::uint32_t TrayIconCallbackMessage = 0x8002;
inline constexpr std::uint32_t TrayIconIdentifier = 100;
// The tip field holds 128 code units with the terminator: longer tips are cut.
inline constexpr std::size_t TrayIconTipLength = 127;

class TrayIconService {
public:
    virtual ~TrayIconService() = default;
    // Adds the icon (HICON on Win32; any value elsewhere) with its tip. False when the
    // window already shows one or the system refuses.
    virtual bool addIcon(WindowHandle window, void* icon, std::u16string_view tip) = 0;
    virtual bool removeIcon(WindowHandle window) = 0;
};

// The service of the current backend (created on first use, kept for the process).
TrayIconService& trayIconService();

}  // namespace Arbor::Platform
