// Windows and message loops, on every backend of the build.
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "framework/Platform/DibSection.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/Window.h"
#include "framework/Threading/Event.h"
#include "support/BackendTest.h"

using namespace Arbor::Platform;

namespace {

class WindowTest : public Testing::BackendTest {
protected:
    void TearDown() override {
        for (WindowHandle window : created_) windowService().destroy(window);
        Testing::BackendTest::TearDown();
    }
    WindowHandle make(std::u16string title, Rect bounds = {10, 20, 110, 70}, std::uint32_t exStyle = 0,
                      WindowProcedure procedure = {}, WindowHandle owner = WindowHandle::None) {
        WindowDescription description;
        description.className = u"ArborTestWindow";
        description.title = std::move(title);
        description.bounds = bounds;
        description.style = WS_POPUP;
        description.exStyle = exStyle;
        description.owner = owner;
        description.procedure = std::move(procedure);
        WindowHandle window = windowService().create(description);
        if (window != WindowHandle::None) created_.push_back(window);
        return window;
    }
    // Index of a window in the desktop's z-order (topmost first).
    static std::ptrdiff_t rank(WindowHandle window) {
        auto all = windowService().topLevelWindows();
        return std::find(all.begin(), all.end(), window) - all.begin();
    }
    std::vector<WindowHandle> created_;
};

}  // namespace

TEST_P(WindowTest, CreateKeepsTitleBoundsAndStyles) {
    WindowHandle window = make(u"タヴィゾー_Object_Window", {10, 20, 110, 70}, WS_EX_TOOLWINDOW);
    ASSERT_NE(window, WindowHandle::None);
    auto& windows = windowService();
    EXPECT_TRUE(windows.exists(window));
    EXPECT_EQ(windows.title(window), u"タヴィゾー_Object_Window");
    EXPECT_EQ(windows.title(window, 5), u"タヴィゾー");
    auto bounds = windows.bounds(window);
    ASSERT_TRUE(bounds);
    EXPECT_EQ(*bounds, (Rect{10, 20, 110, 70}));
    EXPECT_NE(windows.exStyle(window) & WS_EX_TOOLWINDOW, 0u);
    EXPECT_FALSE(windows.isVisible(window));

    EXPECT_TRUE(windows.setTitle(window, u"renamed"));
    EXPECT_EQ(windows.title(window), u"renamed");
    EXPECT_TRUE(windows.setBounds(window, {-30, 5, 70, 105}));
    EXPECT_EQ(*windows.bounds(window), (Rect{-30, 5, 70, 105}));
    EXPECT_TRUE(windows.show(window, true));
    EXPECT_TRUE(windows.isVisible(window));
    EXPECT_TRUE(windows.show(window, false));
    EXPECT_FALSE(windows.isVisible(window));
}

TEST_P(WindowTest, EnumerationFindsTitledWindowsOfThisProcess) {
    WindowHandle a = make(u"ArborEnumA");
    WindowHandle b = make(u"ArborEnumB");
    ASSERT_NE(a, WindowHandle::None);
    ASSERT_NE(b, WindowHandle::None);
    auto titles = windowService().topLevelTitles();
    EXPECT_EQ(std::count(titles.begin(), titles.end(), u"ArborEnumA"), 1);
    EXPECT_EQ(std::count(titles.begin(), titles.end(), u"ArborEnumB"), 1);
    const std::uint32_t me = windowService().processIdOf(a);
    EXPECT_NE(me, 0u);
    WindowHandle first = windowService().firstTopLevelWindowOf(me);
    EXPECT_NE(first, WindowHandle::None);
    EXPECT_EQ(windowService().processIdOf(first), me);
}

TEST_P(WindowTest, DestroyRemovesTheWindowAndItsOwnedWindows) {
    std::atomic<int> destroyed{0};
    WindowProcedure counting = [&](WindowHandle, std::uint32_t message, std::uintptr_t,
                                   std::intptr_t) -> std::optional<std::intptr_t> {
        if (message == WM_DESTROY) ++destroyed;
        return std::nullopt;
    };
    WindowHandle owner = make(u"ArborOwner", {0, 0, 10, 10}, 0, counting);
    WindowHandle owned = make(u"ArborOwned", {0, 0, 10, 10}, 0, counting, owner);
    ASSERT_NE(owned, WindowHandle::None);
    EXPECT_EQ(windowService().owner(owned), owner);
    EXPECT_TRUE(windowService().destroy(owner));
    EXPECT_FALSE(windowService().exists(owner));
    EXPECT_FALSE(windowService().exists(owned));
    EXPECT_EQ(destroyed.load(), 2);
    EXPECT_EQ(windowService().title(owner), u"");
    EXPECT_FALSE(windowService().destroy(owner));
}

TEST_P(WindowTest, ZOrderBandsAndPlacement) {
    auto& windows = windowService();
    WindowHandle a = make(u"ArborZA");
    WindowHandle b = make(u"ArborZB");
    ASSERT_NE(b, WindowHandle::None);
    ASSERT_TRUE(windows.setZOrder(a, ZOrder::Top));
    EXPECT_LT(rank(a), rank(b));
    ASSERT_TRUE(windows.placeBelow(a, b));
    EXPECT_LT(rank(b), rank(a));

    ASSERT_TRUE(windows.setZOrder(a, ZOrder::Topmost));
    EXPECT_TRUE(windows.isTopmost(a));
    EXPECT_NE(windows.exStyle(a) & WS_EX_TOPMOST, 0u);
    ASSERT_TRUE(windows.setZOrder(b, ZOrder::Top));
    EXPECT_LT(rank(a), rank(b)) << "a plain window stays below the topmost band";

    // Topmost and at once not topmost again: the raise used for launched programs.
    ASSERT_TRUE(windows.setZOrder(a, ZOrder::NoTopmost));
    EXPECT_FALSE(windows.isTopmost(a));
    EXPECT_EQ(windows.exStyle(a) & WS_EX_TOPMOST, 0u);
    ASSERT_TRUE(windows.setZOrder(b, ZOrder::Bottom));
    EXPECT_LT(rank(a), rank(b));
}

TEST_P(WindowTest, PostedMessagesArriveInOrderThroughTheLoop) {
    std::vector<std::uint32_t> seen;
    WindowHandle window = make(u"ArborQueue", {0, 0, 10, 10}, 0,
                               [&](WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t) -> std::optional<std::intptr_t> {
                                   if (message >= WM_APP) {
                                       seen.push_back(message + static_cast<std::uint32_t>(wParam));
                                       return 0;
                                   }
                                   return std::nullopt;
                               });
    ASSERT_NE(window, WindowHandle::None);
    auto& queue = messageQueueService();
    ASSERT_TRUE(queue.postMessage(window, WM_APP + 1, 0, 0));
    ASSERT_TRUE(queue.postMessage(window, WM_APP + 2, 10, 0));
    queue.postQuitMessage(7);
    Message message;
    int result;
    while ((result = queue.getMessage(message)) > 0) {
        queue.translateMessage(message);
        queue.dispatchMessage(message);
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{WM_APP + 1, WM_APP + 12}));
}

TEST_P(WindowTest, SendFromAnotherThreadRunsOnTheOwningThread) {
    auto& queue = messageQueueService();
    const ThreadId owner = queue.currentThreadId();
    std::atomic<ThreadId> handledOn{0};
    WindowHandle window = make(u"ArborSend", {0, 0, 10, 10}, 0,
                               [&](WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam) -> std::optional<std::intptr_t> {
                                   if (message != WM_APP + 6) return std::nullopt;
                                   handledOn = messageQueueService().currentThreadId();
                                   return static_cast<std::intptr_t>(wParam) + lParam;
                               });
    ASSERT_NE(window, WindowHandle::None);
    // Direct send on the owning thread.
    EXPECT_EQ(queue.sendMessage(window, WM_APP + 6, 1, 2), 3);
    std::atomic<std::intptr_t> answer{0};
    std::thread sender([&] {
        answer = messageQueueService().sendMessage(window, WM_APP + 6, 12, 30);
        messageQueueService().postThreadMessage(owner, WM_QUIT, 0, 0);
    });
    Message message;
    while (queue.getMessage(message) > 0) queue.dispatchMessage(message);
    sender.join();
    EXPECT_EQ(answer.load(), 42);
    EXPECT_EQ(handledOn.load(), owner);
}

TEST_P(WindowTest, CloseMessageDestroysByDefault) {
    WindowHandle window = make(u"ArborClose");
    ASSERT_NE(window, WindowHandle::None);
    auto& queue = messageQueueService();
    ASSERT_TRUE(queue.postMessage(window, WM_CLOSE, 0, 0));
    Message message;
    while (queue.peekMessage(message)) queue.dispatchMessage(message);
    EXPECT_FALSE(windowService().exists(window));
    EXPECT_FALSE(queue.postMessage(window, WM_APP, 0, 0));
}

TEST_P(WindowTest, ThreadTimerCallsBackThroughTheLoop) {
    auto& queue = messageQueueService();
    int calls = 0;
    const TimerId timer = queue.setTimer(10, [&] {
        if (++calls == 3) queue.postQuitMessage(0);
    });
    ASSERT_NE(timer, 0u);
    Message message;
    while (queue.getMessage(message) > 0) queue.dispatchMessage(message);
    EXPECT_TRUE(queue.killTimer(timer));
    EXPECT_EQ(calls, 3);
    EXPECT_FALSE(queue.killTimer(timer));
}

TEST_P(WindowTest, WaitMessageTimesOutOnAnEmptyQueue) {
    auto& queue = messageQueueService();
    Message message;
    while (queue.peekMessage(message)) {
    }
    EXPECT_FALSE(queue.waitMessage(20));
    ASSERT_TRUE(queue.postThreadMessage(queue.currentThreadId(), WM_APP + 3, 0, 0));
    EXPECT_TRUE(queue.waitMessage(1000));
    ASSERT_TRUE(queue.peekMessage(message));
    EXPECT_EQ(message.message, WM_APP + 3);
    EXPECT_EQ(message.window, WindowHandle::None);
}

TEST_P(WindowTest, LayeredPresentShowsTheSurfaceAtItsBounds) {
    auto& windows = windowService();
    WindowHandle layered = make(u"ArborLayered", {0, 0, 10, 10}, WS_EX_LAYERED | WS_EX_TOOLWINDOW);
    WindowHandle plain = make(u"ArborPlain");
    ASSERT_NE(plain, WindowHandle::None);
    auto surface = createDibSection(8, 6);
    ASSERT_TRUE(surface);
    for (int i = 0; i < 8 * 6; ++i) surface->bits()[i] = 0x80000000u | std::uint32_t(i);  // premultiplied

    ASSERT_TRUE(windows.presentLayered(layered, *surface, {30, 40, 34, 43}, 200));
    EXPECT_EQ(*windows.bounds(layered), (Rect{30, 40, 34, 43}));
    // Only a layered window takes a layered picture; the size must fit the surface.
    EXPECT_FALSE(windows.presentLayered(plain, *surface, {0, 0, 4, 3}, 255));
    EXPECT_FALSE(windows.presentLayered(layered, *surface, {0, 0, 9, 6}, 255));
    EXPECT_FALSE(windows.presentLayered(layered, *surface, {5, 5, 5, 8}, 255));
    EXPECT_EQ(*windows.bounds(layered), (Rect{30, 40, 34, 43}));
    EXPECT_TRUE(windows.setInputShapeFromAlpha(layered, *surface, 8, 6));
    EXPECT_FALSE(windows.setInputShapeFromAlpha(layered, *surface, 8, 7));
    if (isHeadless()) {
        const auto state = Headless::HeadlessDesktop::instance().window(layered);
        ASSERT_TRUE(state);
        EXPECT_EQ(state->pixelWidth, 4);
        EXPECT_EQ(state->pixelHeight, 3);
        ASSERT_EQ(state->pixels.size(), 12u);
        EXPECT_EQ(state->pixels[1 * 4 + 2], 0x80000000u | (1 * 8 + 2)) << "rows of the surface's own width";
        EXPECT_TRUE(state->premultiplied);
        EXPECT_EQ(state->opacity, 200);
    }
}

TEST_P(WindowTest, CaptureMovesBetweenWindowsAndTellsTheOneLosingIt) {
    std::vector<std::pair<WindowHandle, std::intptr_t>> changes;
    WindowProcedure recording = [&](WindowHandle window, std::uint32_t message, std::uintptr_t,
                                    std::intptr_t lParam) -> std::optional<std::intptr_t> {
        if (message == WM_CAPTURECHANGED) changes.emplace_back(window, lParam);
        return std::nullopt;
    };
    auto& windows = windowService();
    WindowHandle a = make(u"ArborCaptureA", {0, 0, 10, 10}, 0, recording);
    WindowHandle b = make(u"ArborCaptureB", {0, 0, 10, 10}, 0, recording);
    ASSERT_NE(b, WindowHandle::None);
    windows.show(a, true);
    windows.show(b, true);
    ASSERT_TRUE(windows.setCapture(a));
    EXPECT_EQ(windows.capture(), a);
    ASSERT_TRUE(windows.setCapture(b));
    EXPECT_EQ(windows.capture(), b);
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.front().first, a);
    EXPECT_EQ(changes.front().second, static_cast<std::intptr_t>(b));
    EXPECT_TRUE(windows.releaseCapture());
    EXPECT_EQ(windows.capture(), WindowHandle::None);
    EXPECT_EQ(changes.back().first, b);
    EXPECT_FALSE(windows.isKeyDown(VK_LBUTTON)) << "no button is pressed during the test";
}

TAVIZO_INSTANTIATE_FOR_BACKENDS(WindowTest);
