// One picture presented by a layered widget and read back from what each backend shows:
// the headless desktop's kept pixels, the X11 window's pixels (run on a private display
// with a compositor, framework/Gui/onX11), and on Win32 the screen itself. Clicks
// injected as real input reach the widget on its opaque pixels and the window below on
// its transparent ones.
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "framework/Gui/LayeredWidget.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/InputShape.h"
#include "framework/Platform/Window.h"
#if defined(TAVIZO_HAS_X11)
#include "framework/Platform/X11/X11Readback.h"
#endif
#if defined(TAVIZO_HAS_WIN32)
#include "framework/Platform/Win32/Win32Readback.h"
#endif

using namespace Arbor::Gui;
using namespace Arbor::Platform;

namespace {

constexpr int W = 40, H = 24;
constexpr std::uint32_t Below = 0xFF3060A0u;  // the window under the widget

// Opaque colours everywhere but a transparent hole on the right and a half-transparent
// column (premultiplied).
std::uint32_t drawn(int x, int y) {
    if (x >= 28) return 0;
    if (x == 20) return 0x80402010u;
    return 0xFF000000u | (std::uint32_t(x * 6) << 16) | (std::uint32_t(y * 10) << 8) | std::uint32_t((x + y) * 3);
}

bool pumpUntil(const std::function<bool()>& done, int milliseconds = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        Message message;
        while (messageQueueService().peekMessage(message)) messageQueueService().dispatchMessage(message);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

class LayeredReadbackTest : public GuiTesting::GuiTest {
protected:
    void SetUp() override {
        GuiTesting::GuiTest::SetUp();
        if (IsSkipped()) return;
        // The X11 backend runs here only on the private display with a compositor.
        if (GetParam() == "X11" && !std::getenv("TAVIZO_TEST_COMPOSITOR")) GTEST_SKIP() << "runs under run-on-private-display";
    }

    // What the backend shows of the window's area: its own pixels (headless, X11) or the
    // screen (Win32); empty when it cannot say.
    std::vector<std::uint32_t> readBack(WindowHandle window, const Rect& area) {
        if (isHeadless()) {
            auto state = Headless::HeadlessDesktop::instance().window(window);
            return state ? state->pixels : std::vector<std::uint32_t>{};
        }
#if defined(TAVIZO_HAS_X11)
        if (GetParam() == "X11") return X11::Inspection::windowPixels(window, area.width(), area.height());
#endif
#if defined(TAVIZO_HAS_WIN32)
        if (GetParam() == "Win32") return Win32::Inspection::screenPixels(area);
#endif
        (void)window;
        (void)area;
        return {};
    }

    bool click(Point p) {
#if defined(TAVIZO_HAS_X11)
        if (GetParam() == "X11") return X11::Inspection::click(p.x, p.y);
#endif
#if defined(TAVIZO_HAS_WIN32)
        if (GetParam() == "Win32") return Win32::Inspection::click(p.x, p.y);
#endif
        (void)p;
        return false;
    }

    // A plain layered window of one colour under the widget, recording its presses. It
    // stays out of the topmost band, where the widget goes: a window manager raises a
    // window that is clicked, but not above that band.
    WindowHandle windowBelow(const Rect& area, int& presses) {
        WindowDescription description;
        description.title = u"Below";
        description.bounds = area;
        description.style = WS_POPUP;
        description.exStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW;
        description.procedure = [&presses](WindowHandle, std::uint32_t message, std::uintptr_t,
                                           std::intptr_t) -> std::optional<std::intptr_t> {
            if (message == WM_LBUTTONDOWN) ++presses;
            return std::nullopt;
        };
        const WindowHandle window = windowService().create(description);
        if (window == WindowHandle::None) return window;
        below_ = createDibSection(area.width(), area.height());
        std::fill(below_->bits(), below_->bits() + area.width() * area.height(), Below);
        windowService().presentLayered(window, *below_, area, 255);
        windowService().setInputShapeFromAlpha(window, *below_, area.width(), area.height());
        windowService().show(window, true);
        return window;
    }

    static void paintPicture(LayeredWidget& widget) {
        const int stride = widget.backBuffer()->width();
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) widget.bits()[y * stride + x] = drawn(x, y);
    }

    std::unique_ptr<DibSection> below_;
};

}  // namespace

TEST_P(LayeredReadbackTest, PresentedPixelsReadBackAsDrawn) {
    const Rect area{120, 90, 120 + W, 90 + H};
    int presses = 0;
    const WindowHandle under = windowBelow(area, presses);
    ASSERT_NE(under, WindowHandle::None);
    LayeredWidget widget;
    widget.setGeometry(area);
    paintPicture(widget);
    ASSERT_TRUE(widget.show());
    ASSERT_TRUE(widget.present());
    windowService().setZOrder(widget.window().handle(), ZOrder::Topmost);

    std::vector<std::uint32_t> shown;
    auto opaqueMatch = [&] {
        shown = readBack(widget.window().handle(), area);
        if (shown.size() != std::size_t(W * H)) return false;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if ((drawn(x, y) >> 24) == 0xFF && shown[y * W + x] != drawn(x, y)) return false;
        return true;
    };
    EXPECT_TRUE(pumpUntil(opaqueMatch)) << "the opaque pixels did not read back as drawn";
    ASSERT_EQ(shown.size(), std::size_t(W * H));
    if (GetParam() == "Win32") {
#if defined(TAVIZO_HAS_WIN32)
        // The screen: transparent pixels show the window below, the half-transparent
        // column is blended over it. Wine on a display without a compositor shows the
        // premultiplied words unblended instead, so only the opaque pixels count there.
        if (!Win32::Inspection::runsUnderWine()) {
            EXPECT_EQ(shown[5 * W + 30], Below);
            const std::uint32_t mixed = shown[5 * W + 20];
            for (int shift = 0; shift < 24; shift += 8) {
                const int src = int((drawn(20, 5) >> shift) & 0xFF), dst = int((Below >> shift) & 0xFF);
                EXPECT_NEAR(int((mixed >> shift) & 0xFF), src + dst * (255 - 0x80) / 255, 1) << "bit " << shift;
            }
        }
#endif
    } else {
        // The window's own pixels, alpha included.
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) ASSERT_EQ(shown[y * W + x], drawn(x, y)) << x << "," << y;
    }
    windowService().destroy(under);
}

TEST_P(LayeredReadbackTest, ClicksReachTheWidgetOnOpaquePixelsOnly) {
    if (isHeadless()) GTEST_SKIP() << "the headless desktop's hit test has its own tests";
    const Rect area{300, 200, 300 + W, 200 + H};
    int belowPresses = 0;
    const WindowHandle under = windowBelow(area, belowPresses);
    ASSERT_NE(under, WindowHandle::None);
    std::vector<GuiTesting::Heard> heard;
    GuiTesting::RecordingListener listener("widget", heard);
    LayeredWidget widget;
    ASSERT_TRUE(widget.addOnMouseDownListener(&listener));
    widget.setGeometry(area);
    paintPicture(widget);
    ASSERT_TRUE(widget.show());
    ASSERT_TRUE(widget.present());
    windowService().setZOrder(widget.window().handle(), ZOrder::Topmost);
    pumpUntil([&] { return !readBack(widget.window().handle(), area).empty(); });
#if defined(TAVIZO_HAS_X11)
    // A window manager gives its frame the window's input shape a moment after mapping.
    if (GetParam() == "X11") {
        const auto region = opaqueRegion(widget.bits(), W, H, widget.backBuffer()->width());
        ASSERT_TRUE(pumpUntil([&] { return X11::Inspection::frameInputShape(widget.window().handle()) == region; }));
        ASSERT_TRUE(pumpUntil([&] { return !X11::Inspection::frameInputShape(under).empty(); }));
    }
#endif

    // An opaque pixel: the widget takes the click.
    ASSERT_TRUE(click(Point{area.left + 5, area.top + 10}));
    EXPECT_TRUE(pumpUntil([&] { return !heard.empty(); })) << "the widget did not hear the click";
    EXPECT_EQ(belowPresses, 0);
#if defined(TAVIZO_HAS_WIN32)
    if (GetParam() == "Win32" && Win32::Inspection::runsUnderWine()) {
        windowService().destroy(under);
        GTEST_SKIP() << "Wine hit-tests layered windows by their rectangle, not their alpha";
    }
#endif
    // A transparent pixel: the window below takes it.
    const std::size_t before = heard.size();
    ASSERT_TRUE(click(Point{area.left + 34, area.top + 10}));
    EXPECT_TRUE(pumpUntil([&] { return belowPresses == 1; })) << "the click did not pass through";
    EXPECT_EQ(heard.size(), before);
    windowService().destroy(under);
}

TAVIZO_INSTANTIATE_FOR_BACKENDS(LayeredReadbackTest);
