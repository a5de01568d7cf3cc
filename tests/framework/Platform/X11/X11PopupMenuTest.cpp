// The menus the X11 backend draws, answered by clicks and keys injected through XTest
// while the test thread sits in the menu loop, as a user's would. Run by
// run-on-private-display; without it every test skips.
#if defined(TAVIZO_HAS_X11)
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "framework/Platform/Backend.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/PopupMenu.h"
#include "framework/Platform/Screen.h"
#include "framework/Platform/Window.h"
#include "framework/Platform/X11/X11Injection.h"
#include "framework/Platform/X11/X11MenuPainter.h"
#include "framework/Platform/X11/X11Readback.h"

using namespace Arbor::Platform;
namespace Probe = Arbor::Platform::X11::Inspection;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int VK_RETURN = 0x0D, VK_ESCAPE = 0x1B, VK_RIGHT = 0x27, VK_DOWN = 0x28;
constexpr std::uint32_t kHighlight = 0x3584E4;

bool waitFor(const std::function<bool()>& done, int milliseconds = 5000) {
    const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (Clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

class X11PopupMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("TAVIZO_TEST_COMPOSITOR")) GTEST_SKIP() << "runs under run-on-private-display";
        if (!selectBackend("X11") || !isBackendAvailable("X11")) GTEST_SKIP() << "no X display";
        ASSERT_TRUE(Probe::connected());
        WindowDescription description;
        description.title = u"MenuOwner";
        description.style = WS_POPUP;
        description.bounds = Rect{10, 10, 20, 20};
        description.procedure = [this](WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                                       std::intptr_t) -> std::optional<std::intptr_t> {
            if (message == WM_COMMAND) commands_.push_back(static_cast<std::uint32_t>(wParam));
            if (message == WM_INITMENUPOPUP) opened_.push_back(static_cast<MenuHandle>(wParam));
            return std::nullopt;
        };
        owner_ = windowService().create(description);
        ASSERT_NE(owner_, WindowHandle::None);

        PopupMenuService& menus = popupMenuService();
        menu_ = menus.createPopupMenu();
        sub_ = menus.createPopupMenu();
        menus.appendItem(sub_, 0, 201, u"Deep");
        menus.appendItem(menu_, 0, 101, u"First item");
        menus.appendItem(menu_, MenuStateChecked, 102, u"Second");
        menus.appendSeparator(menu_);
        menus.appendItem(menu_, MenuStateGrayed, 103, u"Disabled");
        menus.appendSubMenu(menu_, sub_, 0, u"More");
        // The same items as data, for where they lie on the screen.
        tree_.entries = {{MenuEntry::Kind::String, 0, 101, u"First item", nullptr},
                         {MenuEntry::Kind::String, MenuStateChecked, 102, u"Second", nullptr},
                         {MenuEntry::Kind::Separator, 0, 0, u"", nullptr},
                         {MenuEntry::Kind::String, MenuStateGrayed, 103, u"Disabled", nullptr},
                         {MenuEntry::Kind::SubMenu, 0, 0, u"More", nullptr}};
    }
    void TearDown() override {
        if (menu_ != MenuHandle::None) popupMenuService().destroyMenu(menu_);
        if (owner_ != WindowHandle::None) windowService().destroy(owner_);
    }

    // Shows the menu at the point on this thread while `user` acts on another thread;
    // then lets the owner hear what the menu posted. Should the user's steps leave the
    // menu open, Escape and a click far away close it so that the test ends.
    bool track(Point at, const std::function<void()>& user) {
        std::atomic<bool> closed{false};
        std::thread other([&] {
            user();
            if (!waitFor([&] { return closed.load(); }, 3000)) {
                Probe::tapKey(VK_ESCAPE);
                Probe::click(1, 1);
            }
        });
        const bool shown = popupMenuService().trackPopupMenu(menu_, at, owner_);
        closed = true;
        other.join();
        Message message;
        while (messageQueueService().peekMessage(message)) messageQueueService().dispatchMessage(message);
        return shown;
    }

    // Waits for the menu window on the screen; its bounds.
    static std::optional<Rect> openMenu() {
        WindowHandle window = WindowHandle::None;
        if (!waitFor([&] {
                window = popupMenuService().findMenuWindow();
                return window != WindowHandle::None && Probe::isViewable(window);
            })) {
            return std::nullopt;
        }
        return windowService().bounds(window);
    }

    // The centre of an item of the open menu on the screen.
    Point itemCentre(const Rect& menu, int index) {
        X11::MenuPainter painter(96);
        const auto layout = painter.layout(tree_);
        const Rect& r = layout.items.at(static_cast<std::size_t>(index));
        return Point{menu.left + (r.left + r.right) / 2, menu.top + (r.top + r.bottom) / 2};
    }

    static void clickAt(Point p) {
        Probe::movePointer(p.x, p.y);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        Probe::pressButton(1, true);
        Probe::pressButton(1, false);
    }

    WindowHandle owner_ = WindowHandle::None;
    MenuHandle menu_ = MenuHandle::None, sub_ = MenuHandle::None;
    MenuTree tree_;
    std::vector<std::uint32_t> commands_;
    std::vector<MenuHandle> opened_;
};

}  // namespace

TEST_F(X11PopupMenuTest, AClickOnAnItemChoosesItAndAClickOutsideClosesTheMenu) {
    std::optional<Rect> bounds;
    std::vector<std::uint32_t> pixels;
    Point second;
    ASSERT_TRUE(track(Point{200, 150}, [&] {
        bounds = openMenu();
        if (!bounds) return;
        second = itemCentre(*bounds, 1);
        Probe::movePointer(second.x, second.y);
        // Hovering highlights the item: its row turns the highlight colour.
        waitFor([&] {
            pixels = Probe::windowPixels(popupMenuService().findMenuWindow(), bounds->width(), bounds->height());
            const int x = 6, y = second.y - bounds->top;
            return !pixels.empty() && (pixels[static_cast<std::size_t>(y * bounds->width() + x)] & 0xFFFFFF) == kHighlight;
        });
        clickAt(second);
    }));
    ASSERT_TRUE(bounds);
    EXPECT_EQ(bounds->left, 200);
    EXPECT_EQ(bounds->top, 150);
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(pixels[static_cast<std::size_t>((second.y - bounds->top) * bounds->width() + 6)] & 0xFFFFFF, kHighlight);
    // The first item's row holds dark text on the light background.
    const Point first = itemCentre(*bounds, 0);
    int dark = 0;
    for (int x = 0; x < bounds->width(); ++x) {
        const std::uint32_t p = pixels[static_cast<std::size_t>((first.y - bounds->top) * bounds->width() + x)];
        if (((p >> 16) & 0xFF) < 0x80 && ((p >> 8) & 0xFF) < 0x80) ++dark;
    }
    EXPECT_GT(dark, 3);
    EXPECT_EQ(commands_, (std::vector<std::uint32_t>{102}));
    EXPECT_EQ(opened_, (std::vector<MenuHandle>{menu_}));
    EXPECT_EQ(popupMenuService().findMenuWindow(), WindowHandle::None);

    // Clicks on a disabled item do nothing; one outside closes the menu without a choice.
    commands_.clear();
    ASSERT_TRUE(track(Point{200, 150}, [&] {
        bounds = openMenu();
        if (!bounds) return;
        clickAt(itemCentre(*bounds, 3));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (popupMenuService().findMenuWindow() == WindowHandle::None) return;
        clickAt(Point{bounds->right + 40, bounds->bottom + 40});
    }));
    EXPECT_TRUE(commands_.empty());
}

TEST_F(X11PopupMenuTest, KeysMoveThroughTheItemsAndIntoSubmenus) {
    ASSERT_TRUE(track(Point{300, 200}, [&] {
        if (!openMenu()) return;
        Probe::tapKey(VK_DOWN);
        Probe::tapKey(VK_DOWN);
        Probe::tapKey(VK_RETURN);
    }));
    EXPECT_EQ(commands_, (std::vector<std::uint32_t>{102}));

    // Down skips the separator and the disabled item; Right opens the submenu.
    commands_.clear();
    opened_.clear();
    ASSERT_TRUE(track(Point{300, 200}, [&] {
        if (!openMenu()) return;
        for (int i = 0; i < 3; ++i) Probe::tapKey(VK_DOWN);
        Probe::tapKey(VK_RIGHT);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        Probe::tapKey(VK_RETURN);
    }));
    EXPECT_EQ(commands_, (std::vector<std::uint32_t>{201}));
    ASSERT_EQ(opened_.size(), 2u);
    EXPECT_EQ(opened_[1], sub_);

    // Escape closes without a choice.
    commands_.clear();
    ASSERT_TRUE(track(Point{300, 200}, [&] {
        if (openMenu()) Probe::tapKey(VK_ESCAPE);
    }));
    EXPECT_TRUE(commands_.empty());
}

TEST_F(X11PopupMenuTest, AMenuOpenedAtTheScreenCornerStaysOnTheScreen) {
    const Rect screen = screenService().metrics().virtualScreen;
    std::optional<Rect> bounds;
    ASSERT_TRUE(track(Point{screen.right - 3, screen.bottom - 3}, [&] {
        bounds = openMenu();
        Probe::tapKey(VK_ESCAPE);
    }));
    ASSERT_TRUE(bounds);
    EXPECT_GE(bounds->left, screen.left);
    EXPECT_GE(bounds->top, screen.top);
    EXPECT_LE(bounds->right, screen.right);
    EXPECT_LE(bounds->bottom, screen.bottom);
    // Opened leftwards and upwards from the point, as desktop menus do.
    EXPECT_EQ(bounds->right, screen.right - 3);
    EXPECT_EQ(bounds->bottom, screen.bottom - 3);
}

TEST(X11MenuPainter, SizesFollowTheResolution) {
    EXPECT_EQ(X11::dpiFromResources(nullptr), 96.0);
    EXPECT_EQ(X11::dpiFromResources("Xft.antialias:\t1\nXft.dpi:\t192\n"), 192.0);
    EXPECT_EQ(X11::dpiFromResources("Xft.dpi:\tnonsense\n"), 96.0);
    MenuTree tree;
    tree.entries = {{MenuEntry::Kind::String, 0, 1, u"Something to read", nullptr}};
    X11::MenuPainter normal(96), doubled(192);
    const auto small = normal.layout(tree), large = doubled.layout(tree);
    EXPECT_GE(small.items[0].height(), 20);  // readable at 96 dpi
    EXPECT_NEAR(large.items[0].height(), 2 * small.items[0].height(), 4);
    EXPECT_NEAR(large.width, 2 * small.width, 8);
}

#endif
