// The X11 backend on a real server: run by run-on-private-display, which starts Xvfb and
// openbox and, in the composited run, a compositing manager. Without a display every
// test skips.
// Builds without the X11 backend compile nothing here.
#if defined(TAVIZO_HAS_X11)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "framework/Platform/Backend.h"
#include "framework/Platform/Clipboard.h"
#include "framework/Platform/Foreground.h"
#include "framework/Platform/KeyInput.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/Posix/DesktopEntry.h"
#include "framework/Platform/Posix/PosixSpawn.h"
#include "framework/Platform/Cursor.h"
#include "framework/Platform/DibSection.h"
#include "framework/Platform/InputShape.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/Process.h"
#include "framework/Platform/Screen.h"
#include "framework/Platform/Window.h"
#include "framework/Platform/X11/X11Readback.h"
#include "framework/Text/Utf.h"
#include "support/BackendTest.h"

using namespace Arbor::Platform;
namespace Probe = Arbor::Platform::X11::Inspection;
using Clock = std::chrono::steady_clock;

namespace {

bool composited() {
    const char* flag = std::getenv("TAVIZO_TEST_COMPOSITOR");
    return flag && std::string(flag) == "1";
}

// Handles this thread's messages until the condition holds or the time is up.
bool pumpUntil(const std::function<bool()>& done, int milliseconds = 10000) {
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

bool runTool(const std::u16string& commandLine) {
    ProcessHandle process;
    if (!processService().createProcess(u"", commandLine, process)) return false;
    const bool ended = processService().waitForProcess(process, 5000) == ProcessService::Ended;
    std::uint32_t code = 1;
    processService().exitCode(process, code);
    processService().closeProcess(process);
    return ended && code == 0;
}

struct Recorded {
    WindowHandle window;
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

class X11DesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A display of the machine's own may lack the window manager these tests need.
        if (!std::getenv("TAVIZO_TEST_COMPOSITOR")) GTEST_SKIP() << "runs under run-on-private-display";
        if (!selectBackend("X11") || !isBackendAvailable("X11")) GTEST_SKIP() << "no X display";
        ASSERT_TRUE(Probe::connected());
        // The session script starts the manager and the compositor beside the test.
        ASSERT_TRUE(pumpUntil([] { return Probe::windowManagerRunning(); })) << "no window manager came up";
        if (composited()) {
            ASSERT_TRUE(pumpUntil([] { return Probe::compositorRunning(); })) << "no compositor came up";
        }
    }
    void TearDown() override {
        for (WindowHandle window : windows_) windowService().destroy(window);
    }

    WindowHandle makeLayered(Rect bounds, std::vector<Recorded>* log = nullptr, bool topmost = true) {
        WindowDescription description;
        description.title = u"ArborX11Test";
        description.bounds = bounds;
        description.style = WS_POPUP;
        description.exStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW | (topmost ? WS_EX_TOPMOST : 0);
        if (log) {
            description.procedure = [log](WindowHandle w, std::uint32_t m, std::uintptr_t wp,
                                          std::intptr_t lp) -> std::optional<std::intptr_t> {
                log->push_back(Recorded{w, m, wp, lp});
                return std::nullopt;
            };
        }
        WindowHandle window = windowService().create(description);
        if (window != WindowHandle::None) windows_.push_back(window);
        return window;
    }

    // Shows the window with the surface and waits until the server shows it.
    static bool present(WindowHandle window, const DibSection& surface, Rect bounds) {
        // As a layered widget presents: the picture, then the input shape from its alpha.
        if (!windowService().presentLayered(window, surface, bounds, 255)) return false;
        windowService().setInputShapeFromAlpha(window, surface, bounds.width(), bounds.height());
        windowService().show(window, true);
        return pumpUntil([&] { return Probe::isViewable(window); });
    }

    // What each window's procedure saw; kept until the windows are gone.
    std::vector<Recorded>& newLog() { return logs_.emplace_back(); }

    std::deque<std::vector<Recorded>> logs_;
    std::vector<WindowHandle> windows_;
};

// A picture with straight edges, a hole and soft pixels: premultiplied ARGB.
std::unique_ptr<DibSection> pattern(int size) {
    auto surface = createDibSection(size, size);
    std::uint32_t* p = surface->bits();
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int dx = x - size / 2, dy = y - size / 2;
            const int r2 = dx * dx + dy * dy;
            std::uint32_t value = 0;
            if (r2 < (size / 2) * (size / 2) && r2 > (size / 8) * (size / 8)) {
                const std::uint32_t a = (x % 7 == 0) ? 0x80 : 0xFF;  // soft columns
                value = (a << 24) | ((std::uint32_t(x) * a / 255) << 16) | ((std::uint32_t(y) * a / 255) << 8) |
                        ((a / 2) & 0xFF);
            }
            p[y * size + x] = value;
        }
    }
    return surface;
}

}  // namespace

TEST_F(X11DesktopTest, PresentedPixelsReadBackExactlyAtTheAskedPlace) {
    if (!composited()) GTEST_SKIP() << "needs the composited session";
    constexpr int size = 256;
    auto surface = pattern(size);
    // Partly off-screen on the left: the manager must keep the asked place.
    const Rect bounds{-40, 100, -40 + size, 100 + size};
    WindowHandle window = makeLayered(bounds);
    ASSERT_NE(window, WindowHandle::None);
    ASSERT_TRUE(present(window, *surface, bounds));
    EXPECT_EQ(Probe::windowDepth(window), 32);
    EXPECT_TRUE(Probe::presentsFromSharedMemory(*surface));
    ASSERT_TRUE(pumpUntil([&] { return Probe::screenPosition(window) == Point{-40, 100}; }))
        << "placed at " << Probe::screenPosition(window).value_or(Point{}).x << ","
        << Probe::screenPosition(window).value_or(Point{}).y;

    const std::vector<std::uint32_t> shown = Probe::windowPixels(window, size, size);
    ASSERT_EQ(shown.size(), std::size_t(size * size));
    EXPECT_TRUE(std::equal(shown.begin(), shown.end(), surface->bits()));
    const auto input = Probe::shapeRectangles(window, true);
    EXPECT_EQ(input, opaqueRegion(surface->bits(), size, size, size));

    // How long one present takes (the input shape is the separate call).
    std::vector<double> times;
    for (int i = 0; i < 30; ++i) {
        const auto start = Clock::now();
        ASSERT_TRUE(windowService().presentLayered(window, *surface, bounds, 255));
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    const auto regionStart = Clock::now();
    for (int i = 0; i < 100; ++i) (void)opaqueRegion(surface->bits(), size, size, size);
    const double regionMs = std::chrono::duration<double, std::milli>(Clock::now() - regionStart).count() / 100;
    std::printf("present 256x256: median %.3f ms; input shape %zu rectangles made in %.3f ms\n",
                times[times.size() / 2], input.size(), regionMs);
}

TEST_F(X11DesktopTest, SurfacesOutsideSharedMemoryAreSentWhole) {
    if (!composited()) GTEST_SKIP() << "needs the composited session";
    // A surface of plain memory (as where shared memory is refused) takes the path
    // that sends the pixels in the request.
    constexpr int size = 48;
    std::unique_ptr<DibSection> plain;
    {
        Testing::BackendScope headless("Headless");
        plain = pattern(size);
    }
    selectBackend("X11");
    const Rect bounds{700, 100, 700 + size, 100 + size};
    WindowHandle window = makeLayered(bounds);
    ASSERT_TRUE(present(window, *plain, bounds));
    EXPECT_FALSE(Probe::presentsFromSharedMemory(*plain));
    const auto shown = Probe::windowPixels(window, size, size);
    ASSERT_EQ(shown.size(), std::size_t(size * size));
    EXPECT_TRUE(std::equal(shown.begin(), shown.end(), plain->bits()));
}

TEST_F(X11DesktopTest, ClicksPassThroughTransparentPixelsOnly) {
    if (!composited()) GTEST_SKIP() << "needs the composited session";
    constexpr int size = 100;
    const Rect bounds{300, 300, 300 + size, 300 + size};
    auto below = createDibSection(size, size);
    std::fill(below->bits(), below->bits() + size * size, 0xFF204080u);
    auto above = createDibSection(size, size);  // left half opaque, right half clear
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size / 2; ++x) above->bits()[y * size + x] = 0xFF808080u;

    std::vector<Recorded>& belowLog = newLog();
    std::vector<Recorded>& aboveLog = newLog();
    // The window manager raises a window that is clicked; the topmost band keeps the
    // upper window above the lower one all the same.
    WindowHandle lower = makeLayered(bounds, &belowLog, false);
    ASSERT_TRUE(present(lower, *below, bounds));
    WindowHandle upper = makeLayered(bounds, &aboveLog);
    ASSERT_TRUE(present(upper, *above, bounds));
    // The manager gives its frame the window's input shape a moment after mapping.
    const auto region = opaqueRegion(above->bits(), size, size, size);
    ASSERT_TRUE(pumpUntil([&] { return Probe::frameInputShape(upper) == region; }));

    auto downs = [](const std::vector<Recorded>& log, std::uint32_t message) {
        return std::count_if(log.begin(), log.end(), [&](const Recorded& r) { return r.message == message; });
    };
    ASSERT_TRUE(Probe::click(300 + 75, 300 + 50));
    ASSERT_TRUE(pumpUntil([&] { return downs(belowLog, WM_LBUTTONDOWN) == 1; })) << "the window below got nothing";
    EXPECT_EQ(downs(aboveLog, WM_LBUTTONDOWN), 0);

    ASSERT_TRUE(Probe::click(300 + 25, 300 + 50));
    ASSERT_TRUE(pumpUntil([&] { return downs(aboveLog, WM_LBUTTONUP) == 1; })) << "the opaque pixel let the click by";
    EXPECT_EQ(downs(belowLog, WM_LBUTTONDOWN), 1);
    auto press = std::find_if(aboveLog.begin(), aboveLog.end(), [](const Recorded& r) { return r.message == WM_LBUTTONDOWN; });
    ASSERT_NE(press, aboveLog.end());
    EXPECT_EQ(pointParamX(press->lParam), 25);
    EXPECT_EQ(pointParamY(press->lParam), 50);
    EXPECT_EQ(press->wParam & 1u, 1u);  // the left button is down
    EXPECT_GE(downs(aboveLog, WM_SETCURSOR), 1);

    // A second press soon after on the same spot is a double click.
    ASSERT_TRUE(Probe::click(300 + 25, 300 + 50));
    EXPECT_TRUE(pumpUntil([&] { return downs(aboveLog, WM_LBUTTONDBLCLK) == 1; }));
}

TEST_F(X11DesktopTest, WithoutCompositorTheWindowIsCutToItsAlpha) {
    if (composited()) GTEST_SKIP() << "needs the session without a compositor";
    constexpr int size = 64;
    auto surface = pattern(size);
    const Rect bounds{50, 50, 50 + size, 50 + size};
    WindowHandle window = makeLayered(bounds);
    ASSERT_NE(window, WindowHandle::None);
    ASSERT_TRUE(present(window, *surface, bounds));
    EXPECT_EQ(Probe::windowDepth(window), 24);
    const auto region = opaqueRegion(surface->bits(), size, size, size);
    EXPECT_EQ(Probe::shapeRectangles(window, false), region);
    EXPECT_EQ(Probe::shapeRectangles(window, true), region);
    // Colours arrive unchanged; only the alpha is the shape's.
    const auto shown = Probe::windowPixels(window, size, size);
    ASSERT_EQ(shown.size(), std::size_t(size * size));
    const int inside = (size / 2) * size + size / 2 + size / 4;  // in the ring
    EXPECT_EQ(shown[inside], surface->bits()[inside] & 0x00FFFFFFu);
}

TEST_F(X11DesktopTest, ASecondMonitorWidensTheVirtualScreen) {
    std::vector<Recorded>& log = newLog();
    auto surface = createDibSection(8, 8);
    std::fill(surface->bits(), surface->bits() + 64, 0xFFFFFFFFu);
    WindowHandle window = makeLayered({0, 0, 8, 8}, &log);
    ASSERT_TRUE(present(window, *surface, {0, 0, 8, 8}));

    const Rect before = screenService().metrics().virtualScreen;
    ASSERT_TRUE(runTool(u"xrandr --setmonitor ArborSecond 640/169x480/127+2000+0 none"));
    const ScreenMetrics after = screenService().metrics();
    runTool(u"xrandr --delmonitor ArborSecond");
    if (after.virtualScreen == before) GTEST_SKIP() << "this server ignores monitors set by hand";
    EXPECT_EQ(after.virtualScreen.right, std::max(before.right, 2640));
    EXPECT_EQ(after.virtualScreen.bottom, before.bottom);
}

TEST_F(X11DesktopTest, KeysReachTheActiveWindowAndShowInKeyState) {
    std::vector<Recorded>& log = newLog();
    WindowDescription description;
    description.title = u"ArborX11Keys";
    description.bounds = {600, 600, 700, 700};
    description.style = WS_POPUP;
    description.procedure = [&log](WindowHandle w, std::uint32_t m, std::uintptr_t wp,
                                   std::intptr_t lp) -> std::optional<std::intptr_t> {
        log.push_back(Recorded{w, m, wp, lp});
        return std::nullopt;
    };
    WindowHandle window = windowService().create(description);
    ASSERT_NE(window, WindowHandle::None);
    windows_.push_back(window);
    windowService().show(window, true, true);
    ASSERT_TRUE(pumpUntil([&] { return Probe::isViewable(window); }));
    auto heard = [&](std::uint32_t message) {
        return std::any_of(log.begin(), log.end(),
                           [&](const Recorded& r) { return r.message == message && r.wParam == 'Q'; });
    };
    // Keys go where the focus is; the window manager may take a moment to give it,
    // and may give it between a press and its release: wait for a whole keystroke.
    ASSERT_TRUE(pumpUntil([&] {
        Probe::letterKey('Q', true);
        Probe::letterKey('Q', false);
        return heard(WM_KEYDOWN) && heard(WM_KEYUP);
    }));
    ASSERT_TRUE(Probe::letterKey('Q', true));
    EXPECT_TRUE(windowService().isKeyDown('Q'));
    ASSERT_TRUE(Probe::letterKey('Q', false));
    EXPECT_FALSE(windowService().isKeyDown('Q'));
}

TEST_F(X11DesktopTest, InjectedKeysReachTheActiveWindowThroughXTest) {
    std::vector<Recorded>& log = newLog();
    WindowDescription description;
    description.title = u"ArborX11Injected";
    description.bounds = {600, 600, 700, 700};
    description.style = WS_POPUP;
    description.procedure = [&log](WindowHandle w, std::uint32_t m, std::uintptr_t wp,
                                   std::intptr_t lp) -> std::optional<std::intptr_t> {
        log.push_back(Recorded{w, m, wp, lp});
        return std::nullopt;
    };
    WindowHandle window = windowService().create(description);
    ASSERT_NE(window, WindowHandle::None);
    windows_.push_back(window);
    windowService().show(window, true, true);
    ASSERT_TRUE(pumpUntil([&] { return Probe::isViewable(window); }));
    auto heard = [&](std::uint32_t message, std::uintptr_t key) {
        return std::any_of(log.begin(), log.end(),
                           [&](const Recorded& r) { return r.message == message && r.wParam == key; });
    };
    const InjectedInput stroke[] = {InjectedInput::key('W', false), InjectedInput::key('W', true)};
    ASSERT_TRUE(pumpUntil([&] {
        EXPECT_EQ(keyInputService().send(stroke), 2u);
        return heard(WM_KEYUP, 'W');
    }));
    EXPECT_TRUE(heard(WM_KEYDOWN, 'W'));
    // The active window is ours: its process is this one, and so is its executable. The
    // manager announces the active window on its own time, after the focus has moved.
    ASSERT_TRUE(pumpUntil([&] { return foregroundService().foregroundWindow().window == static_cast<std::uint64_t>(window); }));
    const ForegroundWindow front = foregroundService().foregroundWindow();
    EXPECT_EQ(front.window, static_cast<std::uint64_t>(window));
    EXPECT_EQ(front.processId, processService().currentProcessId());
    EXPECT_EQ(foregroundService().foregroundExecutable(), fromNativePath(std::filesystem::read_symlink("/proc/self/exe")));
    // A key without a symbol on this keyboard is refused, not sent as something else.
    const InjectedInput unknown = InjectedInput::key(0x07, false);
    EXPECT_EQ(keyInputService().send({&unknown, 1}), 0u);
}

TEST_F(X11DesktopTest, ClipboardTextIsServedToOtherClients) {
    if (Posix::findExecutable("xclip").empty()) GTEST_SKIP() << "xclip is not installed";
    const std::u16string text = u"クリップ board ✓";
    ASSERT_TRUE(clipboardService().setText(text));
    const auto read = Posix::runAndRead({"xclip", "-selection", "clipboard", "-o"});
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, Arbor::Text::toUtf8(text));
    EXPECT_EQ(clipboardService().text(), text);
    // Another client takes the clipboard: ours then reads its text.
    ASSERT_TRUE(Posix::runAndRead({"sh", "-c", "printf other | xclip -selection clipboard -i -loops 1 >/dev/null 2>&1 &"}));
    EXPECT_TRUE(pumpUntil([] { return clipboardService().text() == u"other"; }));
}

TEST_F(X11DesktopTest, CursorsComeFromWholePicturesOnly) {
    CursorPixels picture;
    picture.width = 4;
    picture.height = 3;
    picture.hotspotX = 1;
    picture.pixels.assign(12, 0x80FF0000u);
    auto cursor = createCursor(picture);
    ASSERT_NE(cursor, nullptr);
    EXPECT_NE(cursor->handle(), nullptr);
    EXPECT_TRUE(windowService().setCursor(cursor.get()));
    picture.pixels.pop_back();  // one pixel short of the picture
    EXPECT_EQ(createCursor(picture), nullptr);
}

// Starts a compositor of its own in the session that has none, then stops it: the
// layered windows change visual where they are, above and below each other as before,
// with their picture and their click shapes.
TEST_F(X11DesktopTest, WindowsFollowACompositorThatStartsAndStops) {
    if (composited()) GTEST_SKIP() << "needs the session without a compositor";
    constexpr int size = 64;
    auto surface = pattern(size);
    auto plain = createDibSection(size, size);
    std::fill(plain->bits(), plain->bits() + size * size, 0xFF306090u);
    const Rect lowerBounds{500, 500, 500 + size, 500 + size};
    const Rect upperBounds{520, 510, 520 + size, 510 + size};
    WindowHandle lower = makeLayered(lowerBounds);
    ASSERT_TRUE(present(lower, *plain, lowerBounds));
    WindowHandle upper = makeLayered(upperBounds);
    ASSERT_TRUE(present(upper, *surface, upperBounds));
    ASSERT_EQ(Probe::windowDepth(upper), 24);
    const auto region = opaqueRegion(surface->bits(), size, size, size);
    auto describeOrder = [&] {
        std::string text;
        for (WindowHandle w : windowService().topLevelWindows())
            text += (w == upper ? "U " : w == lower ? "L " : "x ");
        return text;
    };
    auto order = [&] {
        const auto all = windowService().topLevelWindows();
        const auto u = std::find(all.begin(), all.end(), upper), l = std::find(all.begin(), all.end(), lower);
        return u != all.end() && l != all.end() && u < l;
    };
    ASSERT_TRUE(order());

    ProcessHandle compositor;
    ASSERT_TRUE(processService().createProcess(u"", u"xcompmgr", compositor));
    ASSERT_TRUE(pumpUntil([] { return Probe::compositorRunning(); }));
    ASSERT_TRUE(pumpUntil([&] { return Probe::windowDepth(upper) == 32 && Probe::windowDepth(lower) == 32; }));
    EXPECT_TRUE(pumpUntil([&] { return Probe::isViewable(upper) && Probe::isViewable(lower); }));
    const auto shown = Probe::windowPixels(upper, size, size);
    ASSERT_EQ(shown.size(), std::size_t(size * size));
    EXPECT_TRUE(std::equal(shown.begin(), shown.end(), surface->bits())) << "the picture did not survive";
    EXPECT_EQ(Probe::shapeRectangles(upper, true), region);
    EXPECT_EQ(Probe::shapeRectangles(upper, false), (std::vector<Rect>{{0, 0, size, size}}));
    EXPECT_TRUE(pumpUntil([&] { return Probe::frameInputShape(upper) == region; }));
    EXPECT_TRUE(pumpUntil([&] { return Probe::screenPosition(upper) == Point{520, 510}; }));
    EXPECT_TRUE(pumpUntil([&] { return Probe::screenPosition(lower) == Point{500, 500}; }));
    EXPECT_TRUE(pumpUntil(order)) << "the stacking changed: " << describeOrder();
    // The window still answers its handle for presenting.
    ASSERT_TRUE(windowService().presentLayered(upper, *plain, upperBounds, 255));
    const auto replaced = Probe::windowPixels(upper, size, size);
    ASSERT_FALSE(replaced.empty());
    EXPECT_EQ(replaced[0], 0xFF306090u);
    ASSERT_TRUE(windowService().presentLayered(upper, *surface, upperBounds, 255));

    ASSERT_TRUE(runTool(u"kill " + Arbor::Text::fromUtf8(std::to_string(compositor.id))));
    processService().waitForProcess(compositor, 5000);
    processService().closeProcess(compositor);
    ASSERT_TRUE(pumpUntil([] { return !Probe::compositorRunning(); }));
    ASSERT_TRUE(pumpUntil([&] { return Probe::windowDepth(upper) == 24 && Probe::windowDepth(lower) == 24; }));
    EXPECT_TRUE(pumpUntil([&] { return Probe::isViewable(upper) && Probe::isViewable(lower); }));
    EXPECT_TRUE(pumpUntil([&] { return Probe::shapeRectangles(upper, false) == region; }));
    EXPECT_EQ(Probe::shapeRectangles(upper, true), region);
    EXPECT_TRUE(pumpUntil(order)) << "the stacking changed: " << describeOrder();
    EXPECT_TRUE(pumpUntil([&] { return Probe::screenPosition(upper) == Point{520, 510}; }));
}

// Kills the compositor, so it comes last in the composited session.
TEST_F(X11DesktopTest, WhenTheCompositorEndsWindowsAreCutToTheirAlpha) {
    const char* compositor = std::getenv("TAVIZO_TEST_COMPOSITOR_PID");
    if (!composited() || !compositor) GTEST_SKIP() << "needs the composited session";
    constexpr int size = 64;
    auto surface = pattern(size);
    const Rect bounds{400, 50, 400 + size, 50 + size};
    WindowHandle window = makeLayered(bounds);
    ASSERT_TRUE(present(window, *surface, bounds));
    ASSERT_EQ(Probe::windowDepth(window), 32);
    const auto whole = Probe::shapeRectangles(window, false);
    ASSERT_EQ(whole, (std::vector<Rect>{{0, 0, size, size}}));

    ASSERT_TRUE(runTool(u"kill " + std::u16string(compositor, compositor + std::strlen(compositor))));
    ASSERT_TRUE(pumpUntil([] { return !Probe::compositorRunning(); }));
    // Made again with the default visual, cut to its alpha, the colours unchanged.
    ASSERT_TRUE(pumpUntil([&] { return Probe::windowDepth(window) == 24 && Probe::isViewable(window); }));
    const auto region = opaqueRegion(surface->bits(), size, size, size);
    EXPECT_TRUE(pumpUntil([&] { return Probe::shapeRectangles(window, false) == region; }));
    EXPECT_EQ(Probe::shapeRectangles(window, true), region);
    const auto shown = Probe::windowPixels(window, size, size);
    ASSERT_EQ(shown.size(), std::size_t(size * size));
    for (std::size_t i = 0; i < shown.size(); ++i) {
        ASSERT_EQ(shown[i], surface->bits()[i] & 0x00FFFFFFu) << "pixel " << i;
    }
}

#endif  // TAVIZO_HAS_X11

