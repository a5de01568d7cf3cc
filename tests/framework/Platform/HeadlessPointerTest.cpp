// The virtual desktop's mouse and picture: the window under a point is found by its
// presented pixels, messages reach it in client coordinates, and the desktop composes.
#include <vector>

#include <gtest/gtest.h>

#include "framework/Platform/Backend.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/Window.h"

using namespace Arbor::Platform;
using Arbor::Platform::Headless::HeadlessDesktop;
using Arbor::Platform::Headless::MouseButton;

namespace {

struct Heard {
    WindowHandle window;
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    friend bool operator==(const Heard&, const Heard&) = default;
};

class HeadlessPointerTest : public ::testing::Test {
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

    // A visible layered window at the bounds that shows the pixels and notes what it hears.
    WindowHandle window(Rect bounds, const std::vector<std::uint32_t>& pixels) {
        WindowDescription description;
        description.bounds = bounds;
        description.style = WS_POPUP | WS_VISIBLE;
        description.exStyle = WS_EX_LAYERED;
        description.procedure = [this](WindowHandle w, std::uint32_t m, std::uintptr_t wp,
                                       std::intptr_t lp) -> std::optional<std::intptr_t> {
            if (m == WM_SETCURSOR || (m >= WM_MOUSEMOVE && m <= WM_RBUTTONDBLCLK)) heard_.push_back({w, m, wp, lp});
            return std::nullopt;
        };
        const WindowHandle handle = windowService().create(description);
        EXPECT_TRUE(desktop().presentPixels(handle, bounds.width(), bounds.height(), pixels));
        return handle;
    }

    std::vector<Heard> heard_;
    std::string previous_;
};

constexpr std::uint32_t opaqueRed = 0xFFFF0000u;
constexpr std::uint32_t clear = 0x00000000u;

}  // namespace

TEST_F(HeadlessPointerTest, ATransparentPixelOfTheTopWindowLetsTheClickThroughToTheWindowBelow) {
    // Below: 4x2 opaque at (10, 10). Above: 2x2 at (12, 10), transparent on its left column.
    const WindowHandle below = window(Rect{10, 10, 14, 12}, std::vector<std::uint32_t>(8, opaqueRed));
    const WindowHandle above = window(Rect{12, 10, 14, 12}, {clear, opaqueRed, clear, opaqueRed});
    ASSERT_EQ(desktop().zOrder().front(), above);

    EXPECT_EQ(desktop().windowAt({12, 11}), below);
    EXPECT_EQ(desktop().windowAt({13, 11}), above);
    EXPECT_EQ(desktop().windowAt({9, 11}), WindowHandle::None);

    desktop().pressButton({12, 11}, MouseButton::Left, true);
    const std::intptr_t client = makePointParam(2, 1);  // (12, 11) in the lower window
    const std::vector<Heard> expected{
        {below, WM_SETCURSOR, std::uintptr_t(below), 1 | (std::intptr_t(WM_MOUSEMOVE) << 16)},
        {below, WM_MOUSEMOVE, 0, client},
        {below, WM_SETCURSOR, std::uintptr_t(below), 1 | (std::intptr_t(WM_LBUTTONDOWN) << 16)},
        {below, WM_LBUTTONDOWN, 1, client},
    };
    EXPECT_EQ(heard_, expected);
    EXPECT_EQ(desktop().cursorPosition(), (Point{12, 11}));
    EXPECT_TRUE(desktop().isKeyDown(VK_LBUTTON));

    heard_.clear();
    desktop().pressButton({13, 11}, MouseButton::Left, false);
    ASSERT_EQ(heard_.size(), 4u);
    EXPECT_EQ(heard_[1], (Heard{above, WM_MOUSEMOVE, 1, makePointParam(1, 1)})) << "the button is still down";
    EXPECT_EQ(heard_[3], (Heard{above, WM_LBUTTONUP, 0, makePointParam(1, 1)}));
}

TEST_F(HeadlessPointerTest, ClickThroughAndHiddenWindowsTakeNoPoint) {
    const WindowHandle w = window(Rect{0, 0, 1, 1}, {opaqueRed});
    EXPECT_EQ(desktop().windowAt({0, 0}), w);
    windowService().setExStyle(w, WS_EX_LAYERED | WS_EX_TRANSPARENT);
    EXPECT_EQ(desktop().windowAt({0, 0}), WindowHandle::None);
    windowService().setExStyle(w, WS_EX_LAYERED);
    windowService().show(w, false, false);
    EXPECT_EQ(desktop().windowAt({0, 0}), WindowHandle::None);
}

TEST_F(HeadlessPointerTest, TheCaptureTakesEveryMessageWithoutSetCursorAndStillMovesOnlyWhenMoved) {
    const WindowHandle left = window(Rect{0, 0, 2, 2}, std::vector<std::uint32_t>(4, opaqueRed));
    const WindowHandle right = window(Rect{10, 0, 12, 2}, std::vector<std::uint32_t>(4, opaqueRed));
    ASSERT_TRUE(windowService().setCapture(left));
    desktop().moveMouse({11, 1});
    desktop().moveMouse({11, 1});  // no movement, no message
    const std::vector<Heard> expected{{left, WM_MOUSEMOVE, 0, makePointParam(11, 1)}};
    EXPECT_EQ(heard_, expected);
    windowService().releaseCapture();
    heard_.clear();
    desktop().doubleClick({10, 0}, MouseButton::Left);
    std::vector<std::uint32_t> messages;
    for (const Heard& h : heard_) {
        EXPECT_EQ(h.window, right);
        if (h.message != WM_SETCURSOR) messages.push_back(h.message);
    }
    EXPECT_EQ(messages, (std::vector<std::uint32_t>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                                                    WM_LBUTTONUP}));
    EXPECT_FALSE(desktop().isKeyDown(VK_LBUTTON));
}

TEST_F(HeadlessPointerTest, TheDesktopComposesVisibleWindowsBottomFirstInStraightAlpha) {
    // Below: opaque red and half-transparent blue. Above, over the second pixel only:
    // half-transparent green. (Straight pixels, as a test presents them.)
    window(Rect{0, 0, 2, 1}, {opaqueRed, 0x800000FFu});
    const WindowHandle hidden = window(Rect{0, 0, 1, 1}, {0xFFFFFFFFu});
    windowService().show(hidden, false, false);
    window(Rect{1, 0, 2, 1}, {0x8000FF00u});

    const auto image = desktop().compose(Rect{-1, 0, 3, 2});
    ASSERT_EQ(image.width, 4);
    ASSERT_EQ(image.height, 2);
    ASSERT_EQ(image.rgba.size(), 32u);
    auto at = [&](int x, int y) {
        const std::uint8_t* p = image.rgba.data() + (y * 4 + x) * 4;
        return std::vector<int>{p[0], p[1], p[2], p[3]};
    };
    EXPECT_EQ(at(0, 0), (std::vector<int>{0, 0, 0, 0})) << "outside every window: transparent";
    EXPECT_EQ(at(1, 0), (std::vector<int>{255, 0, 0, 255}));
    // Green 128 over blue 128: alpha 128 + 128 * 127/255 = 192; green 128/192, blue 64/192.
    EXPECT_EQ(at(2, 0), (std::vector<int>{0, 170, 85, 192}));
    EXPECT_EQ(at(1, 1), (std::vector<int>{0, 0, 0, 0}));
}
