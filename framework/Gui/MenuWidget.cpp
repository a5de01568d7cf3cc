#include "framework/Gui/MenuWidget.h"

#include <algorithm>
#include <utility>

#include "framework/Gui/MenuCommandIds.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"

namespace Arbor::Gui {

namespace Platform = Arbor::Platform;

MenuWidget::~MenuWidget() {
    if (native_ != Platform::MenuHandle::None) Platform::popupMenuService().destroyMenu(native_);
}

void MenuWidget::append(std::unique_ptr<MenuItem> item) {
    if (item) items_.push_back(std::move(item));
}

void MenuWidget::insert(std::size_t index, std::unique_ptr<MenuItem> item) {
    if (!item) return;
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(std::min(index, items_.size())), std::move(item));
}

std::unique_ptr<MenuItem> MenuWidget::take(std::size_t index) {
    if (index >= items_.size()) return nullptr;
    std::unique_ptr<MenuItem> item = std::move(items_[index]);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    return item;
}

std::vector<std::unique_ptr<MenuItem>> MenuWidget::takeAll() { return std::exchange(items_, {}); }

int MenuWidget::indexOf(std::u16string_view text) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i]->itemType() != MenuItem::SeparatorType && items_[i]->text() == text) return static_cast<int>(i);
    }
    return -1;
}

std::uint32_t MenuWidget::nativeFlags(const MenuItem& item) {
    std::uint32_t flags = item.state() & (MenuItem::DisabledState | MenuItem::CheckedState | MenuItem::HighlightedState);
    // Items made after the identifiers ran out all share one identifier, by which no
    // choice could be told apart: they are shown but cannot be chosen.
    if (item.itemType() == MenuItem::StringType && item.commandId() == MenuCommandIds::exhausted) {
        flags |= MenuItem::DisabledState;
    }
    if (const auto* text = dynamic_cast<const StringMenuItem*>(&item); text && text->isRadio()) {
        flags |= Platform::MenuTypeRadioCheck;
    }
    return flags;
}

void MenuWidget::build(Platform::MenuHandle menu, std::vector<const MenuWidget*>& path) const {
    auto& service = Platform::popupMenuService();
    path.push_back(this);
    for (const auto& item : items_) {
        switch (item->itemType()) {
            case MenuItem::StringType:
                service.appendItem(menu, nativeFlags(*item), static_cast<std::uint32_t>(item->commandId()), item->text());
                break;
            case MenuItem::SeparatorType:
                service.appendSeparator(menu);
                break;
            case MenuItem::SubMenuType: {
                const MenuWidget* sub = item->subMenu();
                const Platform::MenuHandle native = service.createPopupMenu();
                if (native == Platform::MenuHandle::None) break;
                std::uint32_t flags = nativeFlags(*item);
                if (sub && std::find(path.begin(), path.end(), sub) == path.end()) {
                    sub->build(native, path);
                } else {
                    flags |= MenuItem::DisabledState;
                }
                if (!service.appendSubMenu(menu, native, flags, item->text())) service.destroyMenu(native);
                break;
            }
            default:
                break;
        }
    }
    path.pop_back();
}

std::vector<Platform::TrayMenuItem> MenuWidget::describe() const {
    std::vector<Platform::TrayMenuItem> out;
    std::vector<const MenuWidget*> path;
    describe(out, path);
    return out;
}

void MenuWidget::describe(std::vector<Platform::TrayMenuItem>& out, std::vector<const MenuWidget*>& path) const {
    using Kind = Platform::TrayMenuItem::Kind;
    path.push_back(this);
    for (const auto& item : items_) {
        Platform::TrayMenuItem described;
        described.text = item->text();
        described.flags = nativeFlags(*item);
        switch (item->itemType()) {
            case MenuItem::StringType: {
                described.commandId = static_cast<std::uint32_t>(item->commandId());
                const auto* text = dynamic_cast<const StringMenuItem*>(item.get());
                described.checkable = text && text->isCheckable();
                break;
            }
            case MenuItem::SeparatorType:
                described.kind = Kind::Separator;
                described.text.clear();
                break;
            case MenuItem::SubMenuType: {
                described.kind = Kind::SubMenu;
                // As in build(): a menu that opens itself shows a greyed, empty submenu.
                const MenuWidget* sub = item->subMenu();
                if (sub && std::find(path.begin(), path.end(), sub) == path.end()) {
                    sub->describe(described.children, path);
                } else {
                    described.flags |= MenuItem::DisabledState;
                }
                break;
            }
            default:
                continue;
        }
        out.push_back(std::move(described));
    }
    path.pop_back();
}

bool MenuWidget::show(Platform::WindowHandle owner, Platform::Point at) { return prepare() && track(owner, at); }

bool MenuWidget::prepare() {
    if (tracking_.load()) return false;
    auto& service = Platform::popupMenuService();
    if (native_ != Platform::MenuHandle::None) service.destroyMenu(native_);
    native_ = service.createPopupMenu();
    if (native_ == Platform::MenuHandle::None) return false;
    std::vector<const MenuWidget*> path;
    build(native_, path);
    return true;
}

bool MenuWidget::track(Platform::WindowHandle owner, Platform::Point at) {
    if (native_ == Platform::MenuHandle::None || tracking_.exchange(true)) return false;
    const bool shown = Platform::popupMenuService().trackPopupMenu(native_, at, owner);
    tracking_.store(false);
    Platform::messageQueueService().postMessage(owner, Platform::WM_NULL, 0, 0);
    return shown;
}

}  // namespace Arbor::Gui
