#pragma once
// A character's popup menus: named menus of items built by its scripts (through the
// menu built-ins, Interpreter/ScriptMenus.h), the command record of every item that can
// be chosen, the groups of group check items, and the menu the character is showing.
//
// Threads: scripts change the menus on the frame thread, while the user-interface
// thread builds the native menu to show; one lock guards the menus. It is never held
// while a menu is on screen or while an action runs (an action may change the menus).
//
// Choosing an item the menu no longer holds does nothing, even when its identifier
// was handed to a newer item meanwhile: each command record carries a serial number,
// and the serials shown last are compared with the records when the choice arrives.
// Items made after the process-wide identifiers ran out share the identifier 40959:
// they get no command record and are shown greyed, so they can never run an action.
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "Source/GameComponent/CharacterMenus.h"
#include "Source/Interpreter/ScriptMenus.h"
#include "Source/Interpreter/Token.h"
#include "framework/Gui/MenuItem.h"
#include "framework/Gui/MenuWidget.h"
#include "framework/Platform/Types.h"

namespace Quenta::Interpreter {
class Parser;
}

namespace Quenta::GameComponent {

class CharacterObject;

class MenuManager : public Interpreter::ScriptMenus, public CharacterMenus {
public:
    // A character as AddMenuObjectNames lists it.
    struct CharacterEntry {
        std::u16string objectId;
        std::u16string objectName;
    };
    using CharacterLister = std::function<std::vector<CharacterEntry>()>;

    // The character whose window owns the menus and whose context runs their actions;
    // none in tests that drive the manager directly.
    explicit MenuManager(CharacterObject* character = nullptr);
    MenuManager(const MenuManager&) = delete;
    MenuManager& operator=(const MenuManager&) = delete;
    // Gives every identifier back to the pool.
    ~MenuManager() override;

    // Where AddMenuObjectNames finds the characters: the character registry when the
    // manager belongs to a character, else none until set.
    void setCharacterLister(CharacterLister lister);

    // --- Interpreter::ScriptMenus (frame thread)
    void createMenu(std::u16string_view menu) override;
    void deleteMenu(std::u16string_view menu) override;
    void placeItem(std::u16string_view menu, Interpreter::MenuPlacement placement, std::int64_t index,
                   Interpreter::ScriptMenuItem item) override;
    void removeItem(std::u16string_view menu, std::int64_t index) override;
    void removeAllItems(std::u16string_view menu) override;
    void setItemEnabled(std::u16string_view menu, std::int64_t index, bool enabled) override;
    void setItemChecked(std::u16string_view menu, std::u16string_view text, bool checked) override;
    void checkGroupItem(std::u16string_view menu, std::u16string_view text) override;
    std::int64_t indexOfItem(std::u16string_view menu, std::u16string_view text) override;
    void addObjectNames(std::u16string_view menu) override;
    bool isPopupMenuVisible() override;

    // --- Showing (user-interface thread)
    // Remembers the named menu as the pending one and shows it at the screen point for
    // the owner window; returns when it closed (at once on the headless desktop).
    // False when there is no such menu or it could not be shown.
    bool showMenuAt(std::u16string_view name, Arbor::Platform::WindowHandle owner, Arbor::Platform::Point at);

    // --- CharacterMenus (the character's side)
    Interpreter::ScriptMenus* scriptMenus() override { return this; }
    // Shows the menu for the character's own window.
    bool showMenu(const std::u16string& menuName, int screenX, int screenY) override;
    // Chooses the item of the event's WM_COMMAND in the character's context.
    void onMenuItem(const InputEvent& event) override;
    bool hasPendingMenu() const override;
    bool isPendingMenu(std::uintptr_t nativeMenu) const override;
    void forgetPendingMenu() override;
    // Looks up the popup menu window open now and remembers it as the character's.
    Arbor::Platform::WindowHandle popupWindow() const override;
    std::uint64_t changeCount() const override { return changes_.load(); }
    // While no popup menu of the manager is open, the described items become the ones
    // shown, so that a choice from the panel's menu passes the check of choose().
    std::optional<std::vector<Arbor::Platform::TrayMenuItem>> describeMenu(std::u16string_view name) override;

    // --- Answers (frame thread)
    // Runs what choosing the item with that identifier does (WM_COMMAND): toggles check
    // items, checks group items, and runs the action in the parser's context. False
    // when no live item has that identifier.
    bool choose(std::int32_t commandId, Interpreter::Parser& parser);

    // --- Inspection (tests, the tray's exported menu)
    // Calls `visit` with the named menu while the lock is held; false when there is none.
    bool visitMenu(std::u16string_view name, const std::function<void(const Arbor::Gui::MenuWidget&)>& visit) const;
    bool hasMenu(std::u16string_view name) const;
    std::size_t commandCount() const;
    std::size_t groupCount() const;

private:
    struct Command {
        std::int32_t id = 0;
        Interpreter::ScriptMenuItem::Kind kind = Interpreter::ScriptMenuItem::Kind::Plain;
        Interpreter::TokenLine first;
        Interpreter::TokenLine second;
        std::uint64_t serial = 0;
    };
    using MenuMap = std::map<std::u16string, std::shared_ptr<Arbor::Gui::MenuWidget>, std::less<>>;

    // Lock held for all of these.
    Arbor::Gui::MenuWidget* menuLocked(std::u16string_view name);  // made when missing
    std::unique_ptr<Arbor::Gui::MenuItem> makeItemLocked(Interpreter::ScriptMenuItem& item);
    void releaseItemLocked(std::unique_ptr<Arbor::Gui::MenuItem> item);
    void clearMenuLocked(Arbor::Gui::MenuWidget& menu);
    Command* commandLocked(std::int32_t id);
    Arbor::Gui::MenuItem* itemWithIdLocked(std::int32_t id) const;
    void checkOnlyLocked(Arbor::Gui::MenuItem& item);
    void recordShownLocked(const Arbor::Gui::MenuWidget& menu, std::vector<const Arbor::Gui::MenuWidget*>& path);

    void changed() { changes_.fetch_add(1); }

    mutable std::mutex mutex_;
    std::atomic<std::uint64_t> changes_{0};
    MenuMap menus_;
    std::vector<Command> commands_;
    std::map<std::u16string, std::vector<Arbor::Gui::MenuItem*>, std::less<>> groups_;
    std::uint64_t nextSerial_ = 1;
    // Command serials of the menu shown last, by identifier.
    std::map<std::int32_t, std::uint64_t> shownSerials_;
    std::shared_ptr<Arbor::Gui::MenuWidget> pending_;
    mutable Arbor::Platform::WindowHandle menuWindow_ = Arbor::Platform::WindowHandle::None;
    CharacterLister characters_;
    CharacterObject* character_;
};

}  // namespace Quenta::GameComponent
