// Per-thread queues and thread timers of the X11 desktop: the display has one event
// stream for the whole process, so the queues are this process's own (ThreadQueues),
// fed with translated events by the event thread (X11Desktop.h).
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/X11/X11Services.h"
#include "framework/Platform/X11/X11Desktop.h"

namespace Arbor::Platform::X11 {

namespace {

class X11MessageQueueService final : public MessageQueueService {
public:
    ThreadId currentThreadId() override { return X11Desktop::currentThreadId(); }

    bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override {
        if (window == WindowHandle::None) return q().post(currentThreadId(), window, message, wParam, lParam);
        const ThreadId thread = threadOf(window);
        if (thread != 0) return q().post(thread, window, message, wParam, lParam);
        // Another program's window understands only the close request.
        return message == WM_CLOSE && askToClose(window);
    }
    bool postThreadMessage(ThreadId thread, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam) override {
        return q().post(thread, WindowHandle::None, message, wParam, lParam);
    }
    std::intptr_t sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) override {
        const ThreadId thread = threadOf(window);
        return thread != 0 ? q().send(thread, window, message, wParam, lParam) : 0;
    }
    int getMessage(Message& message) override { return q().getMessage(message); }
    bool peekMessage(Message& message) override { return q().peekMessage(message); }
    bool waitMessage(int milliseconds) override { return q().waitMessage(milliseconds); }
    // Key events arrive as key messages only; there is no character translation yet.
    bool translateMessage(const Message&) override { return false; }
    std::intptr_t dispatchMessage(const Message& message) override { return q().dispatchMessage(message); }
    void postQuitMessage(int exitCode) override { q().postQuitMessage(exitCode); }
    TimerId setTimer(std::uint32_t interval, std::function<void()> callback) override {
        return q().setTimer(interval, std::move(callback));
    }
    bool killTimer(TimerId timer) override { return q().killTimer(timer); }

private:
    // The close request of the conventions (WM_DELETE_WINDOW), sent to a window that
    // exists and takes it.
    static bool askToClose(WindowHandle window) {
        X11Desktop& d = X11Desktop::instance();
        if (!d.connected()) return false;
        Display* display = d.display();
        const Window xid = static_cast<Window>(window);
        Atom* protocols = nullptr;
        int count = 0;
        bool takesIt = false;
        if (XGetWMProtocols(display, xid, &protocols, &count)) {
            for (int i = 0; i < count; ++i) takesIt = takesIt || protocols[i] == d.atoms().wmDeleteWindow;
            XFree(protocols);
        }
        if (!takesIt) return false;
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = xid;
        event.xclient.message_type = d.atoms().wmProtocols;
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(d.atoms().wmDeleteWindow);
        event.xclient.data.l[1] = CurrentTime;
        const bool sent = XSendEvent(display, xid, False, NoEventMask, &event);
        XFlush(display);
        return sent;
    }

    static ThreadQueues& q() { return X11Desktop::instance().queues(); }
    // Only windows of this process have a queue here.
    static ThreadId threadOf(WindowHandle window) {
        X11Desktop& d = X11Desktop::instance();
        auto guard = d.lock();
        const WindowRecord* record = d.find(window);
        return record ? record->thread : 0;
    }
};

}  // namespace

std::unique_ptr<MessageQueueService> makeMessageQueueService() {
    return std::make_unique<X11MessageQueueService>();
}

}  // namespace Arbor::Platform::X11
