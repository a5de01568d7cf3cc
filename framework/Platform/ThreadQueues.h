#pragma once
// Per-thread message queues the way the system keeps them, for backends whose window
// system has none of its own (the headless desktop; X11, whose display connection has
// one event queue for the whole process): posted messages and sent messages for each
// thread, the quit request, thread timers, and sends between threads in which the
// waiting sender handles what others send to it, so that two threads sending to each
// other do not lock up. Window procedures and timer callbacks are always called
// without the queues' lock held.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Types.h"

namespace Arbor::Platform {

class ThreadQueues {
public:
    // What the queues ask of the window system they serve.
    class Windows {
    public:
        virtual ~Windows() = default;
        // Calls the window's procedure (and its default handling); 0 when it is gone.
        virtual std::intptr_t deliver(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                      std::intptr_t lParam) = 0;
        // The clock of time stamps and timers.
        virtual std::uint32_t tickCount() = 0;
        // True while the clock moves only when told; it then calls wakeAll() after each
        // move, and waits for timers are not timed.
        virtual bool clockIsStepped() = 0;
        // The pointer position stamped on each message.
        virtual Point cursorPosition() = 0;
    };

    explicit ThreadQueues(Windows& windows);
    ThreadQueues(const ThreadQueues&) = delete;
    ThreadQueues& operator=(const ThreadQueues&) = delete;

    // The calling thread's id: small numbers handed out on first use, never 0.
    static ThreadId currentThreadId();

    // Drops every queued message, quit request and timer. Call only while no thread
    // waits in a message loop.
    void reset();
    // The clock moved: timers may be due.
    void wakeAll();

    // Queues a message for the thread (the window may be None). False for a thread
    // that never asked for its id.
    bool post(ThreadId thread, WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
              std::intptr_t lParam);
    // Runs the window's procedure on `thread` and waits for its result; on the calling
    // thread itself, calls it directly.
    std::intptr_t send(ThreadId thread, WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam);

    // The calling thread's loop, as MessageQueueService describes it.
    int getMessage(Message& message);
    bool peekMessage(Message& message);
    bool waitMessage(int milliseconds);
    std::intptr_t dispatchMessage(const Message& message);
    void postQuitMessage(int exitCode);
    TimerId setTimer(std::uint32_t interval, std::function<void()> callback);
    bool killTimer(TimerId timer);

private:
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
    // Takes the next message for the thread; handles sent messages on the way. The
    // lock is held on entry and on return.
    bool takeMessage(std::unique_lock<std::mutex>& lock, ThreadId thread, Message& message);
    void handleSent(std::unique_lock<std::mutex>& lock, const std::shared_ptr<SentMessage>& sent);
    std::optional<std::uint32_t> nextTimerDelay(ThreadId thread) const;  // lock held
    void wait(std::unique_lock<std::mutex>& lock, Queue& queue, ThreadId thread,
              std::optional<std::uint32_t> limit);

    Windows& windows_;
    mutable std::mutex mutex_;
    std::map<ThreadId, std::unique_ptr<Queue>> queues_;
    std::map<TimerId, Timer> timers_;
    TimerId nextTimer_ = 1;
};

}  // namespace Arbor::Platform
