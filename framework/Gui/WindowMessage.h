#pragma once
// One window message as handlers and listeners see it, and the message numbers of the
// widget layer that the platform vocabulary (framework/Platform/Messages.h) leaves out.
#include <cstdint>
#include <optional>

namespace Arbor::Gui {

struct WindowMessage {
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// What a handler answers: a result, or nothing for the system's default handling.
using HandlerResult = std::optional<std::intptr_t>;

// Message numbers of the system vocabulary used only here.
inline constexpr std::uint32_t WM_NOTIFY = 0x004E;
inline constexpr std::uint32_t WM_INPUTLANGCHANGEREQUEST = 0x0050;
inline constexpr std::uint32_t WM_INPUTLANGCHANGE = 0x0051;
inline constexpr std::uint32_t WM_DEADCHAR = 0x0103;
inline constexpr std::uint32_t WM_SYSCHAR = 0x0106;
inline constexpr std::uint32_t WM_SYSDEADCHAR = 0x0107;
inline constexpr std::uint32_t WM_HSCROLL = 0x0114;
inline constexpr std::uint32_t WM_VSCROLL = 0x0115;
inline constexpr std::uint32_t WM_XBUTTONDOWN = 0x020B;
inline constexpr std::uint32_t WM_XBUTTONUP = 0x020C;
inline constexpr std::uint32_t WM_XBUTTONDBLCLK = 0x020D;
inline constexpr std::uint32_t WM_CAPTURECHANGED = 0x0215;
inline constexpr std::uint32_t WM_ENTERSIZEMOVE = 0x0231;
inline constexpr std::uint32_t WM_EXITSIZEMOVE = 0x0232;

// Answers to WM_MOUSEACTIVATE.
inline constexpr std::intptr_t MA_ACTIVATE = 1;
inline constexpr std::intptr_t MA_NOACTIVATE = 3;

// The application messages this layer gives a meaning: tray-icon clicks arrive as the
// first (the mouse message in lParam); the second asks a window to destroy itself.
inline constexpr std::uint32_t TrayIconMessage = 0x8002;
inline constexpr std::uint32_t DestroyWindowMessage = 0x8003;

// The last numbers of the user and application ranges.
inline constexpr std::uint32_t UserRangeLast = 0x7FFF;
inline constexpr std::uint32_t AppRangeLast = 0xBFFF;

}  // namespace Arbor::Gui
