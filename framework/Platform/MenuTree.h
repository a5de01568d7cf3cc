#pragma once
// Popup menus as plain data, for the backends that keep menus themselves (the headless
// desktop and the X11 backend, which draws them): a store of menus by handle, each an
// ordered list of entries, and a copy of a whole menu tree taken when it is shown, so
// that what is on screen stays as it was built whatever happens to the menus later.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Platform/PopupMenu.h"

namespace Arbor::Platform {

struct MenuTree;

struct MenuEntry {
    enum class Kind { String, Separator, SubMenu };
    Kind kind = Kind::String;
    std::uint32_t flags = 0;  // MenuState... bits and MenuTypeRadioCheck
    std::uint32_t commandId = 0;
    std::u16string text;
    std::shared_ptr<const MenuTree> subMenu;  // SubMenu entries only

    bool isGrayed() const { return (flags & MenuStateGrayed) != 0; }
    bool isChecked() const { return (flags & MenuStateChecked) != 0; }
    bool isRadio() const { return (flags & MenuTypeRadioCheck) != 0; }
    // Whether the user can pick it (or open it): not a separator, not greyed.
    bool isSelectable() const { return kind != Kind::Separator && !isGrayed(); }
};

struct MenuTree {
    MenuHandle handle = MenuHandle::None;
    std::vector<MenuEntry> entries;
};

// Thread-safe.
class MenuTreeStore {
public:
    MenuHandle create();
    // Also destroys the submenus appended to it.
    bool destroy(MenuHandle menu);
    bool exists(MenuHandle menu) const;
    bool appendItem(MenuHandle menu, std::uint32_t flags, std::uint32_t commandId, std::u16string_view text);
    bool appendSeparator(MenuHandle menu);
    // False when either menu is unknown, when they are the same, or when the submenu
    // already belongs to a menu.
    bool appendSubMenu(MenuHandle menu, MenuHandle subMenu, std::uint32_t flags, std::u16string_view text);
    // A copy of the menu with its submenus; null for an unknown menu.
    std::shared_ptr<const MenuTree> snapshot(MenuHandle menu) const;

private:
    struct Entry {
        MenuEntry::Kind kind;
        std::uint32_t flags;
        std::uint32_t commandId;
        std::u16string text;
        MenuHandle subMenu;
    };
    struct Menu {
        std::vector<Entry> entries;
        bool owned = false;  // appended to another menu as its submenu
    };
    std::shared_ptr<const MenuTree> copyOf(MenuHandle menu, int depth) const;
    void destroyLocked(MenuHandle menu, int depth);

    mutable std::mutex mutex_;
    std::map<MenuHandle, Menu> menus_;
    std::uintptr_t next_ = 0x10000;
};

}  // namespace Arbor::Platform
