// The X11 backend's notification icon against stand-ins: a StatusNotifierWatcher on a
// private session bus and an XEmbed system tray on a private display. Run by
// dbus-run-session and run-on-private-display (tests/CMakeLists.txt); elsewhere every
// test skips.
#if defined(TAVIZO_HAS_X11) && defined(TAVIZO_HAS_SDBUS)
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "framework/Platform/Backend.h"
#include "framework/Platform/Linux/StandInWatcher.h"
#include "framework/Platform/Linux/StatusNotifierItem.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/TrayIcon.h"
#include "framework/Platform/Window.h"
#include "framework/Platform/X11/X11Readback.h"
#include "framework/Platform/X11/X11StandInTray.h"
#include "framework/Platform/X11/X11TrayIcon.h"

using namespace Arbor::Platform;
namespace Probe = Arbor::Platform::X11::Inspection;
namespace Bus = Arbor::Platform::Linux::Testing;
using Kind = Probe::TrayIconKind;
using Clock = std::chrono::steady_clock;

namespace {

bool pumpUntil(const std::function<bool()>& done, int milliseconds = 5000) {
    auto& queue = messageQueueService();
    const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (Clock::now() > end) return false;
        Message message;
        while (queue.peekMessage(message)) queue.dispatchMessage(message);
        if (!done()) queue.waitMessage(10);
    }
    return true;
}

TrayIconPixels solid(int side, std::uint32_t colour) {
    TrayIconPixels picture;
    picture.width = picture.height = side;
    picture.pixels.assign(std::size_t(side) * std::size_t(side), colour);
    return picture;
}

class TrayIconX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("TAVIZO_TEST_COMPOSITOR")) GTEST_SKIP() << "runs under run-on-private-display";
        if (!selectBackend("X11") || !isBackendAvailable("X11")) GTEST_SKIP() << "no X display";
        if (!Bus::sessionBusAvailable()) GTEST_SKIP() << "runs under dbus-run-session";
        WindowDescription description;
        description.title = u"TrayOwner";
        description.bounds = Rect{0, 0, 10, 10};
        description.style = WS_POPUP;
        description.procedure = [this](WindowHandle, std::uint32_t m, std::uintptr_t wp,
                                       std::intptr_t lp) -> std::optional<std::intptr_t> {
            if (m == TrayIconCallbackMessage) {
                EXPECT_EQ(wp, TrayIconIdentifier);
                clicks_.push_back(std::uint32_t(lp));
            }
            return std::nullopt;
        };
        window_ = windowService().create(description);
        ASSERT_NE(window_, WindowHandle::None);
    }
    void TearDown() override {
        if (window_ != WindowHandle::None) {
            trayIconService().removeIcon(window_);
            windowService().destroy(window_);
        }
    }
    bool clicked(std::vector<std::uint32_t> expected) {
        const bool arrived = pumpUntil([&] { return clicks_.size() >= expected.size(); });
        const bool same = clicks_ == expected;
        clicks_.clear();
        return arrived && same;
    }
    bool add(const TrayIconPixels& picture, std::u16string_view tip) {
        auto icon = trayIconService().createIcon(picture);
        return icon && trayIconService().addIcon(window_, icon->handle(), tip);
    }

    WindowHandle window_ = WindowHandle::None;
    std::vector<std::uint32_t> clicks_;
};

// A menu that only notes where the item put it.
class NotedMenu : public Arbor::Platform::Linux::StatusNotifierMenu {
public:
    explicit NotedMenu(std::string* path) : path_(path) {}
    bool attach(sd_bus*, const char* path) override {
        *path_ = path;
        return true;
    }

private:
    std::string* path_;
};

}  // namespace

TEST_F(TrayIconX11Test, AnItemRegistersWithTheWatcherShowsThePictureAndReportsClicksAsTheShellDoes) {
    Bus::StandInWatcher watcher;
    ASSERT_TRUE(watcher.start());
    TrayIconPixels picture;
    picture.width = 2;
    picture.height = 1;
    picture.pixels = {0x80FF0000u, 0xFF0000FFu};  // straight alpha; the bus wants A, R, G, B bytes
    ASSERT_TRUE(add(picture, u"タヴィゾー"));
    EXPECT_FALSE(add(picture, u"twice")) << "one icon per window";
    EXPECT_EQ(Probe::trayIconKind(window_), Kind::StatusNotifierItem);
    const std::string name = Probe::trayIconBusName(window_);
    EXPECT_EQ(name.rfind("org.kde.StatusNotifierItem-" + std::to_string(::getpid()) + "-", 0), 0u) << name;
    EXPECT_EQ(watcher.registrations(), std::vector<std::string>{name});

    // Hosts read everything at once.
    const auto names = Bus::itemPropertyNames(name);
    ASSERT_TRUE(names);
    for (const char* wanted : {"Category", "Id", "Title", "Status", "IconPixmap", "ToolTip", "ItemIsMenu", "Menu"})
        EXPECT_NE(std::find(names->begin(), names->end(), wanted), names->end()) << wanted;
    EXPECT_EQ(Bus::itemText(name, "Category"), "ApplicationStatus");
    EXPECT_EQ(Bus::itemText(name, "Id"), "tavizo");
    EXPECT_EQ(Bus::itemText(name, "Title"), "タヴィゾー");
    EXPECT_EQ(Bus::itemText(name, "Status"), "Active");
    EXPECT_EQ(Bus::itemText(name, "Menu"), "/");
    EXPECT_EQ(Bus::itemFlag(name, "ItemIsMenu"), false);
    EXPECT_EQ(Bus::itemToolTipTitle(name), "タヴィゾー");
    const auto shown = Bus::itemPicture(name);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->width, 2);
    EXPECT_EQ(shown->height, 1);
    EXPECT_EQ(shown->pixels, picture.pixels);

    ASSERT_TRUE(Bus::callItem(name, "ContextMenu", 5, 6));
    EXPECT_TRUE(clicked({WM_RBUTTONDOWN, WM_RBUTTONUP}));
    ASSERT_TRUE(Bus::callItem(name, "Activate", 5, 6));
    EXPECT_TRUE(clicked({WM_LBUTTONDOWN, WM_LBUTTONUP}));
    ASSERT_TRUE(Bus::callItem(name, "SecondaryActivate", 5, 6));
    EXPECT_TRUE(clicked({WM_MBUTTONDOWN, WM_MBUTTONUP}));

    // A new picture and tip reach the host.
    auto second = trayIconService().createIcon(solid(3, 0xFF00FF00u));
    ASSERT_TRUE(trayIconService().modifyIcon(window_, second->handle(), u"changed"));
    EXPECT_EQ(Bus::itemText(name, "Title"), "changed");
    EXPECT_EQ(Bus::itemPicture(name)->pixels, solid(3, 0xFF00FF00u).pixels);

    // The menu seam: an attached menu moves the "Menu" property to its path.
    std::string menuPath;
    EXPECT_TRUE(X11::attachTrayMenu(window_, std::make_unique<NotedMenu>(&menuPath)));
    EXPECT_EQ(menuPath, Arbor::Platform::Linux::StatusNotifierItem::MenuPath);
    EXPECT_EQ(Bus::itemText(name, "Menu"), "/MenuBar");

    EXPECT_TRUE(trayIconService().removeIcon(window_));
    EXPECT_FALSE(trayIconService().removeIcon(window_));
    EXPECT_FALSE(trayIconService().modifyIcon(window_, second->handle(), u"gone"));
    EXPECT_FALSE(Bus::itemText(name, "Id")) << "the item's name leaves the bus with it";
}

TEST_F(TrayIconX11Test, TheItemRegistersAgainWhenTheWatcherRestartsAndGoesWithItsWindow) {
    auto watcher = std::make_unique<Bus::StandInWatcher>();
    ASSERT_TRUE(watcher->start());
    ASSERT_TRUE(add(solid(16, 0xFFFF0000u), u"tip"));
    const std::string name = Probe::trayIconBusName(window_);

    watcher = std::make_unique<Bus::StandInWatcher>();  // the panel restarts
    ASSERT_TRUE(watcher->start());
    EXPECT_TRUE(pumpUntil([&] { return watcher->registrations() == std::vector<std::string>{name}; }));
    EXPECT_TRUE(pumpUntil([&] { return Probe::trayIconKind(window_) == Kind::StatusNotifierItem; }));

    // A window that goes takes its icon with it, as the shell drops it.
    windowService().destroy(window_);
    window_ = WindowHandle::None;
    EXPECT_TRUE(pumpUntil([&] { return !Bus::itemText(name, "Id"); }));
}

TEST_F(TrayIconX11Test, WithoutAWatcherTheIconDocksInTheSystemTrayDrawnAtItsSizeAndClicksArrive) {
    Probe::StandInTray tray;
    const Point corner{300, 200};
    constexpr int side = 32;
    ASSERT_TRUE(tray.start(corner, side));
    // A 4 x 4 picture: opaque red left half, transparent right half.
    TrayIconPixels picture = solid(4, 0xFFFF0000u);
    for (int y = 0; y < 4; ++y) picture.pixels[std::size_t(y * 4 + 2)] = picture.pixels[std::size_t(y * 4 + 3)] = 0;
    ASSERT_TRUE(add(picture, u"tip"));
    EXPECT_EQ(Probe::trayIconKind(window_), Kind::XEmbed);
    const std::uint64_t icon = Probe::trayIconEmbedWindow(window_);
    ASSERT_NE(icon, 0u);
    ASSERT_TRUE(pumpUntil([&] { return tray.docked() == std::vector<std::uint64_t>{icon}; }));
    const WindowHandle iconHandle = WindowHandle(icon);
    ASSERT_TRUE(pumpUntil([&] { return Probe::isViewable(iconHandle); }));

    // Scaled to the slot: red on the left, the tray's own background on the right.
    std::vector<std::uint32_t> pixels;
    EXPECT_TRUE(pumpUntil([&] {
        pixels = Probe::windowPixels(iconHandle, side, side);
        return pixels.size() == std::size_t(side * side) && (pixels[std::size_t(16 * side + 4)] & 0xFFFFFF) == 0xFF0000;
    }));
    if (pixels.size() == std::size_t(side * side)) {
        EXPECT_EQ(pixels[std::size_t(16 * side + 4)] & 0xFFFFFF, 0xFF0000u);
        EXPECT_EQ(pixels[std::size_t(16 * side + 28)] & 0xFFFFFF, 0x202020u);
    }

    ASSERT_TRUE(Probe::click(corner.x + side / 2, corner.y + side / 2, 1));
    EXPECT_TRUE(clicked({WM_LBUTTONDOWN, WM_LBUTTONUP}));
    pumpUntil([] { return false; }, 600);  // past the double-click time
    ASSERT_TRUE(Probe::click(corner.x + side / 2, corner.y + side / 2, 3));
    EXPECT_TRUE(clicked({WM_RBUTTONDOWN, WM_RBUTTONUP}));

    // A watcher that starts takes the icon over from the tray.
    Bus::StandInWatcher watcher;
    ASSERT_TRUE(watcher.start());
    EXPECT_TRUE(pumpUntil([&] { return Probe::trayIconKind(window_) == Kind::StatusNotifierItem; }));
    EXPECT_EQ(Probe::trayIconEmbedWindow(window_), 0u);

    EXPECT_TRUE(trayIconService().removeIcon(window_));
}

TEST_F(TrayIconX11Test, AnIconDocksAgainInATrayThatRestarts) {
    auto tray = std::make_unique<Probe::StandInTray>();
    ASSERT_TRUE(tray->start(Point{300, 200}, 24));
    ASSERT_TRUE(add(solid(8, 0xFF0000FFu), u"tip"));
    const std::uint64_t first = Probe::trayIconEmbedWindow(window_);
    ASSERT_TRUE(pumpUntil([&] { return tray->docked() == std::vector<std::uint64_t>{first}; }));

    tray.reset();  // the panel ends
    EXPECT_TRUE(pumpUntil([&] { return Probe::trayIconKind(window_) == Kind::None; }));
    tray = std::make_unique<Probe::StandInTray>();
    ASSERT_TRUE(tray->start(Point{300, 200}, 24));
    EXPECT_TRUE(pumpUntil([&] { return tray->docked().size() == 1; }));
    EXPECT_EQ(Probe::trayIconKind(window_), Kind::XEmbed);
    EXPECT_TRUE(trayIconService().removeIcon(window_));
}

TEST_F(TrayIconX11Test, WithNeitherAWatcherNorATrayNothingIsShown) {
    EXPECT_FALSE(add(solid(16, 0xFFFF0000u), u"tip"));
    EXPECT_EQ(Probe::trayIconKind(window_), Kind::None);
    EXPECT_FALSE(trayIconService().removeIcon(window_));
}

#endif
