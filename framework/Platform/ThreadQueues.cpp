#include "framework/Platform/ThreadQueues.h"

#include <algorithm>
#include <atomic>
#include <chrono>

#include "framework/Platform/Messages.h"

namespace Arbor::Platform {

namespace {

std::atomic<ThreadId> lastThreadId{0};

// Marks a WM_TIMER of a thread timer (lParam), as the system marks it with the callback.
constexpr std::intptr_t TimerMarker = 1;

bool isDue(std::uint32_t now, std::uint32_t due) {
    return static_cast<std::int32_t>(now - due) >= 0;
}

}  // namespace

ThreadQueues::ThreadQueues(Windows& windows) : windows_(windows) {}

ThreadId ThreadQueues::currentThreadId() {
    thread_local const ThreadId id = ++lastThreadId;
    return id;
}

void ThreadQueues::reset() {
    std::lock_guard lock(mutex_);
    timers_.clear();
    for (auto& [thread, queue] : queues_) {
        queue->posted.clear();
        queue->sent.clear();
        queue->quitPending = false;
    }
}

void ThreadQueues::wakeAll() {
    std::lock_guard lock(mutex_);
    for (auto& [thread, queue] : queues_) queue->changed.notify_all();
}

ThreadQueues::Queue& ThreadQueues::queueOf(ThreadId thread) {
    auto& slot = queues_[thread];
    if (!slot) slot = std::make_unique<Queue>();
    return *slot;
}

bool ThreadQueues::post(ThreadId thread, WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                        std::intptr_t lParam) {
    // Only threads that exist (have been given an id) have a queue.
    if (thread == 0 || thread > lastThreadId.load()) return false;
    std::lock_guard lock(mutex_);
    Queue& queue = queueOf(thread);
    Message posted;
    posted.window = window;
    posted.message = message;
    posted.wParam = wParam;
    posted.lParam = lParam;
    queue.posted.push_back(posted);
    queue.changed.notify_all();
    return true;
}

std::intptr_t ThreadQueues::send(ThreadId target, WindowHandle window, std::uint32_t message,
                                 std::uintptr_t wParam, std::intptr_t lParam) {
    const ThreadId me = currentThreadId();
    if (target == me) return windows_.deliver(window, message, wParam, lParam);
    if (target == 0 || target > lastThreadId.load()) return 0;
    std::unique_lock lock(mutex_);
    auto sent = std::make_shared<SentMessage>();
    sent->message.window = window;
    sent->message.message = message;
    sent->message.wParam = wParam;
    sent->message.lParam = lParam;
    sent->sender = me;
    Queue& targetQueue = queueOf(target);
    targetQueue.sent.push_back(sent);
    targetQueue.changed.notify_all();
    // While waiting, handle what others send to this thread, so that two threads
    // sending to each other do not lock up (the system does the same).
    while (!sent->done) {
        Queue& mine = queueOf(me);
        if (!mine.sent.empty()) {
            auto incoming = mine.sent.front();
            mine.sent.pop_front();
            handleSent(lock, incoming);
        } else {
            mine.changed.wait(lock);
        }
    }
    return sent->result;
}

void ThreadQueues::handleSent(std::unique_lock<std::mutex>& lock, const std::shared_ptr<SentMessage>& sent) {
    lock.unlock();
    const std::intptr_t result =
        windows_.deliver(sent->message.window, sent->message.message, sent->message.wParam, sent->message.lParam);
    lock.lock();
    sent->result = result;
    sent->done = true;
    queueOf(sent->sender).changed.notify_all();
}

bool ThreadQueues::takeMessage(std::unique_lock<std::mutex>& lock, ThreadId thread, Message& message) {
    for (;;) {
        Queue& queue = queueOf(thread);
        if (queue.sent.empty()) break;
        auto sent = queue.sent.front();
        queue.sent.pop_front();
        handleSent(lock, sent);
    }
    Queue& queue = queueOf(thread);
    const std::uint32_t now = windows_.tickCount();
    if (!queue.posted.empty()) {
        message = queue.posted.front();
        queue.posted.pop_front();
    } else if (queue.quitPending) {
        queue.quitPending = false;
        message = Message{};
        message.message = WM_QUIT;
        message.wParam = static_cast<std::uintptr_t>(queue.quitCode);
    } else {
        // Timers come last, and a late timer yields one message, not one per interval.
        auto due = std::find_if(timers_.begin(), timers_.end(), [&](const auto& entry) {
            return entry.second.thread == thread && isDue(now, entry.second.due);
        });
        if (due == timers_.end()) return false;
        due->second.due = now + due->second.interval;
        message = Message{};
        message.message = WM_TIMER;
        message.wParam = due->first;
        message.lParam = TimerMarker;
    }
    message.time = now;
    message.point = windows_.cursorPosition();
    return true;
}

std::optional<std::uint32_t> ThreadQueues::nextTimerDelay(ThreadId thread) const {
    // A clock that tests step wakes the loops itself (wakeAll); only the real clock
    // needs a timed wait.
    if (windows_.clockIsStepped()) return std::nullopt;
    const std::uint32_t now = windows_.tickCount();
    std::optional<std::uint32_t> best;
    for (const auto& [id, timer] : timers_) {
        if (timer.thread != thread) continue;
        const std::uint32_t delay = isDue(now, timer.due) ? 0 : timer.due - now;
        if (!best || delay < *best) best = delay;
    }
    return best;
}

void ThreadQueues::wait(std::unique_lock<std::mutex>& lock, Queue& queue, ThreadId thread,
                        std::optional<std::uint32_t> limit) {
    std::optional<std::uint32_t> delay = nextTimerDelay(thread);
    if (limit && (!delay || *limit < *delay)) delay = limit;
    if (delay) {
        queue.changed.wait_for(lock, std::chrono::milliseconds(*delay));
    } else {
        queue.changed.wait(lock);
    }
}

int ThreadQueues::getMessage(Message& message) {
    const ThreadId me = currentThreadId();
    std::unique_lock lock(mutex_);
    while (!takeMessage(lock, me, message)) wait(lock, queueOf(me), me, std::nullopt);
    return message.message == WM_QUIT ? 0 : 1;
}

bool ThreadQueues::peekMessage(Message& message) {
    const ThreadId me = currentThreadId();
    std::unique_lock lock(mutex_);
    return takeMessage(lock, me, message);
}

bool ThreadQueues::waitMessage(int milliseconds) {
    const ThreadId me = currentThreadId();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    std::unique_lock lock(mutex_);
    for (;;) {
        Queue& queue = queueOf(me);
        if (!queue.posted.empty() || !queue.sent.empty() || queue.quitPending) return true;
        if (nextTimerDelay(me) == std::optional<std::uint32_t>(0)) return true;
        if (windows_.clockIsStepped()) {
            const std::uint32_t now = windows_.tickCount();
            for (const auto& [id, timer] : timers_) {
                if (timer.thread == me && isDue(now, timer.due)) return true;
            }
        }
        std::optional<std::uint32_t> limit;
        if (milliseconds >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return false;
            limit = static_cast<std::uint32_t>(left.count());
        }
        wait(lock, queue, me, limit);
    }
}

std::intptr_t ThreadQueues::dispatchMessage(const Message& message) {
    if (message.window == WindowHandle::None) {
        if (message.message != WM_TIMER || message.lParam != TimerMarker) return 0;
        std::function<void()> callback;
        {
            std::lock_guard lock(mutex_);
            auto it = timers_.find(message.wParam);
            if (it == timers_.end()) return 0;
            callback = it->second.callback;
        }
        if (callback) callback();
        return 0;
    }
    return windows_.deliver(message.window, message.message, message.wParam, message.lParam);
}

void ThreadQueues::postQuitMessage(int exitCode) {
    std::lock_guard lock(mutex_);
    Queue& queue = queueOf(currentThreadId());
    queue.quitPending = true;
    queue.quitCode = exitCode;
    queue.changed.notify_all();
}

TimerId ThreadQueues::setTimer(std::uint32_t interval, std::function<void()> callback) {
    std::lock_guard lock(mutex_);
    const TimerId id = nextTimer_++;
    Timer timer;
    timer.thread = currentThreadId();
    timer.interval = std::max<std::uint32_t>(interval, 1);
    timer.due = windows_.tickCount() + timer.interval;
    timer.callback = std::move(callback);
    timers_.emplace(id, std::move(timer));
    queueOf(currentThreadId()).changed.notify_all();
    return id;
}

bool ThreadQueues::killTimer(TimerId timer) {
    std::lock_guard lock(mutex_);
    return timers_.erase(timer) > 0;
}

}  // namespace Arbor::Platform
