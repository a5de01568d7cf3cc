// The thread's system message queue. Thread timers are system timers without a window
// whose timer procedure finds the callback by timer id.
#include <windows.h>

#include <functional>
#include <map>
#include <mutex>

#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Win32/Win32Text.h"
#include "framework/Platform/Win32/Win32Services.h"

namespace Arbor::Platform {

using namespace Win32;

namespace {

std::mutex timerMutex;
std::map<UINT_PTR, std::function<void()>>& timerCallbacks() {
    static auto* callbacks = new std::map<UINT_PTR, std::function<void()>>;
    return *callbacks;
}

VOID CALLBACK timerProcedure(HWND, UINT, UINT_PTR id, DWORD) {
    std::function<void()> callback;
    {
        std::lock_guard lock(timerMutex);
        auto it = timerCallbacks().find(id);
        if (it == timerCallbacks().end()) return;
        callback = it->second;
    }
    if (callback) callback();
}

Message fromMsg(const MSG& msg) {
    Message message;
    message.window = handleOf(msg.hwnd);
    message.message = msg.message;
    message.wParam = msg.wParam;
    message.lParam = msg.lParam;
    message.time = msg.time;
    message.point = Point{msg.pt.x, msg.pt.y};
    return message;
}

MSG toMsg(const Message& message) {
    MSG msg{};
    msg.hwnd = hwndOf(message.window);
    msg.message = message.message;
    msg.wParam = message.wParam;
    msg.lParam = message.lParam;
    msg.time = message.time;
    msg.pt = POINT{message.point.x, message.point.y};
    return msg;
}

class Win32MessageQueueService : public MessageQueueService {
public:
    ThreadId currentThreadId() override { return GetCurrentThreadId(); }
    bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override {
        return PostMessageW(hwndOf(window), message, wParam, lParam) != 0;
    }
    bool postThreadMessage(ThreadId thread, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam) override {
        return PostThreadMessageW(thread, message, wParam, lParam) != 0;
    }
    std::intptr_t sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) override {
        if (!IsWindow(hwndOf(window))) return 0;
        return SendMessageW(hwndOf(window), message, wParam, lParam);
    }
    int getMessage(Message& message) override {
        MSG msg{};
        const BOOL result = GetMessageW(&msg, nullptr, 0, 0);
        if (result == -1) return -1;
        message = fromMsg(msg);
        return result ? 1 : 0;
    }
    bool peekMessage(Message& message) override {
        MSG msg{};
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
        message = fromMsg(msg);
        return true;
    }
    bool waitMessage(int milliseconds) override {
        const DWORD limit = milliseconds < 0 ? INFINITE : static_cast<DWORD>(milliseconds);
        return MsgWaitForMultipleObjectsEx(0, nullptr, limit, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0;
    }
    bool translateMessage(const Message& message) override {
        const MSG msg = toMsg(message);
        return TranslateMessage(&msg) != 0;
    }
    std::intptr_t dispatchMessage(const Message& message) override {
        const MSG msg = toMsg(message);
        return DispatchMessageW(&msg);
    }
    void postQuitMessage(int exitCode) override { PostQuitMessage(exitCode); }
    TimerId setTimer(std::uint32_t interval, std::function<void()> callback) override {
        // The callback is stored before the timer can fire: both happen on this thread.
        std::lock_guard lock(timerMutex);
        const UINT_PTR id = SetTimer(nullptr, 0, interval, timerProcedure);
        if (id == 0) return 0;
        timerCallbacks()[id] = std::move(callback);
        return id;
    }
    bool killTimer(TimerId timer) override {
        {
            std::lock_guard lock(timerMutex);
            if (timerCallbacks().erase(timer) == 0) return false;
        }
        return KillTimer(nullptr, timer) != 0;
    }
};

}  // namespace

std::unique_ptr<MessageQueueService> Win32::makeMessageQueueService() {
    return std::make_unique<Win32MessageQueueService>();
}

}  // namespace Arbor::Platform
