// What tests can set and read on the virtual desktop.
#include <vector>

#include <gtest/gtest.h>

#include "framework/Platform/Backend.h"
#include "framework/Platform/Clock.h"
#include "framework/Platform/Cursor.h"
#include "framework/Platform/DibSection.h"
#include "framework/Platform/Folders.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Memory.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/Screen.h"
#include "framework/Platform/Session.h"
#include "framework/Platform/Window.h"
#include "support/TestPaths.h"

using namespace Arbor::Platform;
using Arbor::Platform::Headless::HeadlessDesktop;

namespace {

class HeadlessDesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = std::string(currentBackendName());
        selectBackend("Headless");
        desktop().reset();
    }
    void TearDown() override {
        desktop().reset();
        selectBackend(previous_);
    }
    static HeadlessDesktop& desktop() { return HeadlessDesktop::instance(); }
    std::string previous_;
};

LocalTime at(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    LocalTime time;
    time.year = year;
    time.month = month;
    time.day = day;
    time.hour = hour;
    time.minute = minute;
    time.second = second;
    time.millisecond = millisecond;
    return time;
}

}  // namespace

TEST_F(HeadlessDesktopTest, SetClockStandsStillUntilStepped) {
    desktop().setClock(1000, at(2024, 2, 28, 23, 59, 59, 900));
    auto& clock = clockService();
    EXPECT_EQ(clock.tickCount(), 1000u);
    EXPECT_EQ(clock.tickCount(), 1000u);
    desktop().stepClock(150);
    EXPECT_EQ(clock.tickCount(), 1150u);
    // Into the leap day; 2024-02-29 is a Thursday.
    const LocalTime time = clock.localTime();
    EXPECT_EQ(time, (LocalTime{2024, 2, 4, 29, 0, 0, 0, 50}));
    desktop().stepClock(24u * 3600u * 1000u);
    EXPECT_EQ(clock.localTime().month, 3);
    EXPECT_EQ(clock.localTime().day, 1);
    EXPECT_EQ(clock.localTime().dayOfWeek, 5);
}

TEST_F(HeadlessDesktopTest, TickCountWrapsLikeA32BitCounter) {
    desktop().setClock(0xFFFFFFF0u, at(2023, 12, 31, 23, 59, 59, 990));
    desktop().stepClock(0x20);
    EXPECT_EQ(clockService().tickCount(), 0x10u);
    const LocalTime time = clockService().localTime();
    EXPECT_EQ(time.year, 2024);
    EXPECT_EQ(time.month, 1);
    EXPECT_EQ(time.day, 1);
    EXPECT_EQ(time.millisecond, 22);
}

TEST_F(HeadlessDesktopTest, TimersFollowTheSteppedClock) {
    desktop().setClock(0, at(2025, 1, 1, 0, 0, 0, 0));
    auto& queue = messageQueueService();
    int calls = 0;
    const TimerId timer = queue.setTimer(500, [&] { ++calls; });
    Message message;
    EXPECT_FALSE(queue.peekMessage(message));
    desktop().stepClock(499);
    EXPECT_FALSE(queue.peekMessage(message));
    desktop().stepClock(1);
    ASSERT_TRUE(queue.peekMessage(message));
    EXPECT_EQ(message.message, WM_TIMER);
    queue.dispatchMessage(message);
    EXPECT_EQ(calls, 1);
    // A thread that falls far behind gets one timer message, not one per interval.
    desktop().stepClock(5000);
    ASSERT_TRUE(queue.peekMessage(message));
    queue.dispatchMessage(message);
    EXPECT_FALSE(queue.peekMessage(message));
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(queue.killTimer(timer));
    desktop().stepClock(5000);
    EXPECT_FALSE(queue.peekMessage(message));
}

TEST_F(HeadlessDesktopTest, ScreenAndCursorAreWhatTestsSet) {
    ScreenMetrics metrics;
    metrics.virtualScreen = Rect{-1280, 0, 1920, 1200};
    metrics.primaryWidth = 1920;
    metrics.primaryHeight = 1080;
    metrics.sameDisplayFormat = false;
    desktop().setScreen(metrics);
    desktop().setCursorPosition({-5, 700});
    desktop().setKeyDown(1, true);
    const ScreenMetrics seen = screenService().metrics();
    EXPECT_EQ(seen.virtualScreen, metrics.virtualScreen);
    EXPECT_EQ(seen.primaryWidth, 1920);
    EXPECT_FALSE(seen.sameDisplayFormat);
    EXPECT_EQ(screenService().cursorPosition(), (Point{-5, 700}));
    EXPECT_TRUE(desktop().isKeyDown(1));
    EXPECT_FALSE(desktop().isKeyDown(2));
}

TEST_F(HeadlessDesktopTest, MemoryCanBeSetOrMadeUnreadable) {
    MemoryStatus set;
    set.memoryLoad = 42;
    set.totalPhysical = 8u << 30;
    desktop().setMemoryStatus(set);
    MemoryStatus seen;
    ASSERT_TRUE(memoryService().memoryStatus(seen));
    EXPECT_EQ(seen, set);
    desktop().setMemoryStatus(std::nullopt);
    EXPECT_FALSE(memoryService().memoryStatus(seen));
    desktop().useHostMemoryStatus();
    EXPECT_TRUE(memoryService().memoryStatus(seen));
}

TEST_F(HeadlessDesktopTest, WritabilityCanBeDeniedForOneFolder) {
    Testing::TempDir temp;
    const std::u16string folder = fromNativePath(temp.path());
    EXPECT_TRUE(folderService().isWritableDirectory(folder));
    desktop().markUnwritable(folder + u"\\");
    EXPECT_FALSE(folderService().isWritableDirectory(folder));
    EXPECT_TRUE(folderService().isWritableDirectory(fromNativePath(temp.path().parent_path())));
    desktop().setApplicationDataFolder(u"\\home\\someone\\.local\\share");
    EXPECT_EQ(folderService().applicationDataFolder(), u"\\home\\someone\\.local\\share");
}

TEST_F(HeadlessDesktopTest, SessionRequestsAreRecordedNeverCarriedOut) {
    EXPECT_TRUE(sessionService().enableShutdownPrivilege());
    EXPECT_TRUE(sessionService().exitSystem(EWX_REBOOT, 0));
    desktop().setShutdownPrivilegeGranted(false);
    EXPECT_FALSE(sessionService().enableShutdownPrivilege());
    auto requests = desktop().sessionRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].kind, Headless::SessionRecord::Kind::EnableShutdownPrivilege);
    EXPECT_EQ(requests[1].kind, Headless::SessionRecord::Kind::ExitSystem);
    EXPECT_EQ(requests[1].flags, EWX_REBOOT);
}

TEST_F(HeadlessDesktopTest, WindowsKeepTheirPresentedPixelsAndForeground) {
    WindowDescription description;
    description.title = u"pixels";
    description.bounds = Rect{0, 0, 2, 1};
    description.style = WS_POPUP | WS_VISIBLE;
    const WindowHandle window = windowService().create(description);
    ASSERT_NE(window, WindowHandle::None);
    EXPECT_TRUE(windowService().isVisible(window));
    EXPECT_FALSE(desktop().presentPixels(window, 2, 2, {1, 2, 3}));
    EXPECT_TRUE(desktop().presentPixels(window, 2, 1, {0x80FF0000u, 0xFF00FF00u}));
    auto state = desktop().window(window);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->pixelWidth, 2);
    EXPECT_EQ(state->pixels, (std::vector<std::uint32_t>{0x80FF0000u, 0xFF00FF00u}));
    EXPECT_TRUE(windowService().setForeground(window));
    EXPECT_EQ(desktop().foregroundWindow(), window);
    EXPECT_EQ(desktop().zOrder().front(), window);
    windowService().destroy(window);
    EXPECT_EQ(desktop().foregroundWindow(), WindowHandle::None);
}

TEST_F(HeadlessDesktopTest, InputShapeCursorAndKeysReachTheDesktop) {
    WindowDescription description;
    description.bounds = Rect{100, 50, 104, 52};
    description.exStyle = WS_EX_LAYERED;
    const WindowHandle window = windowService().create(description);
    ASSERT_NE(window, WindowHandle::None);
    EXPECT_TRUE(desktop().takesClickAt(window, {103, 51})) << "no shape yet: the whole window";
    auto surface = createDibSection(4, 2);
    ASSERT_TRUE(surface);
    surface->bits()[1] = 0xFF000000u;      // (1, 0)
    surface->bits()[4 + 3] = 0x01000000u;  // (3, 1): faint still counts
    ASSERT_TRUE(windowService().setInputShapeFromAlpha(window, *surface, 4, 2));
    EXPECT_TRUE(desktop().takesClickAt(window, {101, 50}));
    EXPECT_TRUE(desktop().takesClickAt(window, {103, 51}));
    EXPECT_FALSE(desktop().takesClickAt(window, {100, 50}));
    EXPECT_FALSE(desktop().takesClickAt(window, {102, 51}));
    EXPECT_FALSE(desktop().takesClickAt(window, {101, 52})) << "outside the window";

    const auto cursor = createCursor(CursorPixels{1, 1, 0, 0, {0xFF000000u}});
    ASSERT_TRUE(cursor);
    EXPECT_TRUE(windowService().setCursor(cursor.get()));
    EXPECT_EQ(desktop().currentCursor(), cursor.get());
    EXPECT_TRUE(windowService().setCursor(nullptr));
    EXPECT_EQ(desktop().currentCursor(), nullptr);

    desktop().setKeyDown(VK_RBUTTON, true);
    EXPECT_TRUE(windowService().isKeyDown(VK_RBUTTON));
    EXPECT_FALSE(windowService().isKeyDown(VK_LBUTTON));

    EXPECT_TRUE(windowService().setCapture(window));
    EXPECT_EQ(desktop().captureWindow(), window);
    windowService().destroy(window);
    EXPECT_EQ(desktop().captureWindow(), WindowHandle::None) << "a destroyed window keeps no capture";
}

TEST_F(HeadlessDesktopTest, RefusingCreateAnswersNoWindow) {
    WindowDescription description;
    description.procedure = [](WindowHandle, std::uint32_t message, std::uintptr_t,
                               std::intptr_t) -> std::optional<std::intptr_t> {
        if (message == WM_CREATE) return -1;
        return std::nullopt;
    };
    EXPECT_EQ(windowService().create(description), WindowHandle::None);
    EXPECT_TRUE(desktop().zOrder().empty());
}
