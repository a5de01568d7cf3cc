// How window messages reach a widget's listeners, and what a widget does when nobody
// listens, on every backend of the build.
#include <memory>

#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "framework/Gui/LayeredWidget.h"
#include "framework/Gui/Widget.h"
#include "framework/Platform/Window.h"

using namespace Arbor::Gui;
using namespace Arbor::Platform;
using GuiTesting::Heard;
using GuiTesting::RecordingListener;

namespace {

class WidgetDispatchTest : public GuiTesting::GuiTest {};

std::vector<std::string> whoHeard(const std::vector<Heard>& log) {
    std::vector<std::string> names;
    for (const Heard& h : log) names.push_back(h.who);
    return names;
}

}  // namespace

TEST_P(WidgetDispatchTest, WidgetsComeWithTheirNativeWindows) {
    Widget plain;
    LayeredWidget layered;
    ASSERT_TRUE(plain.window().hasWindow());
    ASSERT_TRUE(layered.window().hasWindow());
    EXPECT_EQ(plain.className(), u"Widget");
    EXPECT_EQ(layered.className(), u"LayeredWidget");
    EXPECT_EQ(plain.window().className(), u"Window");
    EXPECT_EQ(layered.window().className(), u"LayeredWindow");
    EXPECT_EQ(windowService().title(layered.window().handle()), u"LayeredWindow");
    EXPECT_EQ(layered.window().title(), u"LayeredWindow");

    const std::uint32_t layeredStyle = windowService().exStyle(layered.window().handle());
    EXPECT_EQ(layeredStyle & (WS_EX_LAYERED | WS_EX_TOOLWINDOW), WS_EX_LAYERED | WS_EX_TOOLWINDOW);
    EXPECT_EQ(windowService().exStyle(plain.window().handle()) & WS_EX_LAYERED, 0u);
    EXPECT_EQ(windowService().owner(layered.window().handle()), WindowHandle::None);
    EXPECT_FALSE(layered.isVisible());

    // A fresh widget draws into a 512 x 512 buffer while it has no size of its own.
    ASSERT_NE(layered.backBuffer(), nullptr);
    EXPECT_EQ(layered.backBuffer()->width(), 512);
    EXPECT_EQ(layered.backBuffer()->height(), 512);
    EXPECT_EQ(layered.width(), 0);
    EXPECT_EQ(layered.format(), 7);

    layered.window().setTitle(u"キャラ_Object_Window");
    EXPECT_EQ(windowService().title(layered.window().handle()), u"キャラ_Object_Window");
    EXPECT_TRUE(layered.show());
    EXPECT_TRUE(layered.isVisible());
}

TEST_P(WidgetDispatchTest, ListenersHearTheirEventsInRegistrationOrder) {
    LayeredWidget widget;
    std::vector<Heard> log;
    RecordingListener first("first", log), second("second", log), third("third", log);
    ASSERT_TRUE(widget.addOnMouseDownListener(&second));
    ASSERT_TRUE(widget.addOnMouseDownListener(&first));
    ASSERT_TRUE(widget.addOnMouseDownListener(&third));
    ASSERT_TRUE(widget.addOnMouseUpListener(&first));
    ASSERT_TRUE(widget.addOnMouseDoubleClickListener(&third));
    EXPECT_FALSE(widget.addOnMouseDownListener(nullptr));
    EXPECT_EQ(widget.listenerCount(WidgetEvent::MouseDown), 3u);

    EXPECT_EQ(send(widget, WM_LBUTTONDOWN, 1, makePointParam(5, -7)), 0);
    ASSERT_EQ(whoHeard(log), (std::vector<std::string>{"second", "first", "third"}));
    for (const Heard& h : log) {
        EXPECT_EQ(h.sender, &widget);
        EXPECT_EQ(h.event, WidgetEvent::MouseDown);
        EXPECT_EQ(h.message.message, WM_LBUTTONDOWN);
        EXPECT_EQ(h.message.wParam, 1u);
        EXPECT_EQ(pointParamY(h.message.lParam), -7);
    }

    // Every button feeds the same three kinds.
    log.clear();
    send(widget, WM_RBUTTONDOWN);
    send(widget, WM_MBUTTONDOWN);
    send(widget, WM_XBUTTONDOWN);
    EXPECT_EQ(log.size(), 9u);
    log.clear();
    send(widget, WM_LBUTTONUP);
    send(widget, WM_RBUTTONUP);
    send(widget, WM_XBUTTONUP);
    send(widget, WM_MBUTTONDBLCLK);
    send(widget, WM_RBUTTONDBLCLK);
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0].event, WidgetEvent::MouseUp);
    EXPECT_EQ(log[2].message.message, WM_XBUTTONUP);
    EXPECT_EQ(log[3].event, WidgetEvent::DoubleClick);
    EXPECT_EQ(log[4].who, "third");

    // Messages of other kinds reach none of them.
    log.clear();
    send(widget, WM_MOUSEMOVE);
    send(widget, WM_KEYDOWN, 0x41);
    EXPECT_TRUE(log.empty());
}

TEST_P(WidgetDispatchTest, CommandsSplitIntoMenuItemsAndAcceleratorsButNotControls) {
    LayeredWidget widget;
    std::vector<Heard> log;
    RecordingListener listener("l", log);
    widget.addOnMenuItemListener(&listener);
    widget.addOnAcceleratorListener(&listener);

    EXPECT_EQ(send(widget, WM_COMMAND, 42, 0), 0);
    EXPECT_EQ(send(widget, WM_COMMAND, (1u << 16) | 43, 0), 0);
    // A control's notification carries the control's handle: default handling.
    send(widget, WM_COMMAND, (1u << 16) | 44, 0x1234);
    send(widget, WM_COMMAND, 45, 0x1234);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].event, WidgetEvent::MenuItem);
    EXPECT_EQ(log[0].message.wParam & 0xFFFF, 42u);
    EXPECT_EQ(log[1].event, WidgetEvent::Accelerator);
    EXPECT_EQ(log[1].message.wParam & 0xFFFF, 43u);
}

TEST_P(WidgetDispatchTest, QueryEndSessionIsAlwaysAnsweredYes) {
    LayeredWidget widget;
    EXPECT_EQ(send(widget, WM_QUERYENDSESSION, 0, 0), 1);
    std::vector<Heard> log;
    RecordingListener listener("l", log);
    widget.addOnQueryEndSessionListener(&listener);
    EXPECT_EQ(send(widget, WM_QUERYENDSESSION, 0, static_cast<std::intptr_t>(ENDSESSION_LOGOFF)), 1);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].event, WidgetEvent::QueryEndSession);
}

TEST_P(WidgetDispatchTest, MouseActivationGetsTheStoredAnswer) {
    LayeredWidget widget;
    EXPECT_EQ(send(widget, WM_MOUSEACTIVATE, 0, 0), MA_ACTIVATE);
    widget.window().setMouseActivateAnswer(MA_NOACTIVATE);
    EXPECT_EQ(send(widget, WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
    // Listeners do not change the answer.
    std::vector<Heard> log;
    RecordingListener listener("l", log);
    widget.addEventListener(WidgetEvent::MouseActivate, &listener);
    EXPECT_EQ(send(widget, WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
    EXPECT_EQ(log.size(), 1u);
}

TEST_P(WidgetDispatchTest, AppMessagesReachAppListenersExceptTheDestroyRequest) {
    LayeredWidget widget;
    std::vector<Heard> log;
    RecordingListener listener("l", log);
    widget.addOnAppListener(&listener);
    send(widget, 0x8002, 100, WM_RBUTTONUP);
    send(widget, 0xBFFF, 1, 2);
    send(widget, 0xC000, 1, 2);  // past the range
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].message.message, 0x8002u);
    EXPECT_EQ(log[0].message.lParam, static_cast<std::intptr_t>(WM_RBUTTONUP));
    EXPECT_EQ(log[1].message.message, 0xBFFFu);

    const WindowHandle window = widget.window().handle();
    send(widget, 0x8003);
    EXPECT_EQ(log.size(), 2u);
    EXPECT_FALSE(windowService().exists(window));
    EXPECT_FALSE(widget.window().hasWindow());
    // The live widget lost its window and nobody listens to its destruction.
    EXPECT_TRUE(drainQueue());
}

TEST_P(WidgetDispatchTest, ClosingWithoutCloseListenersDestroysTheWindowAndQuits) {
    LayeredWidget widget;
    const WindowHandle window = widget.window().handle();
    EXPECT_EQ(send(widget, WM_CLOSE), 0);
    EXPECT_FALSE(windowService().exists(window));
    EXPECT_TRUE(drainQueue());
    // Presenting without a window fails quietly.
    EXPECT_FALSE(widget.present());
}

TEST_P(WidgetDispatchTest, ADestroyListenerTakesOverFromTheQuitMessage) {
    LayeredWidget widget;
    std::vector<Heard> log;
    RecordingListener closing("close", log), destroyed("destroy", log);
    widget.addEventListener(WidgetEvent::Close, &closing);
    widget.addEventListener(WidgetEvent::Destroy, &destroyed);
    const WindowHandle window = widget.window().handle();

    // A close listener keeps the window.
    send(widget, WM_CLOSE);
    EXPECT_TRUE(windowService().exists(window));
    ASSERT_EQ(whoHeard(log), (std::vector<std::string>{"close"}));

    // Destroyed from outside: the destroy listener hears it and no quit is posted.
    EXPECT_TRUE(windowService().destroy(window));
    EXPECT_EQ(whoHeard(log), (std::vector<std::string>{"close", "destroy"}));
    EXPECT_FALSE(widget.window().hasWindow());
    EXPECT_FALSE(drainQueue());
}

TEST_P(WidgetDispatchTest, AWindowDestroyedUnderALiveWidgetPostsQuit) {
    auto widget = std::make_unique<Widget>();
    EXPECT_TRUE(windowService().destroy(widget->window().handle()));
    EXPECT_TRUE(drainQueue());
    widget.reset();
    EXPECT_FALSE(drainQueue());
}

TEST_P(WidgetDispatchTest, DeletingAWidgetReachesNoListenerAndPostsNoQuit) {
    Object parent;
    auto widget = std::make_unique<LayeredWidget>();
    ASSERT_TRUE(widget->setParentObject(&parent));
    std::vector<Heard> log;
    RecordingListener listener("l", log);
    for (std::size_t kind = 0; kind < widgetEventCount; ++kind) {
        widget->addEventListener(static_cast<WidgetEvent>(kind), &listener);
    }
    const WindowHandle window = widget->window().handle();
    widget.reset();
    EXPECT_FALSE(windowService().exists(window));
    EXPECT_TRUE(parent.childObjects().empty());
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(drainQueue());
}

TEST_P(WidgetDispatchTest, WidgetWindowsAreNeverErased) {
    LayeredWidget widget;
    EXPECT_EQ(send(widget, WM_ERASEBKGND), 1);
}

TAVIZO_INSTANTIATE_FOR_BACKENDS(WidgetDispatchTest);
