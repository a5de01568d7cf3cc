#pragma once
// The event vocabulary of every backend: Win32 message numbers, window styles and
// related flags, declared once as plain constants. Backends other than Win32 translate
// their native events into these, so listener code reads the same everywhere.
//
// Each constant stands aside when the system header has already defined it as a macro
// (only the Win32 backend includes that header), so both can meet in one file; code
// there uses the names unqualified.
#include <cstdint>

namespace Arbor::Platform {

// Window messages.
#ifndef WM_NULL
inline constexpr std::uint32_t WM_NULL = 0x0000;
#endif
#ifndef WM_CREATE
inline constexpr std::uint32_t WM_CREATE = 0x0001;
#endif
#ifndef WM_DESTROY
inline constexpr std::uint32_t WM_DESTROY = 0x0002;
#endif
#ifndef WM_MOVE
inline constexpr std::uint32_t WM_MOVE = 0x0003;
#endif
#ifndef WM_SIZE
inline constexpr std::uint32_t WM_SIZE = 0x0005;
#endif
#ifndef WM_ACTIVATE
inline constexpr std::uint32_t WM_ACTIVATE = 0x0006;
#endif
#ifndef WM_SETFOCUS
inline constexpr std::uint32_t WM_SETFOCUS = 0x0007;
#endif
#ifndef WM_KILLFOCUS
inline constexpr std::uint32_t WM_KILLFOCUS = 0x0008;
#endif
#ifndef WM_SETTEXT
inline constexpr std::uint32_t WM_SETTEXT = 0x000C;
#endif
#ifndef WM_GETTEXT
inline constexpr std::uint32_t WM_GETTEXT = 0x000D;
#endif
#ifndef WM_PAINT
inline constexpr std::uint32_t WM_PAINT = 0x000F;
#endif
#ifndef WM_CLOSE
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
#endif
#ifndef WM_QUERYENDSESSION
inline constexpr std::uint32_t WM_QUERYENDSESSION = 0x0011;
#endif
#ifndef WM_QUIT
inline constexpr std::uint32_t WM_QUIT = 0x0012;
#endif
#ifndef WM_ERASEBKGND
inline constexpr std::uint32_t WM_ERASEBKGND = 0x0014;
#endif
#ifndef WM_ENDSESSION
inline constexpr std::uint32_t WM_ENDSESSION = 0x0016;
#endif
#ifndef WM_SHOWWINDOW
inline constexpr std::uint32_t WM_SHOWWINDOW = 0x0018;
#endif
#ifndef WM_ACTIVATEAPP
inline constexpr std::uint32_t WM_ACTIVATEAPP = 0x001C;
#endif
#ifndef WM_SETCURSOR
inline constexpr std::uint32_t WM_SETCURSOR = 0x0020;
#endif
#ifndef WM_MOUSEACTIVATE
inline constexpr std::uint32_t WM_MOUSEACTIVATE = 0x0021;
#endif
#ifndef WM_WINDOWPOSCHANGING
inline constexpr std::uint32_t WM_WINDOWPOSCHANGING = 0x0046;
#endif
#ifndef WM_WINDOWPOSCHANGED
inline constexpr std::uint32_t WM_WINDOWPOSCHANGED = 0x0047;
#endif
#ifndef WM_CONTEXTMENU
inline constexpr std::uint32_t WM_CONTEXTMENU = 0x007B;
#endif
#ifndef WM_DISPLAYCHANGE
inline constexpr std::uint32_t WM_DISPLAYCHANGE = 0x007E;
#endif
#ifndef WM_NCCREATE
inline constexpr std::uint32_t WM_NCCREATE = 0x0081;
#endif
#ifndef WM_NCDESTROY
inline constexpr std::uint32_t WM_NCDESTROY = 0x0082;
#endif
#ifndef WM_NCHITTEST
inline constexpr std::uint32_t WM_NCHITTEST = 0x0084;
#endif
#ifndef WM_KEYDOWN
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
#endif
#ifndef WM_KEYUP
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
#endif
#ifndef WM_CHAR
inline constexpr std::uint32_t WM_CHAR = 0x0102;
#endif
#ifndef WM_SYSKEYDOWN
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
#endif
#ifndef WM_SYSKEYUP
inline constexpr std::uint32_t WM_SYSKEYUP = 0x0105;
#endif
#ifndef WM_COMMAND
inline constexpr std::uint32_t WM_COMMAND = 0x0111;
#endif
#ifndef WM_SYSCOMMAND
inline constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
#endif
#ifndef WM_TIMER
inline constexpr std::uint32_t WM_TIMER = 0x0113;
#endif
#ifndef WM_INITMENUPOPUP
inline constexpr std::uint32_t WM_INITMENUPOPUP = 0x0117;
#endif
#ifndef WM_MENUSELECT
inline constexpr std::uint32_t WM_MENUSELECT = 0x011F;
#endif
#ifndef WM_MOUSEMOVE
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
#endif
#ifndef WM_LBUTTONDOWN
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
#endif
#ifndef WM_LBUTTONUP
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
#endif
#ifndef WM_LBUTTONDBLCLK
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
#endif
#ifndef WM_RBUTTONDOWN
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
#endif
#ifndef WM_RBUTTONUP
inline constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
#endif
#ifndef WM_RBUTTONDBLCLK
inline constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
#endif
#ifndef WM_MBUTTONDOWN
inline constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
#endif
#ifndef WM_MBUTTONUP
inline constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
#endif
#ifndef WM_MBUTTONDBLCLK
inline constexpr std::uint32_t WM_MBUTTONDBLCLK = 0x0209;
#endif
#ifndef WM_MOUSEWHEEL
inline constexpr std::uint32_t WM_MOUSEWHEEL = 0x020A;
#endif
#ifndef WM_ENTERMENULOOP
inline constexpr std::uint32_t WM_ENTERMENULOOP = 0x0211;
#endif
#ifndef WM_EXITMENULOOP
inline constexpr std::uint32_t WM_EXITMENULOOP = 0x0212;
#endif
#ifndef WM_CAPTURECHANGED
inline constexpr std::uint32_t WM_CAPTURECHANGED = 0x0215;
#endif
#ifndef WM_DROPFILES
inline constexpr std::uint32_t WM_DROPFILES = 0x0233;
#endif
#ifndef WM_MOUSEHOVER
inline constexpr std::uint32_t WM_MOUSEHOVER = 0x02A1;
#endif
#ifndef WM_MOUSELEAVE
inline constexpr std::uint32_t WM_MOUSELEAVE = 0x02A3;
#endif
#ifndef MM_WOM_OPEN
inline constexpr std::uint32_t MM_WOM_OPEN = 0x03BB;
#endif
#ifndef MM_WOM_CLOSE
inline constexpr std::uint32_t MM_WOM_CLOSE = 0x03BC;
#endif
#ifndef MM_WOM_DONE
inline constexpr std::uint32_t MM_WOM_DONE = 0x03BD;
#endif
#ifndef WM_USER
inline constexpr std::uint32_t WM_USER = 0x0400;
#endif
#ifndef WM_APP
inline constexpr std::uint32_t WM_APP = 0x8000;
#endif

// Virtual-key codes of the mouse buttons (keys use the system's codes as well).
#ifndef VK_LBUTTON
inline constexpr int VK_LBUTTON = 0x01;
#endif
#ifndef VK_RBUTTON
inline constexpr int VK_RBUTTON = 0x02;
#endif
#ifndef VK_MBUTTON
inline constexpr int VK_MBUTTON = 0x04;
#endif

// Window styles.
#ifndef WS_OVERLAPPED
inline constexpr std::uint32_t WS_OVERLAPPED = 0x0000;
#endif
#ifndef WS_POPUP
inline constexpr std::uint32_t WS_POPUP = 0x80000000;
#endif
#ifndef WS_CHILD
inline constexpr std::uint32_t WS_CHILD = 0x40000000;
#endif
#ifndef WS_VISIBLE
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000;
#endif
#ifndef WS_DISABLED
inline constexpr std::uint32_t WS_DISABLED = 0x8000000;
#endif
#ifndef WS_CAPTION
inline constexpr std::uint32_t WS_CAPTION = 0xC00000;
#endif
#ifndef WS_SYSMENU
inline constexpr std::uint32_t WS_SYSMENU = 0x80000;
#endif
#ifndef WS_THICKFRAME
inline constexpr std::uint32_t WS_THICKFRAME = 0x40000;
#endif
#ifndef WS_MINIMIZEBOX
inline constexpr std::uint32_t WS_MINIMIZEBOX = 0x20000;
#endif
#ifndef WS_MAXIMIZEBOX
inline constexpr std::uint32_t WS_MAXIMIZEBOX = 0x10000;
#endif
#ifndef WS_OVERLAPPEDWINDOW
inline constexpr std::uint32_t WS_OVERLAPPEDWINDOW = 0xCF0000;
#endif

// Extended window styles.
#ifndef WS_EX_TOPMOST
inline constexpr std::uint32_t WS_EX_TOPMOST = 0x0008;
#endif
#ifndef WS_EX_TRANSPARENT
inline constexpr std::uint32_t WS_EX_TRANSPARENT = 0x0020;
#endif
#ifndef WS_EX_TOOLWINDOW
inline constexpr std::uint32_t WS_EX_TOOLWINDOW = 0x0080;
#endif
#ifndef WS_EX_APPWINDOW
inline constexpr std::uint32_t WS_EX_APPWINDOW = 0x40000;
#endif
#ifndef WS_EX_LAYERED
inline constexpr std::uint32_t WS_EX_LAYERED = 0x80000;
#endif
#ifndef WS_EX_NOACTIVATE
inline constexpr std::uint32_t WS_EX_NOACTIVATE = 0x8000000;
#endif

// Parameters of some messages and of the system exit request.
#ifndef SIZE_RESTORED
inline constexpr std::uint32_t SIZE_RESTORED = 0x0000;
#endif
#ifndef WA_INACTIVE
inline constexpr std::uint32_t WA_INACTIVE = 0x0000;
#endif
#ifndef SC_CLOSE
inline constexpr std::uint32_t SC_CLOSE = 0xF060;
#endif
#ifndef ENDSESSION_LOGOFF
inline constexpr std::uint32_t ENDSESSION_LOGOFF = 0x80000000;
#endif
#ifndef EWX_LOGOFF
inline constexpr std::uint32_t EWX_LOGOFF = 0x0000;
#endif
#ifndef EWX_SHUTDOWN
inline constexpr std::uint32_t EWX_SHUTDOWN = 0x0001;
#endif
#ifndef EWX_REBOOT
inline constexpr std::uint32_t EWX_REBOOT = 0x0002;
#endif
#ifndef EWX_FORCE
inline constexpr std::uint32_t EWX_FORCE = 0x0004;
#endif
#ifndef EWX_POWEROFF
inline constexpr std::uint32_t EWX_POWEROFF = 0x0008;
#endif

}  // namespace Arbor::Platform
