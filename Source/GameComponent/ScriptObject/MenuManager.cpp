#include "Source/GameComponent/ScriptObject/MenuManager.h"

#include <algorithm>

#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/CharacterRegistry.h"
#include "Source/Interpreter/ActionCapture.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/TokenKind.h"
#include "framework/Gui/MenuCommandIds.h"
#include "framework/Platform/PopupMenu.h"

namespace Quenta::GameComponent {

namespace {

using Arbor::Gui::MenuCommandIds;
using Arbor::Gui::MenuItem;
using Arbor::Gui::MenuWidget;
using Interpreter::MenuPlacement;
using Interpreter::ScriptMenuItem;
using Interpreter::Token;
using Interpreter::TokenKind;
using Interpreter::TokenLine;
using Kind = ScriptMenuItem::Kind;

constexpr std::u16string_view kMainObjectId = u"MAIN_OBJECT";

Token symbol(TokenKind kind) { return Token(kind, 0, std::u16string(Interpreter::tokenKindText(kind))); }
Token name(std::u16string_view text) { return Token(TokenKind::Identifier, 0, std::u16string(text)); }
Token literal(std::u16string_view text) { return Token(TokenKind::String, 0, std::u16string(text)); }

// PostCommand("id", "Show") | CheckMenuItem("menu", "name"), or the same with Hide and
// UncheckMenuItem: built as tokens, so that no quote in a name can change its meaning.
// The command goes by name: written as a call, Show() would run in the menu's own
// character and post its result, 0, which the other character cannot run.
TokenLine objectNameAction(const MenuManager::CharacterEntry& character, std::u16string_view menu, bool show) {
    return TokenLine{name(u"PostCommand"),
                     symbol(TokenKind::OpenParen),
                     literal(character.objectId),
                     symbol(TokenKind::Comma),
                     literal(show ? u"Show" : u"Hide"),
                     symbol(TokenKind::CloseParen),
                     symbol(TokenKind::BitOr),
                     name(show ? u"CheckMenuItem" : u"UncheckMenuItem"),
                     symbol(TokenKind::OpenParen),
                     literal(menu),
                     symbol(TokenKind::Comma),
                     literal(character.objectName),
                     symbol(TokenKind::CloseParen)};
}

// Script indexes arrive as numbers; one within the menu, or nothing.
std::optional<std::size_t> within(const MenuWidget& menu, std::int64_t index) {
    if (index < 0 || static_cast<std::uint64_t>(index) >= menu.size()) return std::nullopt;
    return static_cast<std::size_t>(index);
}

MenuItem* firstWithText(const MenuWidget& menu, std::u16string_view text) {
    for (const auto& item : menu.items()) {
        if (item->text() == text) return item.get();
    }
    return nullptr;
}

}  // namespace

MenuManager::MenuManager(CharacterObject* character) : character_(character) {
    if (!character_) return;
    characters_ = [] {
        std::vector<CharacterEntry> list;
        CharacterRegistry::instance().forEach([&](CharacterObject& c) {
            // The main character is left out whatever its ObjectID: hidden from this
            // list's menu, it could not be brought back from it.
            if (c.ownerName() == kMainObjectId) return;
            list.push_back(CharacterEntry{c.configuration().objectId, c.configuration().objectName});
        });
        return list;
    };
}

MenuManager::~MenuManager() {
    std::lock_guard lock(mutex_);
    for (auto& [menuName, menu] : menus_) clearMenuLocked(*menu);
}

void MenuManager::setCharacterLister(CharacterLister lister) {
    std::lock_guard lock(mutex_);
    characters_ = std::move(lister);
}

MenuWidget* MenuManager::menuLocked(std::u16string_view menuName) {
    if (menuName.empty()) return nullptr;
    auto it = menus_.find(menuName);
    if (it == menus_.end()) it = menus_.emplace(std::u16string(menuName), std::make_shared<MenuWidget>()).first;
    return it->second.get();
}

std::unique_ptr<MenuItem> MenuManager::makeItemLocked(ScriptMenuItem& item) {
    const auto addCommand = [&](Kind kind) {
        const std::int32_t id = MenuCommandIds::instance().acquire();
        if (id != MenuCommandIds::exhausted) {
            commands_.push_back(Command{id, kind, std::move(item.firstAction), std::move(item.secondAction), nextSerial_++});
        }
        return id;
    };
    switch (item.kind) {
        case Kind::Plain: {
            const std::int32_t id = addCommand(Kind::Plain);
            return std::make_unique<Arbor::Gui::StringMenuItem>(std::move(item.text), id);
        }
        case Kind::Check: {
            const std::int32_t id = addCommand(Kind::Check);
            return std::make_unique<Arbor::Gui::StringMenuItem>(std::move(item.text), id,
                                                                 item.checked ? MenuItem::CheckedState : 0, false, true);
        }
        case Kind::GroupCheck: {
            const std::int32_t id = addCommand(Kind::GroupCheck);
            auto made = std::make_unique<Arbor::Gui::StringMenuItem>(std::move(item.text), id, 0, true);
            groups_[item.group].push_back(made.get());
            if (item.checked) checkOnlyLocked(*made);
            return made;
        }
        case Kind::SubMenu:
            return std::make_unique<Arbor::Gui::SubMenuItem>(std::move(item.text), menuLocked(item.subMenu));
        case Kind::Separator:
            return std::make_unique<Arbor::Gui::SeparatorMenuItem>();
    }
    return nullptr;
}

void MenuManager::releaseItemLocked(std::unique_ptr<MenuItem> item) {
    if (!item) return;
    const std::int32_t id = item->commandId();
    if (item->itemType() == MenuItem::StringType && MenuCommandIds::isPoolValue(id)) {
        std::erase_if(commands_, [id](const Command& command) { return command.id == id; });
        MenuCommandIds::instance().release(id);
    }
    for (auto it = groups_.begin(); it != groups_.end();) {
        std::erase(it->second, item.get());
        it = it->second.empty() ? groups_.erase(it) : std::next(it);
    }
    // A submenu item only lets go of its submenu, which the menu map keeps.
}

void MenuManager::clearMenuLocked(MenuWidget& menu) {
    for (auto& item : menu.takeAll()) releaseItemLocked(std::move(item));
}

void MenuManager::checkOnlyLocked(MenuItem& item) {
    item.check();
    for (const auto& [groupName, members] : groups_) {
        if (std::find(members.begin(), members.end(), &item) == members.end()) continue;
        for (MenuItem* other : members) {
            if (other != &item) other->uncheck();
        }
    }
}

MenuManager::Command* MenuManager::commandLocked(std::int32_t id) {
    auto it = std::find_if(commands_.begin(), commands_.end(), [id](const Command& c) { return c.id == id; });
    return it == commands_.end() ? nullptr : &*it;
}

MenuItem* MenuManager::itemWithIdLocked(std::int32_t id) const {
    for (const auto& [menuName, menu] : menus_) {
        for (const auto& item : menu->items()) {
            if (item->itemType() == MenuItem::StringType && item->commandId() == id) return item.get();
        }
    }
    return nullptr;
}

void MenuManager::createMenu(std::u16string_view menu) {
    std::lock_guard lock(mutex_);
    changed();
    // The menu object stays (submenu items naming it keep opening it), emptied.
    if (MenuWidget* widget = menuLocked(menu)) clearMenuLocked(*widget);
}

void MenuManager::deleteMenu(std::u16string_view menu) {
    std::lock_guard lock(mutex_);
    changed();
    auto it = menus_.find(menu);
    if (it == menus_.end()) return;
    std::shared_ptr<MenuWidget> doomed = it->second;
    clearMenuLocked(*doomed);
    menus_.erase(it);
    // Submenu items of other menus that opened it now open nothing.
    for (const auto& [menuName, other] : menus_) {
        for (const auto& item : other->items()) {
            if (item->subMenu() == doomed.get()) item->setSubMenu(nullptr);
        }
    }
    // A menu on the screen lives on (pending_ holds it) until it closes.
}

void MenuManager::placeItem(std::u16string_view menu, MenuPlacement placement, std::int64_t index,
                            ScriptMenuItem item) {
    std::lock_guard lock(mutex_);
    changed();
    MenuWidget* target = menuLocked(menu);
    if (!target) return;
    const std::optional<std::size_t> at = within(*target, index);
    if (placement == MenuPlacement::Replace && item.kind == Kind::Separator && !at) return;
    std::unique_ptr<MenuItem> made = makeItemLocked(item);
    if (!made) return;
    if (placement == MenuPlacement::Append || !at) {
        target->append(std::move(made));
        return;
    }
    if (placement == MenuPlacement::Replace) releaseItemLocked(target->take(*at));
    target->insert(*at, std::move(made));
}

void MenuManager::removeItem(std::u16string_view menu, std::int64_t index) {
    std::lock_guard lock(mutex_);
    changed();
    MenuWidget* target = menuLocked(menu);
    if (!target) return;
    if (const auto at = within(*target, index)) releaseItemLocked(target->take(*at));
}

void MenuManager::removeAllItems(std::u16string_view menu) {
    std::lock_guard lock(mutex_);
    changed();
    if (MenuWidget* target = menuLocked(menu)) clearMenuLocked(*target);
}

void MenuManager::setItemEnabled(std::u16string_view menu, std::int64_t index, bool enabled) {
    std::lock_guard lock(mutex_);
    changed();
    MenuWidget* target = menuLocked(menu);
    if (!target) return;
    if (const auto at = within(*target, index)) {
        MenuItem* item = target->item(*at);
        enabled ? item->enable() : item->disable();
    }
}

void MenuManager::setItemChecked(std::u16string_view menu, std::u16string_view text, bool checked) {
    std::lock_guard lock(mutex_);
    changed();
    MenuWidget* target = menuLocked(menu);
    if (!target) return;
    if (MenuItem* item = firstWithText(*target, text)) checked ? item->check() : item->uncheck();
}

void MenuManager::checkGroupItem(std::u16string_view menu, std::u16string_view text) {
    std::lock_guard lock(mutex_);
    changed();
    MenuWidget* target = menuLocked(menu);
    if (!target) return;
    if (MenuItem* item = firstWithText(*target, text)) checkOnlyLocked(*item);
}

std::int64_t MenuManager::indexOfItem(std::u16string_view menu, std::u16string_view text) {
    std::lock_guard lock(mutex_);
    MenuWidget* target = menuLocked(menu);
    if (!target) return -1;
    for (std::size_t i = 0; i < target->size(); ++i) {
        if (target->item(i)->text() == text) return static_cast<std::int64_t>(i);
    }
    return -1;
}

void MenuManager::addObjectNames(std::u16string_view menu) {
    CharacterLister lister;
    {
        std::lock_guard lock(mutex_);
        lister = characters_;
    }
    // Listed without the lock: the lister walks other characters.
    const std::vector<CharacterEntry> characters = lister ? lister() : std::vector<CharacterEntry>{};
    for (const CharacterEntry& character : characters) {
        if (character.objectId == kMainObjectId) continue;
        ScriptMenuItem item;
        item.kind = Kind::Check;
        item.checked = true;
        item.text = character.objectName;
        item.firstAction = objectNameAction(character, menu, true);
        item.secondAction = objectNameAction(character, menu, false);
        placeItem(menu, MenuPlacement::Append, 0, std::move(item));
    }
}

bool MenuManager::isPopupMenuVisible() {
    Arbor::Platform::WindowHandle window;
    {
        std::lock_guard lock(mutex_);
        window = menuWindow_;
    }
    return window != Arbor::Platform::WindowHandle::None &&
           Arbor::Platform::popupMenuService().isMenuWindowVisible(window);
}

void MenuManager::recordShownLocked(const MenuWidget& menu, std::vector<const MenuWidget*>& path) {
    if (std::find(path.begin(), path.end(), &menu) != path.end()) return;
    path.push_back(&menu);
    for (const auto& item : menu.items()) {
        if (item->itemType() == MenuItem::StringType) {
            if (const Command* command = commandLocked(item->commandId())) shownSerials_[command->id] = command->serial;
        } else if (const MenuWidget* sub = item->subMenu()) {
            recordShownLocked(*sub, path);
        }
    }
    path.pop_back();
}

bool MenuManager::showMenuAt(std::u16string_view menuName, Arbor::Platform::WindowHandle owner,
                             Arbor::Platform::Point at) {
    std::shared_ptr<MenuWidget> menu;
    {
        std::lock_guard lock(mutex_);
        auto it = menus_.find(menuName);
        if (it == menus_.end()) return false;
        menu = it->second;
        if (!menu->prepare()) return false;
        pending_ = menu;
        shownSerials_.clear();
        std::vector<const MenuWidget*> path;
        recordShownLocked(*menu, path);
    }
    return menu->track(owner, at);
}

bool MenuManager::showMenu(const std::u16string& menuName, int screenX, int screenY) {
    Arbor::Gui::LayeredWidget* widget = character_ ? character_->ownWidget() : nullptr;
    if (!widget) return false;
    return showMenuAt(menuName, widget->window().handle(), Arbor::Platform::Point{screenX, screenY});
}

void MenuManager::onMenuItem(const InputEvent& event) {
    if (!character_) return;
    const auto id = static_cast<std::int32_t>(event.wParam & 0xFFFF);
    character_->runGuarded([&] { choose(id, character_->parser()); });
}

bool MenuManager::hasPendingMenu() const {
    std::lock_guard lock(mutex_);
    return pending_ != nullptr;
}

bool MenuManager::isPendingMenu(std::uintptr_t nativeMenu) const {
    std::lock_guard lock(mutex_);
    return pending_ && pending_->nativeMenu() == static_cast<Arbor::Platform::MenuHandle>(nativeMenu);
}

void MenuManager::forgetPendingMenu() {
    std::shared_ptr<MenuWidget> released;  // let go of outside the lock
    std::lock_guard lock(mutex_);
    released = std::move(pending_);
    changed();
    menuWindow_ = Arbor::Platform::WindowHandle::None;
}

Arbor::Platform::WindowHandle MenuManager::popupWindow() const {
    const Arbor::Platform::WindowHandle window = Arbor::Platform::popupMenuService().findMenuWindow();
    std::lock_guard lock(mutex_);
    menuWindow_ = window;
    return window;
}

bool MenuManager::choose(std::int32_t commandId, Interpreter::Parser& parser) {
    TokenLine action;
    {
        std::lock_guard lock(mutex_);
        Command* command = commandLocked(commandId);
        MenuItem* item = command ? itemWithIdLocked(commandId) : nullptr;
        if (!command || !item) return false;
        // Shown before this item took the identifier: the choice was of an item now gone.
        if (auto shown = shownSerials_.find(commandId); shown != shownSerials_.end() && shown->second != command->serial) {
            return false;
        }
        switch (command->kind) {
            case Kind::Check:
                if (item->isChecked()) {
                    item->uncheck();
                    action = command->second;
                } else {
                    item->check();
                    action = command->first;
                }
                break;
            case Kind::GroupCheck:
                checkOnlyLocked(*item);
                action = command->first;
                break;
            default:
                action = command->first;
                break;
        }
        changed();
    }
    if (!action.empty()) {
        // A choice arrives between scripts: the line the parser last ran may be gone, and
        // runAction puts the parser's line back when it is done. It gets one that lasts.
        static const TokenLine between;
        parser.setLine(between);
        Interpreter::runAction(parser, action);
    }
    return true;
}

std::optional<std::vector<Arbor::Platform::TrayMenuItem>> MenuManager::describeMenu(std::u16string_view menuName) {
    std::lock_guard lock(mutex_);
    auto it = menus_.find(menuName);
    if (it == menus_.end()) return std::nullopt;
    if (!pending_) {
        shownSerials_.clear();
        std::vector<const MenuWidget*> path;
        recordShownLocked(*it->second, path);
    }
    return it->second->describe();
}

bool MenuManager::visitMenu(std::u16string_view menuName, const std::function<void(const MenuWidget&)>& visit) const {
    std::lock_guard lock(mutex_);
    auto it = menus_.find(menuName);
    if (it == menus_.end()) return false;
    visit(*it->second);
    return true;
}

bool MenuManager::hasMenu(std::u16string_view menuName) const {
    std::lock_guard lock(mutex_);
    return menus_.contains(menuName);
}

std::size_t MenuManager::commandCount() const {
    std::lock_guard lock(mutex_);
    return commands_.size();
}

std::size_t MenuManager::groupCount() const {
    std::lock_guard lock(mutex_);
    return groups_.size();
}

}  // namespace Quenta::GameComponent
