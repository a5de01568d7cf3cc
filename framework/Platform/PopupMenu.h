#pragma once
// Popup menus: built item by item into a native menu, then shown at a screen point for
// a window, the way the system's popup menus work everywhere here. Before a menu or
// one of its submenus opens, its owner window is sent WM_INITMENUPOPUP (wParam: the
// menu); when the user chooses an item, WM_COMMAND with the item's command identifier
// in wParam (lParam 0) is posted to the owner. Nothing is posted when the menu is
// dismissed.
//
// Win32 uses the system's menus. X11 draws its own (an override-redirect window with a
// pointer and keyboard grab, so a click outside closes it). The headless desktop
// records the menus it was asked to show; tests choose from them
// (Headless/HeadlessPopupMenu.h).
#include <cstdint>
#include <memory>
#include <string_view>

#include "framework/Platform/Types.h"

namespace Arbor::Platform {

enum class MenuHandle : std::uintptr_t { None = 0 };

// Item state bits, as the system's menu-item states.
inline constexpr std::uint32_t MenuStateGrayed = 0x0003;  // disabled and drawn grey
inline constexpr std::uint32_t MenuStateChecked = 0x0008;
inline constexpr std::uint32_t MenuStateHighlighted = 0x0080;
// Item type bit: the check mark of a checked item is drawn as a radio dot.
inline constexpr std::uint32_t MenuTypeRadioCheck = 0x0200;

class PopupMenuService {
public:
    virtual ~PopupMenuService() = default;

    // An empty popup menu; None on failure.
    virtual MenuHandle createPopupMenu() = 0;
    // Destroys the menu and the submenus added to it. A menu being shown stays on screen
    // as it was built until it closes.
    virtual bool destroyMenu(MenuHandle menu) = 0;

    // `flags`: the state bits above and MenuTypeRadioCheck.
    virtual bool appendItem(MenuHandle menu, std::uint32_t flags, std::uint32_t commandId, std::u16string_view text) = 0;
    virtual bool appendSeparator(MenuHandle menu) = 0;
    // The submenu becomes part of the menu: destroying the menu destroys it.
    virtual bool appendSubMenu(MenuHandle menu, MenuHandle subMenu, std::uint32_t flags, std::u16string_view text) = 0;

    // Shows the menu with its top-left corner at the screen point (moved so that it
    // stays on the screen), owned by the window, which must belong to the calling
    // thread. On Win32 and X11 it returns when the menu closes, having handled the
    // thread's other messages meanwhile; on the headless desktop it returns at once and
    // the menu stays open until a test chooses from it or closes it. False when the
    // menu cannot be shown (another popup menu is open, the menu or window is unknown).
    virtual bool trackPopupMenu(MenuHandle menu, Point at, WindowHandle owner) = 0;

    // The window of the popup menu open now (the system's "#32768" window); None when
    // no menu is open.
    virtual WindowHandle findMenuWindow() = 0;
    // Whether that window is still on the screen.
    virtual bool isMenuWindowVisible(WindowHandle menuWindow) = 0;
    // Puts it in the topmost band (no move, no size, no activation).
    virtual bool setMenuWindowTopmost(WindowHandle menuWindow) = 0;
};

// The service of the current backend (created on first use, kept for the process).
PopupMenuService& popupMenuService();

}  // namespace Arbor::Platform
