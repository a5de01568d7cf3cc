// What reaches a character from the user-interface thread: the tray icon's clicks, menu
// requests, and the end of the session.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "Source/GameComponent/CharacterMenus.h"
#include "Source/GameComponent/MainObject.h"
#include "framework/Platform/Headless/HeadlessTrayIcon.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/PopupMenu.h"
#include "framework/Platform/TrayIcon.h"
#include "framework/Platform/Window.h"
#include "tests/Source/GameComponent/SceneFixture.h"

using namespace SceneTesting;
using Quenta::GameComponent::InputEvent;
using Quenta::GameComponent::LifeState;
using Quenta::GameComponent::MainObject;

namespace {

using UserInterfaceThread = SceneFixture;

class RecordingMenus : public Quenta::GameComponent::CharacterMenus {
public:
    bool showMenu(const std::u16string& menuName, int screenX, int screenY) override {
        shown.push_back(menuName);
        x = screenX;
        y = screenY;
        return true;
    }
    void onMenuItem(const InputEvent&) override {}
    bool hasPendingMenu() const override { return false; }
    bool isPendingMenu(std::uintptr_t) const override { return false; }
    void forgetPendingMenu() override {}
    Arbor::Platform::WindowHandle popupWindow() const override { return Arbor::Platform::WindowHandle::None; }
    std::vector<std::u16string> shown;
    int x = 0;
    int y = 0;
};

// Handles what has been posted to this thread's windows.
void pumpMessages() {
    auto& queue = Arbor::Platform::messageQueueService();
    Arbor::Platform::Message message;
    while (queue.peekMessage(message)) queue.dispatchMessage(message);
}

}  // namespace

TEST_F(UserInterfaceThread, TrayIconClicksRaiseTheProgramsOrShowTheMainMenu) {
    int raised = 0;
    Quenta::GameComponent::SceneEnvironment::current().bringProgramsToFront = [&] { ++raised; };
    auto& main = desktop.adopt(std::make_unique<MainObject>(u"main"));
    main.load();
    main.start();
    auto menus = std::make_unique<RecordingMenus>();
    RecordingMenus& recorded = *menus;
    main.setMenus(std::move(menus));
    ASSERT_TRUE(main.addTrayIcon(nullptr, u"tip"));
    auto& widget = *main.ownWidget();
    raised = 0;
    main.onAppMessage(widget, {Quenta::GameComponent::kTrayIconMessage, 0, 0x0201});
    EXPECT_EQ(Arbor::Platform::Headless::HeadlessDesktop::instance().foregroundWindow(), main.window());
    EXPECT_EQ(raised, 1);
    // The right button asks for "MainMenu" at the cursor, through application message + 4.
    Arbor::Platform::Headless::HeadlessDesktop::instance().setCursorPosition({300, 200});
    main.onAppMessage(widget, {Quenta::GameComponent::kTrayIconMessage, 0, 0x0204});
    EXPECT_TRUE(recorded.shown.empty());
    pumpMessages();
    EXPECT_EQ(recorded.shown, std::vector<std::u16string>{u"MainMenu"});
    EXPECT_EQ(recorded.x, 300);
    EXPECT_EQ(recorded.y, 200);
}

TEST_F(UserInterfaceThread, TheTrayIsHandedMainMenuWhenScriptsChangeIt) {
    namespace Headless = Arbor::Platform::Headless;
    Headless::resetTrayIcons();
    auto& main = desktop.adopt(std::make_unique<MainObject>(u"main"));
    main.load();
    main.start();
    frame();
    EXPECT_TRUE(Headless::trayMenuRecords().empty()) << "no icon, no menu for it";
    ASSERT_TRUE(main.addTrayIcon(nullptr, u"tip"));
    run(main, {u"AddMenuItem(\"MainMenu\", 0, \"Hello\", SetVariable(\"$x\", \"1\"))"});
    frame();
    auto records = Headless::trayMenuRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].window, main.window());
    ASSERT_EQ(records[0].menu.size(), 1u);
    EXPECT_EQ(records[0].menu[0].text, u"Hello");
    EXPECT_EQ(records[0].menu[0].flags, 0u);
    frame(2);
    EXPECT_EQ(Headless::trayMenuRecords().size(), 1u) << "an unchanged menu is not handed over again";

    run(main, {u"DisableMenuItem(\"MainMenu\", 0)"});
    frame();
    records = Headless::trayMenuRecords();
    ASSERT_EQ(records.size(), 2u);
    ASSERT_EQ(records[1].menu.size(), 1u);
    EXPECT_NE(records[1].menu[0].flags & Arbor::Platform::MenuStateGrayed, 0u);
    Headless::resetTrayIcons();
}

TEST_F(UserInterfaceThread, TheSessionEndRunsTheExitCodeOnTheFrameThreadAndWaitsForIt) {
    CharacterObject& c = load(u"c1");
    frame();
    std::atomic<bool> stop{false};
    std::thread frameThread([&] {
        desktop.adoptScriptThread();
        while (!stop) {
            frame();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    c.onQueryEndSession(*c.ownWidget(), Arbor::Gui::WindowMessage{});
    // By the time the listener returns the exit code has run, without the exit order.
    const LifeState state = c.lifeState();
    stop = true;
    frameThread.join();
    desktop.adoptScriptThread();
    EXPECT_EQ(state, LifeState::Terminated);
    EXPECT_EQ(text(c, u"$trail"), u"final");
}
