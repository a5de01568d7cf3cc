// Popup menus of the virtual desktop: menus kept as data (MenuTree.h); showing one
// sends WM_INITMENUPOPUP to the owner and records it as open; tests then choose from
// it as a user would (HeadlessPopupMenu.h).
#include "framework/Platform/Headless/HeadlessPopupMenu.h"

#include <mutex>

#include "framework/Platform/Headless/HeadlessServices.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/PopupMenu.h"
#include "framework/Platform/Window.h"

namespace Arbor::Platform {

namespace {

// Menu windows get handles of their own range, far from the desktop's window counters.
constexpr std::uintptr_t kMenuWindowBase = 0x32768000;

struct Level {
    std::shared_ptr<const MenuTree> menu;
    Point at;
};

struct PopupState {
    std::mutex mutex;
    MenuTreeStore store;
    std::vector<Level> open;  // outermost first
    WindowHandle owner = WindowHandle::None;
    WindowHandle menuWindow = WindowHandle::None;
    std::uintptr_t nextWindow = kMenuWindowBase;
    int shown = 0;
};

PopupState& state() {
    static PopupState* instance = new PopupState;  // outlives every late caller
    return *instance;
}

void sendInitMenuPopup(WindowHandle owner, MenuHandle menu, bool fromOwnerThread) {
    auto& queue = messageQueueService();
    const auto wParam = static_cast<std::uintptr_t>(menu);
    if (fromOwnerThread) {
        queue.sendMessage(owner, WM_INITMENUPOPUP, wParam, 0);
    } else {
        // A test's thread must not wait for a user-interface thread that may be waiting
        // for it: the owner hears of the submenu through its queue.
        queue.postMessage(owner, WM_INITMENUPOPUP, wParam, 0);
    }
}

class HeadlessPopupMenuService : public PopupMenuService {
public:
    MenuHandle createPopupMenu() override { return state().store.create(); }
    bool destroyMenu(MenuHandle menu) override { return state().store.destroy(menu); }
    bool appendItem(MenuHandle menu, std::uint32_t flags, std::uint32_t commandId, std::u16string_view text) override {
        return state().store.appendItem(menu, flags, commandId, text);
    }
    bool appendSeparator(MenuHandle menu) override { return state().store.appendSeparator(menu); }
    bool appendSubMenu(MenuHandle menu, MenuHandle subMenu, std::uint32_t flags, std::u16string_view text) override {
        return state().store.appendSubMenu(menu, subMenu, flags, text);
    }

    bool trackPopupMenu(MenuHandle menu, Point at, WindowHandle owner) override {
        PopupState& s = state();
        auto tree = s.store.snapshot(menu);
        if (!tree || !windowService().exists(owner)) return false;
        {
            std::lock_guard lock(s.mutex);
            if (!s.open.empty()) return false;
            s.open.push_back(Level{tree, at});
            s.owner = owner;
            s.menuWindow = WindowHandle(s.nextWindow++);
            ++s.shown;
        }
        sendInitMenuPopup(owner, menu, true);
        return true;
    }

    WindowHandle findMenuWindow() override {
        std::lock_guard lock(state().mutex);
        return state().open.empty() ? WindowHandle::None : state().menuWindow;
    }
    bool isMenuWindowVisible(WindowHandle menuWindow) override {
        std::lock_guard lock(state().mutex);
        return menuWindow != WindowHandle::None && !state().open.empty() && state().menuWindow == menuWindow;
    }
    bool setMenuWindowTopmost(WindowHandle menuWindow) override { return isMenuWindowVisible(menuWindow); }
};

}  // namespace

std::vector<Headless::OpenPopupMenu> Headless::openPopupMenus() {
    PopupState& s = state();
    std::lock_guard lock(s.mutex);
    std::vector<OpenPopupMenu> result;
    for (const Level& level : s.open) result.push_back(OpenPopupMenu{s.owner, s.menuWindow, level.at, *level.menu});
    return result;
}

int Headless::popupMenusShown() {
    std::lock_guard lock(state().mutex);
    return state().shown;
}

Headless::PopupChoice Headless::choosePopupMenuItem(std::u16string_view text) {
    PopupState& s = state();
    WindowHandle owner = WindowHandle::None;
    std::uint32_t command = 0;
    MenuHandle opened = MenuHandle::None;
    {
        std::lock_guard lock(s.mutex);
        if (s.open.empty()) return PopupChoice::NoMenu;
        const Level& innermost = s.open.back();
        const MenuEntry* found = nullptr;
        for (const MenuEntry& entry : innermost.menu->entries) {
            if (entry.kind != MenuEntry::Kind::Separator && entry.text == text) {
                found = &entry;
                break;
            }
        }
        if (!found) return PopupChoice::NotFound;
        if (!found->isSelectable()) return PopupChoice::Disabled;
        owner = s.owner;
        if (found->kind == MenuEntry::Kind::SubMenu) {
            // The submenu opens beside its parent, as far down as the item sits.
            Point at = innermost.at;
            at.y += static_cast<int>(&*found - innermost.menu->entries.data()) * 20;
            at.x += 150;
            opened = found->subMenu->handle;
            s.open.push_back(Level{found->subMenu, at});
        } else {
            command = found->commandId;
            s.open.clear();
        }
    }
    auto& queue = messageQueueService();
    if (opened != MenuHandle::None) {
        sendInitMenuPopup(owner, opened, false);
        return PopupChoice::OpenedSubMenu;
    }
    queue.postMessage(owner, WM_COMMAND, command & 0xFFFFu, 0);
    return PopupChoice::Chosen;
}

bool Headless::escapePopupMenu() {
    std::lock_guard lock(state().mutex);
    if (state().open.empty()) return false;
    state().open.pop_back();
    return true;
}

void Headless::resetPopupMenus() {
    std::lock_guard lock(state().mutex);
    state().open.clear();
    state().shown = 0;
}

std::unique_ptr<PopupMenuService> Headless::makePopupMenuService() {
    return std::make_unique<HeadlessPopupMenuService>();
}

}  // namespace Arbor::Platform
