// Presenting a layered widget's back buffer through its window, on every backend.
#include <climits>
#include <thread>

#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "framework/Gui/LayeredWidget.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Window.h"

using namespace Arbor::Gui;
using namespace Arbor::Platform;

namespace {

class LayeredPresentTest : public GuiTesting::GuiTest {
protected:
    // What the headless desktop shows for the window.
    static std::optional<Headless::WindowState> shown(LayeredWidget& widget) {
        return Headless::HeadlessDesktop::instance().window(widget.window().handle());
    }
};

}  // namespace

TEST_P(LayeredPresentTest, PresentPlacesTheWindowAndShowsTheBufferCorner) {
    LayeredWidget widget;
    widget.setGeometry(40, 30, 3, 2);
    // Rows are the buffer's width apart; only the geometry's corner is shown.
    const int stride = widget.backBuffer()->width();
    auto* bits = widget.bits();
    bits[0] = 0xFFFF0000u;
    bits[1] = 0x80400000u;  // half-transparent red, premultiplied
    bits[2] = 0x00000000u;
    bits[stride + 0] = 0xFF00FF00u;
    bits[stride + 2] = 0xFF0000FFu;
    bits[3] = 0xFFFFFFFFu;  // outside the geometry
    ASSERT_TRUE(widget.present());
    EXPECT_EQ(*windowService().bounds(widget.window().handle()), (Rect{40, 30, 43, 32}));
    if (!isHeadless()) return;
    auto state = shown(widget);
    ASSERT_TRUE(state);
    ASSERT_EQ(state->pixelWidth, 3);
    ASSERT_EQ(state->pixelHeight, 2);
    EXPECT_TRUE(state->premultiplied);
    EXPECT_EQ(state->pixels[0], 0xFFFF0000u);
    EXPECT_EQ(state->pixels[1], 0x80400000u);
    EXPECT_EQ(state->pixels[2], 0u);
    EXPECT_EQ(state->pixels[3], 0xFF00FF00u);
    EXPECT_EQ(state->pixels[5], 0xFF0000FFu);
    // Clicks pass through the transparent pixels only.
    auto& desktop = Headless::HeadlessDesktop::instance();
    EXPECT_TRUE(desktop.takesClickAt(widget.window().handle(), Point{41, 30}));
    EXPECT_FALSE(desktop.takesClickAt(widget.window().handle(), Point{42, 30}));
    EXPECT_FALSE(desktop.takesClickAt(widget.window().handle(), Point{41, 31}));
    EXPECT_TRUE(desktop.takesClickAt(widget.window().handle(), Point{42, 31}));
}

TEST_P(LayeredPresentTest, AnEmptyWidgetPresentsOnePixel) {
    LayeredWidget widget;
    widget.setGeometry(5, 6, 0, 0);
    ASSERT_TRUE(widget.present());
    EXPECT_EQ(*windowService().bounds(widget.window().handle()), (Rect{5, 6, 6, 7}));
    widget.setGeometry(Rect{50, 60, 40, 61});  // right left of left
    ASSERT_TRUE(widget.present());
    EXPECT_EQ(*windowService().bounds(widget.window().handle()), (Rect{50, 60, 51, 61}));
    EXPECT_TRUE(widget.window().hasWindow());
}

TEST_P(LayeredPresentTest, PaintTakesTheGeometryThenPresents) {
    LayeredWidget widget;
    ASSERT_TRUE(widget.paint(-20, 10, 600, 4));
    EXPECT_EQ(widget.geometry(), (Rect{-20, 10, 580, 14}));
    EXPECT_GE(widget.backBuffer()->width(), 600);
    EXPECT_EQ(*windowService().bounds(widget.window().handle()), (Rect{-20, 10, 580, 14}));
    // WM_PAINT without paint listeners presents too.
    widget.setGeometry(0, 0, 8, 8);
    messageQueueService().sendMessage(widget.window().handle(), WM_PAINT, 0, 0);
    EXPECT_EQ(*windowService().bounds(widget.window().handle()), (Rect{0, 0, 8, 8}));
}

TEST_P(LayeredPresentTest, ConstantAlphaBlendsTheWholePicture) {
    if (!isHeadless()) GTEST_SKIP() << "the presented picture is read back on the headless desktop";
    LayeredWidget widget;
    EXPECT_EQ(widget.alpha(), 255);
    widget.setGeometry(0, 0, 1, 1);
    widget.bits()[0] = 0xFFFFFFFFu;
    widget.setAlpha(128);
    ASSERT_TRUE(widget.present());
    auto state = shown(widget);
    ASSERT_TRUE(state);
    ASSERT_EQ(state->pixels.size(), 1u);
    EXPECT_EQ(state->pixels[0], 0xFFFFFFFFu);
    EXPECT_EQ(state->opacity, 128);
    widget.setAlpha(255);
    ASSERT_TRUE(widget.present());
    EXPECT_EQ(shown(widget)->opacity, 255);
}

TEST_P(LayeredPresentTest, AFailedPresentDestroysTheWindowAndQuits) {
    LayeredWidget widget;
    widget.setGeometry(0, 0, 4, 4);
    // A window that lost its layered style cannot take a layered update.
    ASSERT_TRUE(windowService().setExStyle(widget.window().handle(), 0));
    EXPECT_FALSE(widget.present());
    EXPECT_FALSE(widget.window().hasWindow());
    EXPECT_TRUE(drainQueue());
}

TEST_P(LayeredPresentTest, AFailedPresentOnTheDrawingThreadLeavesTheDestroyToTheWindowThread) {
    LayeredWidget widget;
    widget.setGeometry(0, 0, 4, 4);
    ASSERT_TRUE(windowService().setExStyle(widget.window().handle(), 0));
    bool presented = true;
    std::thread drawing([&] { presented = widget.present(); });
    drawing.join();
    EXPECT_FALSE(presented);
    // The request waits in the window thread's queue; handling it destroys the window.
    EXPECT_TRUE(widget.window().hasWindow());
    EXPECT_TRUE(drainQueue());
    EXPECT_FALSE(widget.window().hasWindow());
}

TAVIZO_INSTANTIATE_FOR_BACKENDS(LayeredPresentTest);
