// Per-thread queues and thread timers of the virtual desktop (ThreadQueues.h).
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Headless/HeadlessServices.h"
#include "framework/Platform/Headless/HeadlessWindowing.h"
#include "framework/Platform/MessageQueue.h"

namespace Arbor::Platform {

namespace {

class HeadlessMessageQueueService : public MessageQueueService {
public:
    ThreadId currentThreadId() override { return Headless::HeadlessWindowing::currentThreadId(); }
    bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override {
        return w().postMessage(window, message, wParam, lParam);
    }
    bool postThreadMessage(ThreadId thread, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam) override {
        return w().postThreadMessage(thread, message, wParam, lParam);
    }
    std::intptr_t sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) override {
        return w().sendMessage(window, message, wParam, lParam);
    }
    int getMessage(Message& message) override { return q().getMessage(message); }
    bool peekMessage(Message& message) override { return q().peekMessage(message); }
    bool waitMessage(int milliseconds) override { return q().waitMessage(milliseconds); }
    // There is no keyboard layout to translate with: key messages stay as they are.
    bool translateMessage(const Message&) override { return false; }
    std::intptr_t dispatchMessage(const Message& message) override { return q().dispatchMessage(message); }
    void postQuitMessage(int exitCode) override { q().postQuitMessage(exitCode); }
    TimerId setTimer(std::uint32_t interval, std::function<void()> callback) override {
        return q().setTimer(interval, std::move(callback));
    }
    bool killTimer(TimerId timer) override { return q().killTimer(timer); }

private:
    static Headless::HeadlessWindowing& w() { return Headless::HeadlessDesktop::instance().windowing(); }
    static ThreadQueues& q() { return w().queues(); }
};

}  // namespace

std::unique_ptr<MessageQueueService> Headless::makeMessageQueueService() {
    return std::make_unique<HeadlessMessageQueueService>();
}

}  // namespace Arbor::Platform
