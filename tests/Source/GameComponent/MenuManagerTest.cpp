// A character's menus as its scripts build them, shown on the headless desktop and
// answered there as a user's clicks would.
#include <gtest/gtest.h>

#include <optional>

#include "Source/GameComponent/ScriptObject/MenuManager.h"
#include "Source/Interpreter/ScriptTestSupport.h"
#include "Source/Interpreter/StandaloneScriptOwner.h"
#include "framework/Gui/MenuCommandIds.h"
#include "framework/Platform/Headless/HeadlessPopupMenu.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/Window.h"
#include "support/BackendTest.h"
#include "support/TestPaths.h"

using namespace ScriptTest;
using Arbor::Gui::MenuCommandIds;
using Arbor::Gui::MenuItem;
using Arbor::Gui::MenuWidget;
using Quenta::GameComponent::MenuManager;
namespace Platform = Arbor::Platform;
namespace Headless = Arbor::Platform::Headless;

namespace {

class MenuOwner : public StandaloneScriptOwner {
public:
    using StandaloneScriptOwner::StandaloneScriptOwner;
    ScriptMenus* scriptMenus() override { return &menus; }
    MenuManager menus;
};

class MenuScript : public ::testing::Test {
protected:
    MenuScript() : owner_(u"Tester", temp_.path(), temp_.path()), parser_(&owner_) {
        owner_.setVariableTable(&parser_.variables());
        run({u"string $hit = \"\""});
    }
    void SetUp() override {
        ASSERT_TRUE(backend_.selected());
        Headless::resetPopupMenus();
        Platform::WindowDescription description;
        description.title = u"owner";
        // The character's window: a chosen item comes back as WM_COMMAND.
        description.procedure = [this](Platform::WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                                       std::intptr_t) -> std::optional<std::intptr_t> {
            if (message == Platform::WM_COMMAND) owner_.menus.choose(static_cast<std::int32_t>(wParam & 0xFFFF), parser_);
            if (message == Platform::WM_INITMENUPOPUP) ++popupsOpening_;
            return std::nullopt;
        };
        window_ = Platform::windowService().create(description);
        ASSERT_NE(window_, Platform::WindowHandle::None);
    }
    void TearDown() override {
        Headless::resetPopupMenus();
        Platform::windowService().destroy(window_);
    }
    void run(const std::vector<std::u16string>& lines) {
        blocks_.push_back(blockOf(lines));
        runBlock(parser_, blocks_.back());
    }
    std::u16string text(const std::u16string& name) {
        Value* v = parser_.variables().find(name);
        return v ? v->toStr() : u"<none>";
    }
    void pump() {
        Platform::Message message;
        while (Platform::messageQueueService().peekMessage(message)) Platform::messageQueueService().dispatchMessage(message);
    }
    bool show(std::u16string_view menu) { return owner_.menus.showMenuAt(menu, window_, Platform::Point{100, 100}); }
    // Shows the menu, clicks the items named in turn, lets the window hear the choice,
    // and answers what the actions wrote into $hit.
    std::u16string choose(std::u16string_view menu, std::initializer_list<std::u16string_view> path) {
        run({u"$hit = \"\""});
        if (!show(menu)) return u"<not shown>";
        for (std::u16string_view item : path) Headless::choosePopupMenuItem(item);
        pump();
        return text(u"$hit");
    }
    // The texts and states of a menu's items, "text:state" each.
    std::vector<std::u16string> items(std::u16string_view menu) {
        std::vector<std::u16string> result;
        owner_.menus.visitMenu(menu, [&](const MenuWidget& widget) {
            for (const auto& item : widget.items()) {
                result.push_back(item->text() + u":" + (item->isChecked() ? u"x" : u"") + (item->isDisabled() ? u"d" : u""));
            }
        });
        return result;
    }

    Testing::BackendScope backend_{"Headless"};
    Testing::TempDir temp_;
    MenuOwner owner_;
    Parser parser_;
    std::vector<TokenBlock> blocks_;
    Platform::WindowHandle window_ = Platform::WindowHandle::None;
    int popupsOpening_ = 0;
};

using Items = std::vector<std::u16string>;

}  // namespace

TEST_F(MenuScript, ItemsGoWhereTheIndexesSay) {
    run({u"AddMenuItem(\"m\", 0, \"a\", SetVariable(\"$hit\", \"a\"))",  // a menu never created is created
         u"AddMenuItem(\"m\", 0, \"b\", SetVariable(\"$hit\", \"b\"))", u"AddMenuItem(\"m\", 0, \"c\", SetVariable(\"$hit\", \"c\"))",
         u"InsertMenuItem(\"m\", 100, 0, \"end\", SetVariable(\"$hit\", \"end\"))", u"InsertMenuSeparator(\"m\", 1)",
         u"InsertMenuItem(\"m\", 0, 0, \"first\", SetVariable(\"$hit\", \"first\"))"});
    EXPECT_EQ(items(u"m"), (Items{u"first:", u"a:", u":", u"b:", u"c:", u"end:"}));
    EXPECT_EQ(owner_.menus.commandCount(), 5u);

    run({u"SetMenuItem(\"m\", 1, 0, \"A\", SetVariable(\"$hit\", \"A\"))",  // replaces, and its command goes with it
         u"SetMenuSeparator(\"m\", 99)",                      // outside the menu: nothing
         u"RemoveMenuItem(\"m\", 2)", u"RemoveMenuItem(\"m\", -1)", u"DisableMenuItem(\"m\", 0)"});
    EXPECT_EQ(items(u"m"), (Items{u"first:d", u"A:", u"b:", u"c:", u"end:"}));
    EXPECT_EQ(owner_.menus.commandCount(), 5u);
    EXPECT_EQ(choose(u"m", {u"A"}), u"A");

    run({u"number $i = IndexOfMenuItem(\"m\", \"c\")", u"number $none = IndexOfMenuItem(\"fresh\", \"c\")",
         u"AddMenuItem(\"\", 0, \"x\", SetVariable(\"$hit\", \"x\"))"});
    EXPECT_EQ(text(u"$i"), u"3");
    EXPECT_EQ(text(u"$none"), u"-1");
    EXPECT_TRUE(owner_.menus.hasMenu(u"fresh"));  // asking about a missing menu creates it
    EXPECT_FALSE(owner_.menus.hasMenu(u""));       // an empty name creates nothing

    run({u"RemoveAllMenuItem(\"m\")"});
    EXPECT_TRUE(items(u"m").empty());
    EXPECT_EQ(owner_.menus.commandCount(), 0u);
    run({u"DeleteMenu(\"m\")"});
    EXPECT_FALSE(owner_.menus.hasMenu(u"m"));
}

TEST_F(MenuScript, CheckItemsToggleAndRunTheirTwoActions) {
    run({u"AddMenuCheckItem(\"m\", true, 0, 0, \"Sound\", SetVariable(\"$hit\", \"on\"), SetVariable(\"$hit\", \"off\"))",
         u"AddMenuCheckItem(\"m\", false, 0, 0, \"Sound\", SetVariable(\"$hit\", \"second\"), SetVariable(\"$hit\", \"second off\"))"});
    EXPECT_EQ(items(u"m"), (Items{u"Sound:x", u"Sound:"}));
    // Choosing a checked item twice: the uncheck action, then the check action.
    EXPECT_EQ(choose(u"m", {u"Sound"}), u"off");
    EXPECT_EQ(choose(u"m", {u"Sound"}), u"on");
    EXPECT_EQ(items(u"m"), (Items{u"Sound:x", u"Sound:"}));

    // By text, only the first of two equal items; no action runs.
    run({u"$hit = \"\"", u"UncheckMenuItem(\"m\", \"Sound\")"});
    EXPECT_EQ(items(u"m"), (Items{u"Sound:", u"Sound:"}));
    run({u"CheckMenuItem(\"m\", \"Sound\")"});
    EXPECT_EQ(items(u"m"), (Items{u"Sound:x", u"Sound:"}));
    EXPECT_EQ(text(u"$hit"), u"");
}

TEST_F(MenuScript, AGroupKeepsOneItemChecked) {
    run({u"AddMenuGroupCheckItem(\"m\", \"size\", true, 0, 0, \"Small\", SetVariable(\"$hit\", \"small\"))",
         u"AddMenuGroupCheckItem(\"m\", \"size\", true, 0, 0, \"Large\", SetVariable(\"$hit\", \"large\"))",
         u"InsertMenuGroupCheckItem(\"m\", \"size\", 1, false, 0, 0, \"Medium\", SetVariable(\"$hit\", \"medium\"))"});
    EXPECT_EQ(items(u"m"), (Items{u"Small:", u"Medium:", u"Large:x"}));
    EXPECT_EQ(choose(u"m", {u"Small"}), u"small");
    EXPECT_EQ(items(u"m"), (Items{u"Small:x", u"Medium:", u"Large:"}));
    // Group items show their mark as a radio dot.
    EXPECT_TRUE(Headless::openPopupMenus().empty());
    ASSERT_TRUE(show(u"m"));
    EXPECT_TRUE(Headless::openPopupMenus().at(0).menu.entries.at(0).isRadio());
    Headless::escapePopupMenu();

    run({u"CheckMenuGroupItem(\"m\", \"Medium\")"});
    EXPECT_EQ(items(u"m"), (Items{u"Small:", u"Medium:x", u"Large:"}));
    EXPECT_EQ(owner_.menus.groupCount(), 1u);
    run({u"RemoveMenuItem(\"m\", 0)", u"RemoveMenuItem(\"m\", 0)"});
    EXPECT_EQ(owner_.menus.groupCount(), 1u);
    run({u"RemoveMenuItem(\"m\", 0)"});  // the last of its group: the group goes
    EXPECT_EQ(owner_.menus.groupCount(), 0u);
}

TEST_F(MenuScript, SubmenusOpenFromTheirItems) {
    run({u"AddMenuItem(\"main\", 0, \"Top\", SetVariable(\"$hit\", \"top\"))", u"AddMenuSubMenu(\"main\", \"more\", 0, \"More\")",
         u"AddMenuItem(\"more\", 0, \"Deep\", SetVariable(\"$hit\", \"deep\"))", u"AddMenuItem(\"more\", 0, \"Off\", SetVariable(\"$hit\", \"off\"))",
         u"DisableMenuItem(\"more\", 1)", u"AddMenuSubMenu(\"main\", \"main\", 0, \"Self\")",
         u"AddMenuSubMenu(\"\", \"orphan\", 0, \"Nowhere\")"});
    EXPECT_FALSE(owner_.menus.hasMenu(u"orphan"));
    EXPECT_EQ(choose(u"main", {u"More", u"Deep"}), u"deep");
    EXPECT_EQ(popupsOpening_, 2);  // the menu and its submenu, each as it opened

    ASSERT_TRUE(show(u"main"));
    EXPECT_EQ(Headless::choosePopupMenuItem(u"More"), Headless::PopupChoice::OpenedSubMenu);
    EXPECT_EQ(Headless::choosePopupMenuItem(u"Off"), Headless::PopupChoice::Disabled);  // stays open
    EXPECT_EQ(Headless::openPopupMenus().size(), 2u);
    EXPECT_TRUE(Headless::escapePopupMenu());
    // A menu that opens itself shows a greyed item there instead of nesting forever.
    EXPECT_EQ(Headless::choosePopupMenuItem(u"Self"), Headless::PopupChoice::Disabled);
    EXPECT_TRUE(Headless::escapePopupMenu());
    EXPECT_EQ(Headless::choosePopupMenuItem(u"Top"), Headless::PopupChoice::NoMenu);

    // A deleted submenu leaves an item that opens nothing.
    run({u"DeleteMenu(\"more\")"});
    ASSERT_TRUE(show(u"main"));
    EXPECT_EQ(Headless::choosePopupMenuItem(u"More"), Headless::PopupChoice::Disabled);
}

TEST_F(MenuScript, AnItemRemovedWhileItsMenuIsOpenRunsNothing) {
    run({u"AddMenuItem(\"m\", 0, \"Old\", SetVariable(\"$hit\", \"old\"))"});
    run({u"$hit = \"\""});
    ASSERT_TRUE(show(u"m"));
    // The identifier freed here goes to the new item, which the open menu does not show.
    run({u"RemoveMenuItem(\"m\", 0)", u"AddMenuItem(\"m\", 0, \"New\", SetVariable(\"$hit\", \"new\"))"});
    EXPECT_EQ(Headless::choosePopupMenuItem(u"Old"), Headless::PopupChoice::Chosen);
    pump();
    EXPECT_EQ(text(u"$hit"), u"");
    EXPECT_EQ(choose(u"m", {u"New"}), u"new");
}

TEST_F(MenuScript, IdentifiersRunOutInAnOrderlyWay) {
    MenuManager& menus = owner_.menus;
    const int taken = MenuCommandIds::instance().inUse();
    ASSERT_EQ(taken, 0) << "another test left menu items behind";
    Quenta::Interpreter::ScriptMenuItem plain;
    for (int i = 0; i < MenuCommandIds::count; ++i) menus.placeItem(u"big", Quenta::Interpreter::MenuPlacement::Append, 0, plain);
    run({u"AddMenuItem(\"m\", 0, \"Late\", SetVariable(\"$hit\", \"late\"))", u"AddMenuItem(\"m\", 0, \"Later\", SetVariable(\"$hit\", \"later\"))"});
    std::vector<std::int32_t> ids;
    menus.visitMenu(u"m", [&](const MenuWidget& w) {
        for (const auto& item : w.items()) ids.push_back(item->commandId());
    });
    EXPECT_EQ(ids, (std::vector<std::int32_t>{0x9FFF, 0x9FFF}));
    // Both share 40959: they show greyed, and no choice can reach either action.
    EXPECT_EQ(choose(u"m", {u"Late"}), u"");
    EXPECT_EQ(Headless::choosePopupMenuItem(u"Late"), Headless::PopupChoice::Disabled);
    Headless::resetPopupMenus();
    EXPECT_FALSE(menus.choose(0x9FFF, parser_));

    // Removing any item frees its identifier for the next one.
    menus.removeItem(u"big", 7);
    run({u"AddMenuItem(\"m\", 0, \"Fresh\", SetVariable(\"$hit\", \"fresh\"))"});
    ids.clear();
    menus.visitMenu(u"m", [&](const MenuWidget& w) {
        for (const auto& item : w.items()) ids.push_back(item->commandId());
    });
    EXPECT_EQ(ids, (std::vector<std::int32_t>{0x9FFF, 0x9FFF, 0xA000 + 7}));
    EXPECT_EQ(choose(u"m", {u"Fresh"}), u"fresh");
    run({u"DeleteMenu(\"big\")", u"DeleteMenu(\"m\")"});
    EXPECT_EQ(MenuCommandIds::instance().inUse(), 0);
}

TEST_F(MenuScript, ObjectNamesBecomeCheckedItemsForEveryCharacterButTheMain) {
    owner_.menus.setCharacterLister([] {
        return std::vector<MenuManager::CharacterEntry>{
            {u"MAIN_OBJECT", u"Main"}, {u"c1", u"Alice"}, {u"c2", u"Bob \"the\" Cat"}};
    });
    run({u"AddMenuObjectNames(\"chars\")"});
    EXPECT_EQ(items(u"chars"), (Items{u"Alice:x", u"Bob \"the\" Cat:x"}));
    EXPECT_EQ(owner_.menus.commandCount(), 2u);
}

TEST_F(MenuScript, ThePanelsMenuShowsWhatThePopupShowsAndItsChoicesRun) {
    using Kind = Platform::TrayMenuItem::Kind;
    const std::uint64_t changesBefore = owner_.menus.changeCount();
    run({u"AddMenuItem(\"main\", 0, \"Top\", SetVariable(\"$hit\", \"top\"))",
         u"AddMenuCheckItem(\"main\", false, 0, 0, \"Sound\", SetVariable(\"$hit\", \"on\"), SetVariable(\"$hit\", \"off\"))",
         u"AddMenuGroupCheckItem(\"main\", \"size\", true, 0, 0, \"Small\", SetVariable(\"$hit\", \"small\"))",
         u"InsertMenuSeparator(\"main\", 100)", u"AddMenuSubMenu(\"main\", \"more\", 0, \"More\")",
         u"AddMenuItem(\"more\", 0, \"Off\", SetVariable(\"$hit\", \"off\"))", u"DisableMenuItem(\"more\", 0)",
         u"AddMenuSubMenu(\"main\", \"main\", 0, \"Self\")"});
    EXPECT_GT(owner_.menus.changeCount(), changesBefore);
    EXPECT_FALSE(owner_.menus.describeMenu(u"none"));
    const auto described = owner_.menus.describeMenu(u"main");
    ASSERT_TRUE(described);
    ASSERT_EQ(described->size(), 6u);
    const auto& items = *described;
    EXPECT_EQ(items[0].text, u"Top");
    EXPECT_FALSE(items[0].checkable);
    EXPECT_TRUE(items[1].checkable) << "an unchecked check item still shows its box";
    EXPECT_EQ(items[1].flags & Platform::MenuStateChecked, 0u);
    EXPECT_EQ(items[2].flags & (Platform::MenuTypeRadioCheck | Platform::MenuStateChecked),
              Platform::MenuTypeRadioCheck | Platform::MenuStateChecked);
    EXPECT_EQ(items[3].kind, Kind::Separator);
    ASSERT_EQ(items[4].kind, Kind::SubMenu);
    ASSERT_EQ(items[4].children.size(), 1u);
    EXPECT_EQ(items[4].children[0].flags & Platform::MenuStateGrayed, Platform::MenuStateGrayed);
    // As in the popup menu, a menu that opens itself is a greyed, empty submenu.
    EXPECT_TRUE(items[5].children.empty());
    EXPECT_EQ(items[5].flags & Platform::MenuStateGrayed, Platform::MenuStateGrayed);

    // A choice from the panel runs like one from the popup, and changes what it shows.
    const std::uint64_t changesBeforeChoice = owner_.menus.changeCount();
    EXPECT_TRUE(owner_.menus.choose(static_cast<std::int32_t>(items[1].commandId), parser_));
    EXPECT_EQ(text(u"$hit"), u"on");
    EXPECT_GT(owner_.menus.changeCount(), changesBeforeChoice);
    EXPECT_NE(owner_.menus.describeMenu(u"main")->at(1).flags & Platform::MenuStateChecked, 0u);
}

TEST_F(MenuScript, AMenuRebuiltAfterThePopupClosedCanBeChosenFromThePanel) {
    run({u"AddMenuItem(\"m\", 0, \"Old\", SetVariable(\"$hit\", \"old\"))"});
    ASSERT_TRUE(show(u"m"));
    EXPECT_TRUE(Headless::escapePopupMenu());
    owner_.menus.forgetPendingMenu();  // as the character does once the popup closed
    // The new item takes the old one's identifier; the panel is given the new menu.
    run({u"RemoveAllMenuItem(\"m\")", u"AddMenuItem(\"m\", 0, \"New\", SetVariable(\"$hit\", \"new\"))",
         u"$hit = \"\""});
    const auto described = owner_.menus.describeMenu(u"m");
    ASSERT_TRUE(described);
    ASSERT_EQ(described->size(), 1u);
    EXPECT_TRUE(owner_.menus.choose(static_cast<std::int32_t>(described->at(0).commandId), parser_));
    EXPECT_EQ(text(u"$hit"), u"new");
}

TEST(MenuBuiltIns, WithoutACharacterTheyReadTheirArgumentsAndDoNothing) {
    Parser parser;
    Evaluation eval(parser);
    EXPECT_EQ(eval(u"AddMenuItem(\"m\", 0, \"a\", $undefined = 1)")->toStr(), u"0");
    EXPECT_EQ(eval(u"IndexOfMenuItem(\"m\", \"a\")")->toStr(), u"-1");
    EXPECT_EQ(eval(u"IsPopupMenuVisible()")->toStr(), u"false");
    EXPECT_EQ(eval(u"AddMenuCheckItem(\"m\", true)")->toStr(), u"0");  // arguments missing
    EXPECT_NE(messageOf([&] { eval(u"AddMenuItem(\"m\" 0)"); }), u"<no exception>");
}
