#pragma once
// The seam between a character and its popup menus. The character owns one object of
// this interface (a MenuManager once script menus exist; until then none).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Source/GameComponent/ViewObject.h"
#include "framework/Platform/TrayMenu.h"

namespace Quenta::Interpreter {
class ScriptMenus;
}

namespace Quenta::GameComponent {

class CharacterMenus {
public:
    virtual ~CharacterMenus() = default;

    // The menus as the character's scripts build them (the menu built-ins).
    virtual Interpreter::ScriptMenus* scriptMenus() { return nullptr; }

    // User-interface thread: look the named menu up, remember it as the pending menu
    // and show it at a screen point. False when there is no such menu.
    virtual bool showMenu(const std::u16string& menuName, int screenX, int screenY) = 0;
    // Frame thread, input phase: a menu item was chosen (event kind 3).
    virtual void onMenuItem(const InputEvent& event) = 0;
    // Whether a menu was shown and not yet forgotten.
    virtual bool hasPendingMenu() const = 0;
    // Whether `menu` (the native handle in a menu-popup event's wParam) is the pending menu.
    virtual bool isPendingMenu(std::uintptr_t menu) const = 0;
    virtual void forgetPendingMenu() = 0;
    // The system's popup menu window while a menu is open (None otherwise).
    virtual Arbor::Platform::WindowHandle popupWindow() const = 0;

    // Grows with every change of the menus (and when a shown menu is forgotten): the
    // frame thread compares it to learn whether to hand the tray's panel a new menu.
    virtual std::uint64_t changeCount() const { return 0; }
    // The named menu as a plain tree for a panel that draws it; nullopt when there is
    // no such menu. Its items count as shown (the panel may choose any of them).
    virtual std::optional<std::vector<Arbor::Platform::TrayMenuItem>> describeMenu(std::u16string_view) {
        return std::nullopt;
    }
};

}  // namespace Quenta::GameComponent
