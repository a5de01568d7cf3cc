#pragma once
// Per-thread message queues and thread timers. Every thread has its own queue, made on
// first use; windows receive their messages on the queue of the thread that created
// them. The loop of a user-interface thread:
//
//     Message m;
//     while (queue.getMessage(m) > 0) { queue.translateMessage(m); queue.dispatchMessage(m); }
//
// Sent messages (sendMessage from another thread) are handled inside getMessage and
// peekMessage of the receiving thread, as the system does.
#include <cstdint>
#include <functional>
#include <memory>

#include "framework/Platform/Types.h"

namespace Arbor::Platform {

using TimerId = std::uintptr_t;

class MessageQueueService {
public:
    virtual ~MessageQueueService() = default;

    virtual ThreadId currentThreadId() = 0;

    // Queues a message for the window's thread and returns at once.
    virtual bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) = 0;
    // Queues a message without a window for the thread (WM_QUIT ends its loop).
    virtual bool postThreadMessage(ThreadId thread, std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam) = 0;
    // Calls the window procedure on the window's thread and waits for the result; called
    // on that thread itself, it calls the procedure directly. 0 when the window is gone.
    virtual std::intptr_t sendMessage(WindowHandle window, std::uint32_t message,
                                      std::uintptr_t wParam, std::intptr_t lParam) = 0;

    // Waits for the next message of this thread: > 0 a message, 0 the quit message
    // (its code in wParam), < 0 failure.
    virtual int getMessage(Message& message) = 0;
    // Takes the next message if there is one, without waiting.
    virtual bool peekMessage(Message& message) = 0;
    // Waits up to the given milliseconds (negative: without limit) for a message to
    // arrive; true when one is waiting.
    virtual bool waitMessage(int milliseconds) = 0;
    virtual bool translateMessage(const Message& message) = 0;
    // Hands the message to its window's procedure (or a timer callback); the result.
    virtual std::intptr_t dispatchMessage(const Message& message) = 0;
    // Posts WM_QUIT with the code to the calling thread.
    virtual void postQuitMessage(int exitCode) = 0;

    // A timer of the calling thread without a window: every interval the thread's
    // queue yields a WM_TIMER whose dispatch calls the callback (on that thread). Timer
    // messages never pile up: a late thread gets one. 0 on failure.
    virtual TimerId setTimer(std::uint32_t intervalMilliseconds, std::function<void()> callback) = 0;
    virtual bool killTimer(TimerId timer) = 0;
};

MessageQueueService& messageQueueService();

}  // namespace Arbor::Platform
