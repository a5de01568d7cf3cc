// The system's popup menus, answered by keys sent while the test thread sits in the
// menu loop, as a user's would. Builds without the Win32 backend compile nothing here.
#if defined(TAVIZO_HAS_WIN32)
#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "framework/Platform/Backend.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/PopupMenu.h"
#include "framework/Platform/Window.h"
#include "framework/Platform/Win32/Win32Injection.h"

using namespace Arbor::Platform;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int VK_RETURN = 0x0D, VK_ESCAPE = 0x1B, VK_RIGHT = 0x27, VK_DOWN = 0x28;

bool waitFor(const std::function<bool()>& done, int milliseconds = 5000) {
    const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (Clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace

TEST(Win32PopupMenu, KeysChooseFromTheSystemMenu) {
    ASSERT_TRUE(selectBackend("Win32"));
    std::vector<std::uint32_t> commands;
    std::vector<MenuHandle> opened;
    WindowDescription description;
    description.title = u"MenuOwner";
    description.style = WS_POPUP | WS_VISIBLE;
    description.bounds = Rect{100, 100, 200, 200};
    description.procedure = [&](WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t) -> std::optional<std::intptr_t> {
        if (message == WM_COMMAND) commands.push_back(static_cast<std::uint32_t>(wParam & 0xFFFF));
        if (message == WM_INITMENUPOPUP) opened.push_back(static_cast<MenuHandle>(wParam));
        return std::nullopt;
    };
    WindowService& windows = windowService();
    const WindowHandle owner = windows.create(description);
    ASSERT_NE(owner, WindowHandle::None);
    windows.setForeground(owner);  // a menu takes keys only for the foreground thread

    PopupMenuService& menus = popupMenuService();
    const MenuHandle menu = menus.createPopupMenu();
    const MenuHandle sub = menus.createPopupMenu();
    menus.appendItem(menu, 0, 0xA000, u"First");
    menus.appendSubMenu(menu, sub, 0, u"More");
    menus.appendItem(menu, MenuStateGrayed, 0xA001, u"Disabled");
    menus.appendItem(sub, 0, 0xA002, u"Deep");

    const auto track = [&](std::vector<int> keys) {
        std::atomic<bool> done{false};
        std::thread user([&] {
            if (waitFor([&] { return menus.isMenuWindowVisible(menus.findMenuWindow()); })) {
                for (int key : keys) {
                    Win32::Inspection::tapKey(key);
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                }
            }
            if (!waitFor([&] { return done.load(); }, 3000)) {
                Win32::Inspection::tapKey(VK_ESCAPE);
                Win32::Inspection::tapKey(VK_ESCAPE);
            }
        });
        menus.trackPopupMenu(menu, Point{120, 120}, owner);
        done = true;
        user.join();
        Message message;
        while (messageQueueService().peekMessage(message)) messageQueueService().dispatchMessage(message);
    };

    // Down to the submenu item, Right opens it, Enter chooses its first item.
    track({VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN});
    EXPECT_EQ(commands, (std::vector<std::uint32_t>{0xA002}));
    ASSERT_FALSE(opened.empty());
    EXPECT_EQ(opened.front(), menu);

    commands.clear();
    track({VK_ESCAPE});
    EXPECT_TRUE(commands.empty());
    EXPECT_FALSE(menus.isMenuWindowVisible(menus.findMenuWindow()));

    menus.destroyMenu(menu);
    windows.destroy(owner);
}

#endif
