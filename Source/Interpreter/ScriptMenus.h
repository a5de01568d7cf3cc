#pragma once
// A character's popup menus as its scripts see them (the menu built-ins,
// MenuBuiltIns.cpp). The character's menu manager implements it; the interpreter
// knows only this interface. A menu is named by text; naming a menu that does not
// exist creates it empty, except that an empty name creates nothing (the call then
// does nothing). Indexes count items from 0.
#include <cstdint>
#include <string>
#include <string_view>

#include "Source/Interpreter/Token.h"

namespace Quenta::Interpreter {

struct ScriptMenuItem {
    enum class Kind { Plain, Check, GroupCheck, SubMenu, Separator };
    Kind kind = Kind::Plain;
    std::u16string text;
    std::u16string group;    // GroupCheck: the group's name
    std::u16string subMenu;  // SubMenu: the name of the menu it opens
    bool checked = false;    // Check and GroupCheck
    // Plain and GroupCheck: the action run when chosen; Check: the action run when it
    // becomes checked (first) and unchecked (second). Captured, not yet evaluated.
    TokenLine firstAction;
    TokenLine secondAction;
};

// Where a new item goes: appended; inserted before the item at the index (an index
// beyond the end, or below 0, appends); or replacing the item at the index (removed
// if there is one, the new item inserted there).
enum class MenuPlacement { Append, Insert, Replace };

class ScriptMenus {
public:
    virtual ~ScriptMenus() = default;

    // Deletes the menu of that name with its items, if any, and creates it empty.
    virtual void createMenu(std::u16string_view menu) = 0;
    virtual void deleteMenu(std::u16string_view menu) = 0;
    virtual void placeItem(std::u16string_view menu, MenuPlacement placement, std::int64_t index,
                           ScriptMenuItem item) = 0;
    virtual void removeItem(std::u16string_view menu, std::int64_t index) = 0;
    virtual void removeAllItems(std::u16string_view menu) = 0;
    virtual void setItemEnabled(std::u16string_view menu, std::int64_t index, bool enabled) = 0;
    // The first item with that text; no action runs.
    virtual void setItemChecked(std::u16string_view menu, std::u16string_view text, bool checked) = 0;
    // Checks the first item with that text and unchecks the other items of its group.
    virtual void checkGroupItem(std::u16string_view menu, std::u16string_view text) = 0;
    // The first item whose text equals `text`, or -1.
    virtual std::int64_t indexOfItem(std::u16string_view menu, std::u16string_view text) = 0;
    // For every other character than the main one, a check item named after it that
    // shows and hides it.
    virtual void addObjectNames(std::u16string_view menu) = 0;
    // Whether the popup menu that opened for the character is on the screen.
    virtual bool isPopupMenuVisible() = 0;
};

}  // namespace Quenta::Interpreter
