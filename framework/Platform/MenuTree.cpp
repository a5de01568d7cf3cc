#include "framework/Platform/MenuTree.h"

namespace Arbor::Platform {

namespace {
// Submenus nest only as deep as this: a menu made its own descendant is cut here.
constexpr int kMaxDepth = 32;
}  // namespace

MenuHandle MenuTreeStore::create() {
    std::lock_guard lock(mutex_);
    const MenuHandle handle{next_++};
    menus_[handle];
    return handle;
}

bool MenuTreeStore::destroy(MenuHandle menu) {
    std::lock_guard lock(mutex_);
    if (!menus_.contains(menu)) return false;
    destroyLocked(menu, 0);
    return true;
}

void MenuTreeStore::destroyLocked(MenuHandle menu, int depth) {
    auto it = menus_.find(menu);
    if (it == menus_.end()) return;
    std::vector<Entry> entries = std::move(it->second.entries);
    menus_.erase(it);
    if (depth >= kMaxDepth) return;
    for (const Entry& entry : entries) {
        if (entry.kind == MenuEntry::Kind::SubMenu) destroyLocked(entry.subMenu, depth + 1);
    }
}

bool MenuTreeStore::exists(MenuHandle menu) const {
    std::lock_guard lock(mutex_);
    return menus_.contains(menu);
}

bool MenuTreeStore::appendItem(MenuHandle menu, std::uint32_t flags, std::uint32_t commandId,
                               std::u16string_view text) {
    std::lock_guard lock(mutex_);
    auto it = menus_.find(menu);
    if (it == menus_.end()) return false;
    it->second.entries.push_back(Entry{MenuEntry::Kind::String, flags, commandId, std::u16string(text), {}});
    return true;
}

bool MenuTreeStore::appendSeparator(MenuHandle menu) {
    std::lock_guard lock(mutex_);
    auto it = menus_.find(menu);
    if (it == menus_.end()) return false;
    it->second.entries.push_back(Entry{MenuEntry::Kind::Separator, 0, 0, {}, {}});
    return true;
}

bool MenuTreeStore::appendSubMenu(MenuHandle menu, MenuHandle subMenu, std::uint32_t flags,
                                  std::u16string_view text) {
    std::lock_guard lock(mutex_);
    auto it = menus_.find(menu);
    auto sub = menus_.find(subMenu);
    if (it == menus_.end() || sub == menus_.end() || menu == subMenu || sub->second.owned) return false;
    sub->second.owned = true;
    it->second.entries.push_back(Entry{MenuEntry::Kind::SubMenu, flags, 0, std::u16string(text), subMenu});
    return true;
}

std::shared_ptr<const MenuTree> MenuTreeStore::snapshot(MenuHandle menu) const {
    std::lock_guard lock(mutex_);
    return copyOf(menu, 0);
}

std::shared_ptr<const MenuTree> MenuTreeStore::copyOf(MenuHandle menu, int depth) const {
    auto it = menus_.find(menu);
    if (it == menus_.end()) return nullptr;
    auto tree = std::make_shared<MenuTree>();
    tree->handle = menu;
    for (const Entry& entry : it->second.entries) {
        MenuEntry copy{entry.kind, entry.flags, entry.commandId, entry.text, nullptr};
        if (entry.kind == MenuEntry::Kind::SubMenu) {
            copy.subMenu = depth + 1 < kMaxDepth ? copyOf(entry.subMenu, depth + 1) : nullptr;
            // A submenu destroyed on its own leaves an item that opens nothing.
            if (!copy.subMenu) copy.subMenu = std::make_shared<MenuTree>();
        }
        tree->entries.push_back(std::move(copy));
    }
    return tree;
}

}  // namespace Arbor::Platform
