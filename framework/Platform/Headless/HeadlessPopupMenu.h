#pragma once
// Popup menus on the headless desktop, for tests and scripted runs. Showing a menu
// records it as open (nothing is drawn, so screenshots never show it) and returns at
// once; the menu stays open until one of these calls chooses from it or closes it,
// which act as a user's click or key would.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Platform/MenuTree.h"
#include "framework/Platform/Types.h"

namespace Arbor::Platform::Headless {

struct OpenPopupMenu {
    WindowHandle owner = WindowHandle::None;
    WindowHandle menuWindow = WindowHandle::None;  // stands for the system's "#32768" window
    Point at;
    MenuTree menu;  // as it was built when it opened
};

// The open menus, the one shown first (outermost) first; empty when none is open.
std::vector<OpenPopupMenu> openPopupMenus();
// How many menus were shown since the last reset (submenus opened not counted).
int popupMenusShown();

enum class PopupChoice {
    Chosen,         // a plain item: the menu closed and WM_COMMAND was posted to the owner
    OpenedSubMenu,  // a submenu item: its menu is now the innermost
    Disabled,       // a greyed item (or separator): nothing happened, the menu stays open
    NotFound,       // no item has that text: nothing happened
    NoMenu,         // no menu is open
};

// Picks the first item whose text is `text` in the innermost open menu.
PopupChoice choosePopupMenuItem(std::u16string_view text);
// Closes the innermost open menu (Escape); false when none is open.
bool escapePopupMenu();
// Closes every open menu and forgets the count.
void resetPopupMenus();

}  // namespace Arbor::Platform::Headless
