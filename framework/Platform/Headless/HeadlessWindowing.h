#pragma once
// The windows, per-thread queues and thread timers of the virtual desktop. One object,
// one lock: windows and queues refer to each other (a posted message goes to the queue
// of the window's thread), so they share it. Window procedures and timer callbacks are
// always called without the lock held.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Window.h"

namespace Arbor::Platform::Headless {

class HeadlessWindowing {
public:
    explicit HeadlessWindowing(HeadlessDesktop& desktop);

    void reset();
    // The clock moved: timers may be due.
    void wakeAll();

    static ThreadId currentThreadId();

    // Windows.
    WindowHandle create(const WindowDescription& description);
    bool destroy(WindowHandle window);
    bool exists(WindowHandle window) const;
    std::optional<WindowState> state(WindowHandle window) const;
    bool setTitle(WindowHandle window, std::u16string_view title);
    bool show(WindowHandle window, bool visible, bool activate);
    bool setBounds(WindowHandle window, const Rect& bounds);
    bool setZOrder(WindowHandle window, ZOrder where);
    bool placeBelow(WindowHandle window, WindowHandle above);
    bool setOwner(WindowHandle window, WindowHandle owner);
    bool setExStyle(WindowHandle window, std::uint32_t exStyle);
    bool setForeground(WindowHandle window);
    bool setProcessId(WindowHandle window, std::uint32_t processId);
    WindowHandle foreground() const;
    std::vector<WindowHandle> zOrder() const;
    bool presentPixels(WindowHandle window, int width, int height,
                       const std::vector<std::uint32_t>& pixels);

    // Queues.
    bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam);
    bool postThreadMessage(ThreadId thread, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam);
    std::intptr_t sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam);
    int getMessage(Message& message);
    bool peekMessage(Message& message);
    bool waitMessage(int milliseconds);
    std::intptr_t dispatchMessage(const Message& message);
    void postQuitMessage(int exitCode);
    TimerId setTimer(std::uint32_t interval, std::function<void()> callback);
    bool killTimer(TimerId timer);

private:
    struct WindowRecord {
        WindowState state;
        WindowProcedure procedure;
        bool destroying = false;
    };
    struct SentMessage {
        Message message;
        ThreadId sender = 0;
        std::intptr_t result = 0;
        bool done = false;
    };
    struct Queue {
        std::deque<Message> posted;
        std::deque<std::shared_ptr<SentMessage>> sent;
        bool quitPending = false;
        int quitCode = 0;
        std::condition_variable changed;
    };
    struct Timer {
        ThreadId thread = 0;
        std::uint32_t interval = 0;
        std::uint32_t due = 0;
        std::function<void()> callback;
    };

    Queue& queueOf(ThreadId thread);  // lock held
    WindowRecord* find(WindowHandle window);
    const WindowRecord* find(WindowHandle window) const;
    void unlink(std::uintptr_t id);                      // lock held
    void insertAtBandTop(std::uintptr_t id);             // lock held
    void insertAt(std::size_t index, std::uintptr_t id);  // lock held
    // Takes the next message for the thread; handles sent messages on the way. The
    // lock is held on entry and on return.
    bool takeMessage(std::unique_lock<std::mutex>& lock, ThreadId thread, Message& message);
    void handleSent(std::unique_lock<std::mutex>& lock, const std::shared_ptr<SentMessage>& sent);
    std::optional<std::uint32_t> nextTimerDelay(ThreadId thread) const;  // lock held
    std::intptr_t callProcedure(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam);
    std::intptr_t defaultProcedure(WindowHandle window, std::uint32_t message);
    void wait(std::unique_lock<std::mutex>& lock, Queue& queue, ThreadId thread,
              std::optional<std::uint32_t> limit);

    HeadlessDesktop& desktop_;
    mutable std::mutex mutex_;
    std::map<std::uintptr_t, WindowRecord> windows_;
    std::vector<std::uintptr_t> zOrder_;  // topmost first
    std::uintptr_t foreground_ = 0;
    std::uintptr_t nextWindow_ = 0x10;
    std::map<ThreadId, std::unique_ptr<Queue>> queues_;
    std::map<TimerId, Timer> timers_;
    TimerId nextTimer_ = 1;
};

}  // namespace Arbor::Platform::Headless
