#pragma once
// Helpers of the widget tests: a fixture on every backend that starts each test from an
// empty queue (and, headless, an empty desktop), and a listener that records the events
// it hears.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Gui/ListenerInterfaces.h"
#include "framework/Gui/Widget.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "support/BackendTest.h"

namespace GuiTesting {

class GuiTest : public Testing::BackendTest {
protected:
    void SetUp() override {
        Testing::BackendTest::SetUp();
        if (IsSkipped()) return;
        if (isHeadless()) Arbor::Platform::Headless::HeadlessDesktop::instance().reset();
        drainQueue();
    }

    // Handles every waiting message of this thread; true when the quit message with
    // code 0 was among them.
    static bool drainQueue() {
        auto& queue = Arbor::Platform::messageQueueService();
        bool quit = false;
        Arbor::Platform::Message message;
        while (queue.peekMessage(message)) {
            if (message.message == Arbor::Platform::WM_QUIT) {
                quit = quit || message.wParam == 0;
                continue;
            }
            queue.translateMessage(message);
            queue.dispatchMessage(message);
        }
        return quit;
    }

    static std::intptr_t send(Arbor::Gui::Widget& widget, std::uint32_t message, std::uintptr_t wParam = 0,
                              std::intptr_t lParam = 0) {
        return Arbor::Platform::messageQueueService().sendMessage(widget.window().handle(), message, wParam,
                                                                  lParam);
    }
};

struct Heard {
    std::string who;
    Arbor::Gui::Widget* sender = nullptr;
    Arbor::Gui::WidgetEvent event{};
    Arbor::Gui::WindowMessage message;
};

// Listens to everything and writes what it hears, with its name, into a shared log.
class RecordingListener : public Arbor::Gui::OnAppListener,
                          public Arbor::Gui::OnQueryEndSessionListener,
                          public Arbor::Gui::OnMenuItemListener,
                          public Arbor::Gui::OnAcceleratorListener,
                          public Arbor::Gui::OnMouseDownListener,
                          public Arbor::Gui::OnMouseUpListener,
                          public Arbor::Gui::OnMouseDoubleClickListener,
                          public Arbor::Gui::WidgetEventListener {
public:
    RecordingListener(std::string name, std::vector<Heard>& log) : name_(std::move(name)), log_(log) {}

    void onAppMessage(Arbor::Gui::Widget& w, const Arbor::Gui::WindowMessage& m) override {
        note(w, Arbor::Gui::WidgetEvent::AppMessage, m);
    }
    void onQueryEndSession(Arbor::Gui::Widget& w, const Arbor::Gui::WindowMessage& m) override {
        note(w, Arbor::Gui::WidgetEvent::QueryEndSession, m);
    }
    void onMenuItem(Arbor::Gui::Widget& w, const Arbor::Gui::WindowMessage& m) override {
        note(w, Arbor::Gui::WidgetEvent::MenuItem, m);
    }
    void onAccelerator(Arbor::Gui::Widget& w, const Arbor::Gui::WindowMessage& m) override {
        note(w, Arbor::Gui::WidgetEvent::Accelerator, m);
    }
    void onMouseDown(Arbor::Gui::Widget& w, const Arbor::Gui::WindowMessage& m) override {
        note(w, Arbor::Gui::WidgetEvent::MouseDown, m);
    }
    void onMouseUp(Arbor::Gui::Widget& w, const Arbor::Gui::WindowMessage& m) override {
        note(w, Arbor::Gui::WidgetEvent::MouseUp, m);
    }
    void onMouseDoubleClick(Arbor::Gui::Widget& w, const Arbor::Gui::WindowMessage& m) override {
        note(w, Arbor::Gui::WidgetEvent::DoubleClick, m);
    }
    void onWidgetEvent(Arbor::Gui::Widget& w, Arbor::Gui::WidgetEvent e, const Arbor::Gui::WindowMessage& m) override {
        note(w, e, m);
    }

private:
    void note(Arbor::Gui::Widget& w, Arbor::Gui::WidgetEvent e, const Arbor::Gui::WindowMessage& m) {
        log_.push_back(Heard{name_, &w, e, m});
    }
    std::string name_;
    std::vector<Heard>& log_;
};

}  // namespace GuiTesting
