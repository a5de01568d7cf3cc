// A widget's geometry and its back buffer, which only grows.
#include <climits>

#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "framework/Graphics/Painter.h"
#include "framework/Gui/LayeredWidget.h"
#include "framework/Gui/Widget.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Window.h"

using namespace Arbor::Gui;
using namespace Arbor::Platform;

namespace {
class WidgetGeometryTest : public GuiTesting::GuiTest {};
}  // namespace

TEST_P(WidgetGeometryTest, TheBackBufferGrowsTransparentAndNeverShrinks) {
    LayeredWidget widget;
    widget.setGeometry(10, 20, 300, 200);
    auto* buffer = widget.backBuffer();
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->width(), 512);
    EXPECT_EQ(widget.width(), 300);
    EXPECT_EQ(widget.height(), 200);
    widget.bits()[0] = 0xFF112233u;

    // Growing past the buffer on one side reallocates, transparent, keeping the other side.
    widget.resize(700, 100);
    EXPECT_EQ(widget.geometry(), (Rect{10, 20, 710, 120}));
    EXPECT_EQ(buffer->width(), 700);
    EXPECT_EQ(buffer->height(), 512);
    EXPECT_EQ(widget.bits()[0], 0u);
    widget.bits()[0] = 0xFF445566u;

    // Shrinking keeps the larger buffer and what is in it.
    const auto* before = widget.bits();
    widget.setGeometry(Rect{-5, -5, 15, 15});
    EXPECT_EQ(widget.width(), 20);
    EXPECT_EQ(buffer->width(), 700);
    EXPECT_EQ(widget.bits(), before);
    EXPECT_EQ(widget.bits()[0], 0xFF445566u);

    widget.move(40, 50);
    EXPECT_EQ(widget.geometry(), (Rect{40, 50, 60, 70}));
}

TEST_P(WidgetGeometryTest, APlainWidgetMovesItsWindowALayeredOneWaitsForPresent) {
    Widget plain;
    LayeredWidget layered;
    plain.setGeometry(30, 40, 120, 90);
    layered.setGeometry(30, 40, 120, 90);
    EXPECT_EQ(*windowService().bounds(plain.window().handle()), (Rect{30, 40, 150, 130}));
    EXPECT_EQ(plain.window().windowRect(), (Rect{30, 40, 150, 130}));
    EXPECT_NE(*windowService().bounds(layered.window().handle()), (Rect{30, 40, 150, 130}));
}

TEST_P(WidgetGeometryTest, OverflowingSizesStopAtTheLargestCoordinate) {
    LayeredWidget widget;
    widget.setGeometry(INT_MAX - 10, 0, 100, 1);
    EXPECT_EQ(widget.geometry().right, INT_MAX);
    EXPECT_EQ(widget.width(), 10);
    widget.setGeometry(Rect{INT_MIN, 0, INT_MAX, 1});
    EXPECT_EQ(widget.width(), INT_MAX);
    // No buffer of that width exists: drawing and presenting refuse instead of writing
    // or reading past the memory.
    EXPECT_FALSE(widget.present());
    Arbor::Graphics::Painter painter(widget);
    EXPECT_FALSE(painter.isValid());
    // A sane geometry afterwards gets a buffer again.
    widget.setGeometry(0, 0, 64, 64);
    EXPECT_FALSE(widget.isNull());
    EXPECT_GE(widget.backBuffer()->width(), 64);
}

TEST_P(WidgetGeometryTest, APainterOnAWidgetDrawsIntoItsBackBuffer) {
    LayeredWidget widget;
    widget.setGeometry(0, 0, 4, 3);
    Arbor::Graphics::Painter painter(widget);
    ASSERT_TRUE(painter.isValid());
    const auto* buffer = widget.backBuffer();
    EXPECT_EQ(buffer->width(), 512);
    EXPECT_EQ(widget.bits(), buffer->bits());
}

TEST_P(WidgetGeometryTest, WindowOperationsWorkOnTheNativeWindow) {
    Widget owner;
    LayeredWidget owned;
    Window& window = owned.window();
    ASSERT_TRUE(window.setWindowRect(Rect{100, 50, 164, 98}));
    EXPECT_TRUE(window.moveWindow(-10, 20));
    EXPECT_EQ(window.windowRect(), (Rect{-10, 20, 54, 68}));
    EXPECT_TRUE(window.resizeClient(32, 16));
    EXPECT_EQ(window.clientRect(), (Rect{-10, 20, 22, 36}));
    EXPECT_EQ(window.clientToScreen(Point{5, 5}), (Point{-5, 25}));
    EXPECT_EQ(window.screenToClient(Point{0, 0}), (Point{10, -20}));

    // The stored message goes to the owner, which answers it as its own.
    ASSERT_TRUE(window.setOwner(owner.window().handle()));
    EXPECT_EQ(windowService().owner(window.handle()), owner.window().handle());
    std::vector<GuiTesting::Heard> log;
    GuiTesting::RecordingListener listener("owner", log);
    owner.addOnAppListener(&listener);
    struct Forwarder : OnAppListener {
        std::intptr_t answer = -1;
        void onAppMessage(Widget& sender, const WindowMessage&) override {
            answer = sender.window().sendMessageToParent();
        }
    } forwarder;
    owned.addOnAppListener(&forwarder);
    send(owned, 0x8010, 7, 9);
    EXPECT_EQ(forwarder.answer, 0);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].sender, &owner);
    EXPECT_EQ(log[0].message.message, 0x8010u);
    EXPECT_EQ(log[0].message.lParam, 9);
}

TAVIZO_INSTANTIATE_FOR_BACKENDS(WidgetGeometryTest);
