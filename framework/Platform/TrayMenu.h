#pragma once
// The menu of a notification icon as a plain tree, for desktops whose panel draws the
// icon's menu itself (TrayIconService::setMenu): what each item says, its state bits
// and, for items that can be chosen, the identifier WM_COMMAND carries back.
#include <cstdint>
#include <string>
#include <vector>

namespace Arbor::Platform {

struct TrayMenuItem {
    enum class Kind { Command, Separator, SubMenu };
    Kind kind = Kind::Command;
    std::u16string text;
    // MenuStateGrayed, MenuStateChecked and MenuTypeRadioCheck (PopupMenu.h).
    std::uint32_t flags = 0;
    // Command items: the identifier of their WM_COMMAND.
    std::uint32_t commandId = 0;
    // A check item: shows an (empty) check box also while not checked.
    bool checkable = false;
    // SubMenu items: the items of the submenu.
    std::vector<TrayMenuItem> children;

    bool operator==(const TrayMenuItem&) const = default;
};

}  // namespace Arbor::Platform
