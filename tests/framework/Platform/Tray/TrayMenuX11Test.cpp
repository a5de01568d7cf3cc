// The tray icon's menu as a panel reads it over com.canonical.dbusmenu, against the
// stand-in watcher on a private session bus (dbus-run-session, tests/CMakeLists.txt):
// the layout, the choices arriving as a popup menu's, and the signals of a change.
#if defined(TAVIZO_HAS_X11) && defined(TAVIZO_HAS_SDBUS)
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "framework/Platform/Backend.h"
#include "framework/Platform/Linux/StandInMenuHost.h"
#include "framework/Platform/Linux/StandInWatcher.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/PopupMenu.h"
#include "framework/Platform/TrayIcon.h"
#include "framework/Platform/Window.h"
#include "framework/Platform/X11/X11TrayIcon.h"

using namespace Arbor::Platform;
namespace Bus = Arbor::Platform::Linux::Testing;
using Clock = std::chrono::steady_clock;
using Kind = TrayMenuItem::Kind;

namespace {

TrayMenuItem command(std::u16string text, std::uint32_t id, std::uint32_t flags = 0, bool checkable = false) {
    TrayMenuItem item;
    item.text = std::move(text);
    item.commandId = id;
    item.flags = flags;
    item.checkable = checkable;
    return item;
}
TrayMenuItem separator() {
    TrayMenuItem item;
    item.kind = Kind::Separator;
    return item;
}
TrayMenuItem subMenu(std::u16string text, std::vector<TrayMenuItem> children) {
    TrayMenuItem item;
    item.kind = Kind::SubMenu;
    item.text = std::move(text);
    item.children = std::move(children);
    return item;
}

// Top, a check item, a separator, a group of two, and the same submenu twice (as a
// script may name one menu from two items).
std::vector<TrayMenuItem> sampleMenu() {
    const std::vector<TrayMenuItem> more{command(u"Deep", 40970), command(u"Off", 40971, MenuStateGrayed)};
    return {command(u"&Top && tail_x", 40960),
            command(u"Sound", 40961, MenuStateChecked, true),
            separator(),
            command(u"Small", 40962, MenuTypeRadioCheck, true),
            command(u"Large", 40963, MenuTypeRadioCheck | MenuStateChecked, true),
            subMenu(u"More", more),
            subMenu(u"Again", more)};
}

class TrayMenuX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("TAVIZO_TEST_COMPOSITOR")) GTEST_SKIP() << "runs under run-on-private-display";
        if (!selectBackend("X11") || !isBackendAvailable("X11")) GTEST_SKIP() << "no X display";
        if (!Bus::sessionBusAvailable()) GTEST_SKIP() << "runs under dbus-run-session";
        ASSERT_TRUE(watcher_.start());
        WindowDescription description;
        description.title = u"TrayMenuOwner";
        description.bounds = Rect{0, 0, 10, 10};
        description.style = WS_POPUP;
        description.procedure = [this](WindowHandle, std::uint32_t m, std::uintptr_t wp,
                                       std::intptr_t lp) -> std::optional<std::intptr_t> {
            if (m == WM_COMMAND || m == WM_INITMENUPOPUP) heard_.push_back({m, wp, lp});
            return std::nullopt;
        };
        window_ = windowService().create(description);
        ASSERT_NE(window_, WindowHandle::None);
        TrayIconPixels picture;
        picture.width = picture.height = 1;
        picture.pixels = {0xFF00FF00u};
        auto icon = trayIconService().createIcon(picture);
        ASSERT_TRUE(icon && trayIconService().addIcon(window_, icon->handle(), u"menu"));
        name_ = X11::Inspection::trayIconBusName(window_);
        ASSERT_FALSE(name_.empty());
    }
    void TearDown() override {
        if (window_ != WindowHandle::None) {
            trayIconService().removeIcon(window_);
            windowService().destroy(window_);
        }
    }

    struct Heard {
        std::uint32_t message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
        bool operator==(const Heard&) const = default;
    };
    // Pumps the window's messages until `count` arrived (or 5 s), then takes them.
    std::vector<Heard> heard(std::size_t count) {
        auto& queue = messageQueueService();
        const auto end = Clock::now() + std::chrono::seconds(5);
        while (heard_.size() < count && Clock::now() < end) {
            Message message;
            while (queue.peekMessage(message)) queue.dispatchMessage(message);
            if (heard_.size() < count) queue.waitMessage(10);
        }
        return std::exchange(heard_, {});
    }

    Bus::StandInWatcher watcher_;
    WindowHandle window_ = WindowHandle::None;
    std::string name_;
    std::vector<Heard> heard_;
};

const Bus::MenuNode& child(const Bus::MenuNode& node, std::size_t index) { return node.children.at(index); }

}  // namespace

TEST_F(TrayMenuX11Test, ThePanelReadsTheMenuAndItsChoicesArriveAsFromThePopupMenu) {
    EXPECT_EQ(Bus::itemText(name_, "Menu"), "/");
    ASSERT_TRUE(trayIconService().setMenu(window_, sampleMenu()));
    EXPECT_EQ(Bus::itemText(name_, "Menu"), "/MenuBar");
    EXPECT_EQ(Bus::menuObjectProperty(name_, "Version"), "3");
    EXPECT_EQ(Bus::menuObjectProperty(name_, "TextDirection"), "ltr");
    EXPECT_EQ(Bus::menuObjectProperty(name_, "Status"), "normal");

    const auto layout = Bus::menuLayout(name_);
    ASSERT_TRUE(layout);
    const Bus::MenuNode& root = layout->root;
    EXPECT_EQ(root.id, 0);
    EXPECT_EQ(root.childrenDisplay, "submenu");
    ASSERT_EQ(root.children.size(), 7u);
    // The mnemonic as the bus marks it; a literal '_' doubled.
    EXPECT_EQ(child(root, 0).label, "_Top & tail__x");
    EXPECT_EQ(child(root, 0).id, 40960);
    EXPECT_EQ(child(root, 0).toggleType, "");
    EXPECT_EQ(child(root, 1).label, "Sound");
    EXPECT_EQ(child(root, 1).toggleType, "checkmark");
    EXPECT_EQ(child(root, 1).toggleState, 1);
    EXPECT_EQ(child(root, 2).type, "separator");
    EXPECT_EQ(child(root, 3).toggleType, "radio");
    EXPECT_EQ(child(root, 3).toggleState, 0);
    EXPECT_EQ(child(root, 4).toggleState, 1);
    const Bus::MenuNode& more = child(root, 5);
    EXPECT_EQ(more.label, "More");
    EXPECT_EQ(more.childrenDisplay, "submenu");
    ASSERT_EQ(more.children.size(), 2u);
    EXPECT_EQ(child(more, 0).label, "Deep");
    EXPECT_EQ(child(more, 0).id, 40970);
    EXPECT_TRUE(child(more, 0).enabled);
    EXPECT_FALSE(child(more, 1).enabled);
    // The second showing of the submenu has items of its own identifiers.
    const Bus::MenuNode& again = child(root, 6);
    ASSERT_EQ(again.children.size(), 2u);
    EXPECT_NE(child(again, 0).id, 40970);
    EXPECT_NE(child(again, 0).id, child(again, 1).id);
    EXPECT_NE(child(again, 0).id, more.id);

    // Opening a menu is heard as a popup menu's opening; choices as its WM_COMMAND.
    EXPECT_EQ(Bus::menuAboutToShow(name_, 0), false);
    EXPECT_EQ(Bus::menuAboutToShow(name_, more.id), false);
    EXPECT_FALSE(Bus::menuAboutToShow(name_, 40960)) << "an item that opens no menu";
    EXPECT_EQ(heard(2), (std::vector<Heard>{{WM_INITMENUPOPUP, 0, 0}, {WM_INITMENUPOPUP, 0, 5}}));

    ASSERT_TRUE(Bus::menuEvent(name_, 40961, "clicked"));
    ASSERT_TRUE(Bus::menuEvent(name_, child(more, 1).id, "clicked"));  // disabled: nothing
    ASSERT_TRUE(Bus::menuEvent(name_, 40970, "hovered"));              // not a choice
    ASSERT_TRUE(Bus::menuEvent(name_, more.id, "clicked"));            // opens, chooses nothing
    ASSERT_TRUE(Bus::menuEvent(name_, child(again, 0).id, "clicked"));
    EXPECT_FALSE(Bus::menuEvent(name_, 12345, "clicked"));
    EXPECT_EQ(heard(2), (std::vector<Heard>{{WM_COMMAND, 40961, 0}, {WM_COMMAND, 40970, 0}}));
}

TEST_F(TrayMenuX11Test, AChangedMenuReachesThePanelAsSignals) {
    std::vector<TrayMenuItem> menu = sampleMenu();
    ASSERT_TRUE(trayIconService().setMenu(window_, menu));
    const auto before = Bus::menuLayout(name_);
    ASSERT_TRUE(before);
    Bus::MenuSignals signals;
    ASSERT_TRUE(signals.start(name_));

    // The same menu again: nothing to tell.
    ASSERT_TRUE(trayIconService().setMenu(window_, menu));
    EXPECT_FALSE(signals.wait(300));

    // A check mark moved: the items' properties, the layout's revision unchanged.
    menu[1].flags &= ~MenuStateChecked;
    menu[3].flags |= MenuStateChecked;
    menu[4].flags &= ~MenuStateChecked;
    ASSERT_TRUE(trayIconService().setMenu(window_, menu));
    ASSERT_TRUE(signals.wait(3000));
    ASSERT_EQ(signals.propertyUpdates().size(), 1u);
    EXPECT_EQ(signals.propertyUpdates()[0], (std::vector<std::int32_t>{40961, 40962, 40963}));
    EXPECT_TRUE(signals.layoutUpdates().empty());
    auto after = Bus::menuLayout(name_);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->revision, before->revision);
    EXPECT_EQ(child(after->root, 1).toggleState, 0);
    EXPECT_EQ(child(after->root, 3).toggleState, 1);

    // An item added: a new layout with a new revision.
    menu.push_back(command(u"Quit", 40990));
    ASSERT_TRUE(trayIconService().setMenu(window_, menu));
    ASSERT_TRUE(signals.wait(3000));
    ASSERT_EQ(signals.layoutUpdates().size(), 1u);
    after = Bus::menuLayout(name_);
    ASSERT_TRUE(after);
    EXPECT_EQ(signals.layoutUpdates()[0], after->revision);
    EXPECT_NE(after->revision, before->revision);
    ASSERT_EQ(after->root.children.size(), 8u);
    EXPECT_EQ(child(after->root, 7).label, "Quit");
    ASSERT_TRUE(Bus::menuEvent(name_, 40990, "clicked"));
    EXPECT_EQ(heard(1), (std::vector<Heard>{{WM_COMMAND, 40990, 0}}));
}

#endif
