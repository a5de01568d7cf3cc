#pragma once
// What the user works with: the foreground window, the program behind it, that
// program's product name, and bringing a program's window to the front.
// Win32 asks the window manager and the executable's version information; X11 reads
// _NET_ACTIVE_WINDOW and _NET_WM_PID, /proc/PID/exe and the desktop entries; the
// headless backend answers from its virtual desktop and the programs tests describe.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace Arbor::Platform {

struct ForegroundWindow {
    std::uint64_t window = 0;  // 0: none
    std::uint32_t processId = 0;
    friend bool operator==(const ForegroundWindow&, const ForegroundWindow&) = default;
};

class ForegroundService {
public:
    virtual ~ForegroundService() = default;
    virtual ForegroundWindow foregroundWindow() = 0;
    // The full path of the foreground window's executable; nothing when there is no
    // foreground window or its process cannot be inspected.
    virtual std::optional<std::u16string> foregroundExecutable() = 0;
    // The product name the executable declares; empty when it declares none.
    virtual std::u16string productName(std::u16string_view executable) = 0;
    // Brings the first visible, unowned top-level window of a running program whose
    // executable is exactly `executable` to the front. False when there is none.
    virtual bool bringToFront(std::u16string_view executable) = 0;
};

ForegroundService& foregroundService();

}  // namespace Arbor::Platform
