#include "framework/Platform/Headless/HeadlessWindowing.h"

#include <algorithm>
#include <atomic>
#include <chrono>

#include "framework/Platform/Messages.h"

namespace Arbor::Platform::Headless {

namespace {

std::atomic<ThreadId> lastThreadId{0};

// Marks a WM_TIMER of a thread timer (lParam), as the system marks it with the callback.
constexpr std::intptr_t TimerMarker = 1;

bool isDue(std::uint32_t now, std::uint32_t due) {
    return static_cast<std::int32_t>(now - due) >= 0;
}

std::uintptr_t idOf(WindowHandle window) { return static_cast<std::uintptr_t>(window); }
WindowHandle handleOf(std::uintptr_t id) { return static_cast<WindowHandle>(id); }

}  // namespace

HeadlessWindowing::HeadlessWindowing(HeadlessDesktop& desktop) : desktop_(desktop) {}

ThreadId HeadlessWindowing::currentThreadId() {
    thread_local const ThreadId id = ++lastThreadId;
    return id;
}

void HeadlessWindowing::reset() {
    std::lock_guard lock(mutex_);
    windows_.clear();
    zOrder_.clear();
    foreground_ = 0;
    timers_.clear();
    for (auto& [thread, queue] : queues_) {
        queue->posted.clear();
        queue->sent.clear();
        queue->quitPending = false;
    }
}

void HeadlessWindowing::wakeAll() {
    std::lock_guard lock(mutex_);
    for (auto& [thread, queue] : queues_) queue->changed.notify_all();
}

HeadlessWindowing::Queue& HeadlessWindowing::queueOf(ThreadId thread) {
    auto& slot = queues_[thread];
    if (!slot) slot = std::make_unique<Queue>();
    return *slot;
}

HeadlessWindowing::WindowRecord* HeadlessWindowing::find(WindowHandle window) {
    auto it = windows_.find(idOf(window));
    return it == windows_.end() ? nullptr : &it->second;
}

const HeadlessWindowing::WindowRecord* HeadlessWindowing::find(WindowHandle window) const {
    auto it = windows_.find(idOf(window));
    return it == windows_.end() ? nullptr : &it->second;
}

void HeadlessWindowing::unlink(std::uintptr_t id) {
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), id), zOrder_.end());
}

void HeadlessWindowing::insertAt(std::size_t index, std::uintptr_t id) {
    // Appending and rotating into place (rather than vector::insert) keeps g++'s
    // null-dereference analysis quiet at -O2.
    zOrder_.push_back(id);
    std::rotate(zOrder_.begin() + static_cast<std::ptrdiff_t>(std::min(index, zOrder_.size() - 1)),
                zOrder_.end() - 1, zOrder_.end());
}

void HeadlessWindowing::insertAtBandTop(std::uintptr_t id) {
    unlink(id);
    std::size_t index = 0;
    if (!windows_.at(id).state.topmost) {
        while (index < zOrder_.size() && windows_.at(zOrder_[index]).state.topmost) ++index;
    }
    insertAt(index, id);
}

// --- Windows

WindowHandle HeadlessWindowing::create(const WindowDescription& description) {
    std::uintptr_t id = 0;
    {
        std::lock_guard lock(mutex_);
        if (description.owner != WindowHandle::None && !find(description.owner)) return WindowHandle::None;
        id = nextWindow_++;
        WindowRecord record;
        record.state.handle = handleOf(id);
        record.state.className = description.className;
        record.state.title = description.title;
        record.state.bounds = description.bounds;
        record.state.style = description.style;
        record.state.exStyle = description.exStyle;
        record.state.topmost = (description.exStyle & WS_EX_TOPMOST) != 0;
        record.state.visible = (description.style & WS_VISIBLE) != 0;
        record.state.owner = description.owner;
        record.state.thread = currentThreadId();
        record.procedure = description.procedure;
        windows_.emplace(id, std::move(record));
        insertAtBandTop(id);
    }
    // As on the system, a procedure that answers -1 to WM_CREATE refuses the window.
    if (callProcedure(handleOf(id), WM_CREATE, 0, 0) == -1) {
        destroy(handleOf(id));
        return WindowHandle::None;
    }
    return handleOf(id);
}

bool HeadlessWindowing::destroy(WindowHandle window) {
    std::vector<std::uintptr_t> owned;
    {
        std::lock_guard lock(mutex_);
        WindowRecord* record = find(window);
        if (!record || record->destroying) return false;
        record->destroying = true;
        for (const auto& [id, other] : windows_) {
            if (other.state.owner == window) owned.push_back(id);
        }
    }
    // Owned windows go first, then the window hears WM_DESTROY while it still exists.
    for (std::uintptr_t id : owned) destroy(handleOf(id));
    callProcedure(window, WM_DESTROY, 0, 0);
    std::lock_guard lock(mutex_);
    unlink(idOf(window));
    windows_.erase(idOf(window));
    if (foreground_ == idOf(window)) foreground_ = 0;
    return true;
}

bool HeadlessWindowing::exists(WindowHandle window) const {
    std::lock_guard lock(mutex_);
    return find(window) != nullptr;
}

std::optional<WindowState> HeadlessWindowing::state(WindowHandle window) const {
    std::lock_guard lock(mutex_);
    const WindowRecord* record = find(window);
    if (!record) return std::nullopt;
    return record->state;
}

bool HeadlessWindowing::setTitle(WindowHandle window, std::u16string_view title) {
    std::lock_guard lock(mutex_);
    WindowRecord* record = find(window);
    if (!record) return false;
    record->state.title = std::u16string(title);
    return true;
}

bool HeadlessWindowing::show(WindowHandle window, bool visible, bool activate) {
    std::lock_guard lock(mutex_);
    WindowRecord* record = find(window);
    if (!record) return false;
    record->state.visible = visible;
    if (visible && activate) {
        foreground_ = idOf(window);
        insertAtBandTop(idOf(window));
    }
    return true;
}

bool HeadlessWindowing::setBounds(WindowHandle window, const Rect& bounds) {
    std::lock_guard lock(mutex_);
    WindowRecord* record = find(window);
    if (!record) return false;
    record->state.bounds = bounds;
    return true;
}

bool HeadlessWindowing::setZOrder(WindowHandle window, ZOrder where) {
    std::lock_guard lock(mutex_);
    WindowRecord* record = find(window);
    if (!record) return false;
    auto& state = record->state;
    switch (where) {
        case ZOrder::Top:
            insertAtBandTop(idOf(window));
            break;
        case ZOrder::Bottom:
            // The bottom is below every window; a topmost window loses that status.
            state.topmost = false;
            unlink(idOf(window));
            zOrder_.push_back(idOf(window));
            break;
        case ZOrder::Topmost:
            state.topmost = true;
            insertAtBandTop(idOf(window));
            break;
        case ZOrder::NoTopmost:
            if (state.topmost) {
                state.topmost = false;
                insertAtBandTop(idOf(window));
            }
            break;
    }
    state.exStyle = state.topmost ? (state.exStyle | WS_EX_TOPMOST) : (state.exStyle & ~WS_EX_TOPMOST);
    return true;
}

bool HeadlessWindowing::placeBelow(WindowHandle window, WindowHandle above) {
    std::lock_guard lock(mutex_);
    WindowRecord* record = find(window);
    const WindowRecord* reference = find(above);
    if (!record || !reference) return false;
    if (window == above) return true;
    // Joining a window's place means joining its band.
    record->state.topmost = reference->state.topmost;
    auto& state = record->state;
    state.exStyle = state.topmost ? (state.exStyle | WS_EX_TOPMOST) : (state.exStyle & ~WS_EX_TOPMOST);
    unlink(idOf(window));
    const auto at = std::find(zOrder_.begin(), zOrder_.end(), idOf(above));
    insertAt(static_cast<std::size_t>(at - zOrder_.begin()) + 1, idOf(window));
    return true;
}

bool HeadlessWindowing::setOwner(WindowHandle window, WindowHandle owner) {
    std::lock_guard lock(mutex_);
    WindowRecord* record = find(window);
    if (!record || window == owner) return false;
    if (owner != WindowHandle::None && !find(owner)) return false;
    record->state.owner = owner;
    return true;
}

bool HeadlessWindowing::setExStyle(WindowHandle window, std::uint32_t exStyle) {
    std::lock_guard lock(mutex_);
    WindowRecord* record = find(window);
    if (!record) return false;
    // The topmost bit follows the window's band; only z-order calls change it.
    const std::uint32_t topmostBit = record->state.exStyle & WS_EX_TOPMOST;
    record->state.exStyle = (exStyle & ~WS_EX_TOPMOST) | topmostBit;
    return true;
}

bool HeadlessWindowing::setForeground(WindowHandle window) {
    std::lock_guard lock(mutex_);
    if (!find(window)) return false;
    foreground_ = idOf(window);
    insertAtBandTop(idOf(window));
    return true;
}

WindowHandle HeadlessWindowing::foreground() const {
    std::lock_guard lock(mutex_);
    return handleOf(foreground_);
}

std::vector<WindowHandle> HeadlessWindowing::zOrder() const {
    std::lock_guard lock(mutex_);
    std::vector<WindowHandle> result;
    result.reserve(zOrder_.size());
    for (std::uintptr_t id : zOrder_) result.push_back(handleOf(id));
    return result;
}

bool HeadlessWindowing::presentPixels(WindowHandle window, int width, int height,
                                      const std::vector<std::uint32_t>& pixels) {
    if (width < 0 || height < 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return false;
    }
    std::lock_guard lock(mutex_);
    WindowRecord* record = find(window);
    if (!record) return false;
    record->state.pixelWidth = width;
    record->state.pixelHeight = height;
    record->state.pixels = pixels;
    return true;
}

// --- Queues

bool HeadlessWindowing::postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
    if (window == WindowHandle::None) return postThreadMessage(currentThreadId(), message, wParam, lParam);
    std::lock_guard lock(mutex_);
    const WindowRecord* record = find(window);
    if (!record) return false;
    Queue& queue = queueOf(record->state.thread);
    Message posted;
    posted.window = window;
    posted.message = message;
    posted.wParam = wParam;
    posted.lParam = lParam;
    queue.posted.push_back(posted);
    queue.changed.notify_all();
    return true;
}

bool HeadlessWindowing::postThreadMessage(ThreadId thread, std::uint32_t message, std::uintptr_t wParam,
                                          std::intptr_t lParam) {
    // Only threads that exist (have been given an id) have a queue.
    if (thread == 0 || thread > lastThreadId.load()) return false;
    std::lock_guard lock(mutex_);
    Queue& queue = queueOf(thread);
    Message posted;
    posted.message = message;
    posted.wParam = wParam;
    posted.lParam = lParam;
    queue.posted.push_back(posted);
    queue.changed.notify_all();
    return true;
}

std::intptr_t HeadlessWindowing::sendMessage(WindowHandle window, std::uint32_t message,
                                             std::uintptr_t wParam, std::intptr_t lParam) {
    const ThreadId me = currentThreadId();
    std::unique_lock lock(mutex_);
    const WindowRecord* record = find(window);
    if (!record) return 0;
    const ThreadId target = record->state.thread;
    if (target == me) {
        lock.unlock();
        return callProcedure(window, message, wParam, lParam);
    }
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

void HeadlessWindowing::handleSent(std::unique_lock<std::mutex>& lock, const std::shared_ptr<SentMessage>& sent) {
    lock.unlock();
    const std::intptr_t result =
        callProcedure(sent->message.window, sent->message.message, sent->message.wParam, sent->message.lParam);
    lock.lock();
    sent->result = result;
    sent->done = true;
    queueOf(sent->sender).changed.notify_all();
}

bool HeadlessWindowing::takeMessage(std::unique_lock<std::mutex>& lock, ThreadId thread, Message& message) {
    for (;;) {
        Queue& queue = queueOf(thread);
        if (queue.sent.empty()) break;
        auto sent = queue.sent.front();
        queue.sent.pop_front();
        handleSent(lock, sent);
    }
    Queue& queue = queueOf(thread);
    const std::uint32_t now = desktop_.tickCount();
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
    message.point = desktop_.cursorPosition();
    return true;
}

std::optional<std::uint32_t> HeadlessWindowing::nextTimerDelay(ThreadId thread) const {
    // A clock that tests step wakes the loops itself (wakeAll); only the real clock
    // needs a timed wait.
    if (desktop_.isClockSet()) return std::nullopt;
    const std::uint32_t now = desktop_.tickCount();
    std::optional<std::uint32_t> best;
    for (const auto& [id, timer] : timers_) {
        if (timer.thread != thread) continue;
        const std::uint32_t delay = isDue(now, timer.due) ? 0 : timer.due - now;
        if (!best || delay < *best) best = delay;
    }
    return best;
}

void HeadlessWindowing::wait(std::unique_lock<std::mutex>& lock, Queue& queue, ThreadId thread,
                             std::optional<std::uint32_t> limit) {
    std::optional<std::uint32_t> delay = nextTimerDelay(thread);
    if (limit && (!delay || *limit < *delay)) delay = limit;
    if (delay) {
        queue.changed.wait_for(lock, std::chrono::milliseconds(*delay));
    } else {
        queue.changed.wait(lock);
    }
}

int HeadlessWindowing::getMessage(Message& message) {
    const ThreadId me = currentThreadId();
    std::unique_lock lock(mutex_);
    while (!takeMessage(lock, me, message)) wait(lock, queueOf(me), me, std::nullopt);
    return message.message == WM_QUIT ? 0 : 1;
}

bool HeadlessWindowing::peekMessage(Message& message) {
    const ThreadId me = currentThreadId();
    std::unique_lock lock(mutex_);
    return takeMessage(lock, me, message);
}

bool HeadlessWindowing::waitMessage(int milliseconds) {
    const ThreadId me = currentThreadId();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    std::unique_lock lock(mutex_);
    for (;;) {
        Queue& queue = queueOf(me);
        if (!queue.posted.empty() || !queue.sent.empty() || queue.quitPending) return true;
        if (nextTimerDelay(me) == std::optional<std::uint32_t>(0)) return true;
        if (desktop_.isClockSet()) {
            const std::uint32_t now = desktop_.tickCount();
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

std::intptr_t HeadlessWindowing::callProcedure(WindowHandle window, std::uint32_t message,
                                               std::uintptr_t wParam, std::intptr_t lParam) {
    WindowProcedure procedure;
    {
        std::lock_guard lock(mutex_);
        const WindowRecord* record = find(window);
        if (!record) return 0;
        procedure = record->procedure;
    }
    if (procedure) {
        if (auto result = procedure(window, message, wParam, lParam)) return *result;
    }
    return defaultProcedure(window, message);
}

std::intptr_t HeadlessWindowing::defaultProcedure(WindowHandle window, std::uint32_t message) {
    if (message == WM_CLOSE) destroy(window);
    return 0;
}

std::intptr_t HeadlessWindowing::dispatchMessage(const Message& message) {
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
    return callProcedure(message.window, message.message, message.wParam, message.lParam);
}

void HeadlessWindowing::postQuitMessage(int exitCode) {
    std::lock_guard lock(mutex_);
    Queue& queue = queueOf(currentThreadId());
    queue.quitPending = true;
    queue.quitCode = exitCode;
    queue.changed.notify_all();
}

TimerId HeadlessWindowing::setTimer(std::uint32_t interval, std::function<void()> callback) {
    std::lock_guard lock(mutex_);
    const TimerId id = nextTimer_++;
    Timer timer;
    timer.thread = currentThreadId();
    timer.interval = std::max<std::uint32_t>(interval, 1);
    timer.due = desktop_.tickCount() + timer.interval;
    timer.callback = std::move(callback);
    timers_.emplace(id, std::move(timer));
    queueOf(currentThreadId()).changed.notify_all();
    return id;
}

bool HeadlessWindowing::killTimer(TimerId timer) {
    std::lock_guard lock(mutex_);
    return timers_.erase(timer) > 0;
}

}  // namespace Arbor::Platform::Headless
