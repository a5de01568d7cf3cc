#pragma once
// One popup menu: an ordered list of owned items, from which a native popup menu
// (PopupMenu.h) is built anew each time it is shown.
#include <atomic>
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "framework/Gui/MenuItem.h"
#include "framework/Platform/PopupMenu.h"
#include "framework/Platform/TrayMenu.h"
#include "framework/Platform/Types.h"

namespace Arbor::Gui {

class MenuWidget {
public:
    MenuWidget() = default;
    MenuWidget(const MenuWidget&) = delete;
    MenuWidget& operator=(const MenuWidget&) = delete;
    virtual ~MenuWidget();

    virtual std::u16string className() const { return u"MenuWidget"; }

    std::size_t size() const { return items_.size(); }
    MenuItem* item(std::size_t index) const { return index < items_.size() ? items_[index].get() : nullptr; }
    const std::vector<std::unique_ptr<MenuItem>>& items() const { return items_; }

    void append(std::unique_ptr<MenuItem> item);
    // Before the item at the index; an index at or beyond the end appends.
    void insert(std::size_t index, std::unique_ptr<MenuItem> item);
    // Takes the item at the index out and hands it back (null when there is none).
    std::unique_ptr<MenuItem> take(std::size_t index);
    // Takes every item out, in order.
    std::vector<std::unique_ptr<MenuItem>> takeAll();
    // The index of the first item (not a separator) whose text equals `text`, or -1.
    int indexOf(std::u16string_view text) const;

    // prepare() then track().
    bool show(Platform::WindowHandle owner, Platform::Point at);
    // Builds the native menu from the items, the previous one destroyed. False while
    // the menu is being shown (the open menu keeps its native menu) or on failure.
    // Whoever guards the items against other threads holds that guard here only.
    bool prepare();
    // Shows the native menu at the screen point for the owner window, then posts a null
    // message to the owner. Returns when the menu closed (at once on the headless
    // desktop). False when it could not show.
    bool track(Platform::WindowHandle owner, Platform::Point at);
    Platform::MenuHandle nativeMenu() const { return native_; }

    // The items as a plain tree, shown the way prepare() builds them (for a panel that
    // draws the menu itself).
    std::vector<Platform::TrayMenuItem> describe() const;

    // The native state flags an item is shown with.
    static std::uint32_t nativeFlags(const MenuItem& item);

private:
    // Appends the items to `menu`; `path` holds the menus being built above, so that a
    // menu that opens itself (directly or further down) shows a greyed, empty submenu
    // there instead of nesting without end.
    void build(Platform::MenuHandle menu, std::vector<const MenuWidget*>& path) const;
    void describe(std::vector<Platform::TrayMenuItem>& out, std::vector<const MenuWidget*>& path) const;

    std::vector<std::unique_ptr<MenuItem>> items_;
    Platform::MenuHandle native_ = Platform::MenuHandle::None;
    std::atomic<bool> tracking_{false};
};

}  // namespace Arbor::Gui
