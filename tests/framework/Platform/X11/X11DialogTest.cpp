// Message boxes, the work area and the foreground window of the X11 backend on a real
// server (run by run-on-private-display with openbox). Without that session every test
// skips.
#if defined(TAVIZO_HAS_X11)
#include <chrono>
#include <cstdlib>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "framework/Platform/Backend.h"
#include "framework/Platform/Folders.h"
#include "framework/Platform/MessageBox.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/Process.h"
#include "framework/Platform/Screen.h"
#include "framework/Platform/Window.h"
#include "framework/Platform/X11/X11Readback.h"

using namespace Arbor::Platform;
namespace Probe = Arbor::Platform::X11::Inspection;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::uint32_t kFocusRing = 0x0060C0;  // the focused button's frame

bool waitFor(const std::function<bool()>& done, int milliseconds = 10000) {
    const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (Clock::now() > end) return false;
        Message message;
        while (messageQueueService().peekMessage(message)) messageQueueService().dispatchMessage(message);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

bool runTool(const std::u16string& commandLine) {
    ProcessHandle process;
    if (!processService().createProcess(u"", commandLine, process)) return false;
    const bool ended = processService().waitForProcess(process, 5000) == ProcessService::Ended;
    std::uint32_t code = 1;
    processService().exitCode(process, code);
    processService().closeProcess(process);
    return ended && code == 0;
}

WindowHandle windowTitled(const std::u16string& title) {
    for (WindowHandle window : windowService().topLevelWindows()) {
        if (windowService().title(window) == title) return window;
    }
    return WindowHandle::None;
}

class X11DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("TAVIZO_TEST_COMPOSITOR")) GTEST_SKIP() << "runs under run-on-private-display";
        if (!selectBackend("X11") || !isBackendAvailable("X11")) GTEST_SKIP() << "no X display";
        ASSERT_TRUE(waitFor([] { return Probe::windowManagerRunning(); }));
    }
};

// A box shown on its own thread, and what the test sees of it.
struct OpenBox {
    std::future<int> answer;
    WindowHandle window = WindowHandle::None;
    Rect bounds;
    std::vector<std::uint32_t> pixels;
};

OpenBox openBox(const std::u16string& caption, const std::u16string& text, std::uint32_t type,
                std::function<void()> before = {}) {
    OpenBox box;
    box.answer = std::async(std::launch::async, [=] {
        if (before) before();
        return messageBoxService().show(WindowHandle::None, text, caption, type);
    });
    if (!waitFor([&] { return (box.window = windowTitled(caption)) != WindowHandle::None; })) return box;
    // Up, focused and painted: the focus ring shows once the picture is there.
    waitFor([&] {
        const auto b = windowService().bounds(box.window);
        if (!b || !Probe::isViewable(box.window) || Probe::focusWindow() != box.window) return false;
        box.bounds = *b;
        box.pixels = Probe::windowPixels(box.window, b->width(), b->height());
        for (std::uint32_t p : box.pixels) {
            if ((p & 0xFFFFFF) == kFocusRing) return true;
        }
        return false;
    });
    return box;
}

// The box of pixels of one colour; empty when none.
Rect extentOf(const OpenBox& box, std::uint32_t colour) {
    Rect r{1 << 20, 1 << 20, -1, -1};
    const int width = box.bounds.width();
    for (std::size_t i = 0; i < box.pixels.size(); ++i) {
        if ((box.pixels[i] & 0xFFFFFF) != colour) continue;
        const int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
        r = Rect{std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
    }
    return r.right < 0 ? Rect{} : r;
}

int answerOf(OpenBox& box) {
    if (box.answer.wait_for(std::chrono::seconds(10)) != std::future_status::ready) return -1;
    return box.answer.get();
}

}  // namespace

TEST_F(X11DialogTest, MessageBoxIsACentredDialogWithItsTextDrawn) {
    OpenBox box = openBox(u"Tavizo box one", u"Something happened.\nThis line is the second.", MB_OKCANCEL);
    ASSERT_NE(box.window, WindowHandle::None) << "no box came up";
    ASSERT_FALSE(box.pixels.empty()) << "the box never took the focus with its picture";
    // Dark text on the light face, in the upper part (the buttons are below it).
    int dark = 0;
    const int width = box.bounds.width();
    for (int y = 0; y < box.bounds.height() / 2; ++y)
        for (int x = 0; x < width; ++x)
            if ((box.pixels[static_cast<std::size_t>(y * width + x)] & 0xFF) < 0x40) ++dark;
    EXPECT_GT(dark, 100) << "no text pixels";
    // Centred on the primary monitor (the manager's frame may shift it a little).
    const Rect monitor = screenService().metrics().virtualScreen;
    const Point position = Probe::screenPosition(box.window).value_or(Point{});
    EXPECT_NEAR(position.x + width / 2, (monitor.left + monitor.right) / 2, 40);
    EXPECT_NEAR(position.y + box.bounds.height() / 2, (monitor.top + monitor.bottom) / 2, 40);
    // The focus is on the first button: Enter answers OK.
    const Rect ring = extentOf(box, kFocusRing);
    EXPECT_LT(ring.right, width * 3 / 4) << "the focus should be on OK, the left button";
    ASSERT_TRUE(Probe::pressKey("Return"));
    EXPECT_EQ(answerOf(box), IDOK);
    EXPECT_TRUE(waitFor([&] { return !windowService().exists(box.window); }));
}

TEST_F(X11DialogTest, EscapeAndTabAndClicksGiveTheAnswersOfTheSystem) {
    {
        OpenBox box = openBox(u"Tavizo box two", u"Cancel me.", MB_OKCANCEL);
        ASSERT_FALSE(box.pixels.empty());
        ASSERT_TRUE(Probe::pressKey("Escape"));
        EXPECT_EQ(answerOf(box), IDCANCEL);
    }
    {
        OpenBox box = openBox(u"Tavizo box three", u"Yes or no?", MB_YESNO);
        ASSERT_FALSE(box.pixels.empty());
        ASSERT_TRUE(Probe::pressKey("Tab"));  // to No
        ASSERT_TRUE(Probe::pressKey("Return"));
        EXPECT_EQ(answerOf(box), IDNO);
    }
    {
        OpenBox box = openBox(u"Tavizo box four", u"Click yes.", MB_YESNO | MB_ICONQUESTION);
        ASSERT_FALSE(box.pixels.empty());
        const Rect yes = extentOf(box, kFocusRing);
        ASSERT_GT(yes.width(), 10);
        const Point origin = Probe::screenPosition(box.window).value_or(Point{});
        ASSERT_TRUE(Probe::click(origin.x + (yes.left + yes.right) / 2, origin.y + (yes.top + yes.bottom) / 2));
        EXPECT_EQ(answerOf(box), IDYES);
    }
    {
        // A click outside the buttons answers nothing; Escape on Yes/No answers No.
        OpenBox box = openBox(u"Tavizo box five", u"Escape says no.", MB_YESNO);
        ASSERT_FALSE(box.pixels.empty());
        const Point origin = Probe::screenPosition(box.window).value_or(Point{});
        ASSERT_TRUE(Probe::click(origin.x + 4, origin.y + 4));
        EXPECT_EQ(box.answer.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);
        ASSERT_TRUE(Probe::pressKey("Escape"));
        EXPECT_EQ(answerOf(box), IDNO);
    }
}

TEST_F(X11DialogTest, TheBoxServesItsThreadsSentMessages) {
    // A window of the box's thread answers a message sent from here while the box waits.
    std::promise<WindowHandle> made;
    auto windowFuture = made.get_future();
    OpenBox box = openBox(u"Tavizo box six", u"Still serving.", MB_OK, [&made] {
        WindowDescription description;
        description.title = u"Tavizo box helper";
        description.bounds = {0, 0, 10, 10};
        description.style = WS_POPUP;
        description.procedure = [](WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t) -> std::optional<std::intptr_t> {
            if (message == WM_USER + 7) return static_cast<std::intptr_t>(wParam * 2);
            return std::nullopt;
        };
        made.set_value(windowService().create(description));
    });
    ASSERT_FALSE(box.pixels.empty());
    const WindowHandle helper = windowFuture.get();
    ASSERT_NE(helper, WindowHandle::None);
    EXPECT_EQ(messageQueueService().sendMessage(helper, WM_USER + 7, 21, 0), 42);
    ASSERT_TRUE(Probe::pressKey("Escape"));  // OK alone: Escape answers OK
    EXPECT_EQ(answerOf(box), IDOK);
    windowService().destroy(helper);
}

TEST_F(X11DialogTest, WorkAreaIsTheManagersOnThePrimaryMonitor) {
    const ScreenMetrics metrics = screenService().metrics();
    const Rect primary{0, 0, metrics.primaryWidth, metrics.primaryHeight};
    // A panel along the top, as the manager would announce it.
    ASSERT_TRUE(runTool(u"xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA 0,30,2560,994"));
    EXPECT_TRUE(waitFor([&] { return screenService().workArea() == Rect{0, 30, 2560, 1024}; }))
        << screenService().workArea().top;
    // A work area larger than the monitor is cut to it.
    ASSERT_TRUE(runTool(u"xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA 0,0,5000,5000"));
    EXPECT_TRUE(waitFor([&] { return screenService().workArea() == primary; }));
    // Without the manager's word, the primary monitor.
    ASSERT_TRUE(runTool(u"xprop -root -remove _NET_WORKAREA"));
    EXPECT_TRUE(waitFor([&] { return screenService().workArea() == primary; }));
}

TEST_F(X11DialogTest, ForegroundWindowAndItsProgram) {
    WindowDescription description;
    description.title = u"Tavizo foreground";
    description.bounds = {200, 200, 400, 300};
    description.style = WS_POPUP | WS_CAPTION;
    const WindowHandle window = windowService().create(description);
    ASSERT_NE(window, WindowHandle::None);
    windowService().show(window, true, true);
    EXPECT_TRUE(waitFor([&] { return windowService().foregroundWindow() == window; }));
    const std::uint32_t pid = windowService().processIdOf(window);
    EXPECT_EQ(pid, processService().currentProcessId());
    const std::u16string program = processService().executablePath(pid);
    EXPECT_EQ(program, folderService().executablePath());
    EXPECT_TRUE(processService().executablePath(0).empty());
    windowService().destroy(window);

    // Another program's window: its process comes from the window's _NET_WM_PID, which
    // this program (of the toolkit that draws it) leaves out, so the test sets it as a
    // client of the conventions would.
    ProcessHandle other;
    ASSERT_TRUE(processService().createProcess(u"", u"xlogo -title TavizoOther", other));
    const std::string id = std::to_string(other.id);
    const std::u16string pid16(id.begin(), id.end());
    EXPECT_TRUE(waitFor([&] { return windowTitled(u"TavizoOther") != WindowHandle::None; }));
    ASSERT_TRUE(runTool(u"xprop -name TavizoOther -f _NET_WM_PID 32c -set _NET_WM_PID " + pid16));
    WindowHandle foreign = WindowHandle::None;
    EXPECT_TRUE(waitFor([&] {
        foreign = windowService().foregroundWindow();
        return foreign != WindowHandle::None && windowService().processIdOf(foreign) == other.id;
    })) << "the other program's window never became the foreground with its process id";
    EXPECT_EQ(windowService().title(foreign), u"TavizoOther");
    EXPECT_EQ(processService().executablePath(other.id), u"\\usr\\bin\\xlogo");
    runTool(u"kill " + pid16);
    processService().waitForProcess(other, 5000);
    processService().closeProcess(other);
}

#endif  // TAVIZO_HAS_X11
