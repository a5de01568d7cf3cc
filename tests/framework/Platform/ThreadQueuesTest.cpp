// The queue emulation on its own, behind a window system of two windows on two
// threads: what X11 will build on.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

#include "framework/Platform/Messages.h"
#include "framework/Platform/ThreadQueues.h"

using namespace Arbor::Platform;

namespace {

constexpr WindowHandle windowA = static_cast<WindowHandle>(1);
constexpr WindowHandle windowB = static_cast<WindowHandle>(2);

// Window A belongs to the test thread, B to a second thread. A message to B with
// wParam 1 makes B send to A before it answers: a send back to a sender that waits.
class TwoWindows : public ThreadQueues::Windows {
public:
    std::intptr_t deliver(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) override {
        if (window == windowA) return 100 + static_cast<std::intptr_t>(wParam);
        if (window == windowB && message == WM_APP) {
            const std::intptr_t inner = wParam == 1 ? queues->send(threadA, windowA, WM_APP, 5, 0) : 0;
            return inner + lParam;
        }
        return 0;
    }
    std::uint32_t tickCount() override { return 0; }
    bool clockIsStepped() override { return true; }
    Point cursorPosition() override { return Point{7, 8}; }

    ThreadQueues* queues = nullptr;
    ThreadId threadA = 0;
};

// Fails the whole program instead of hanging when two threads lock each other up.
class Watchdog {
public:
    Watchdog()
        : thread_([this] {
              std::unique_lock lock(mutex_);
              if (!done_.wait_for(lock, std::chrono::seconds(20), [this] { return finished_; })) {
                  std::fputs("ThreadQueues: threads sending to each other locked up\n", stderr);
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_all();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

}  // namespace

TEST(ThreadQueues, SendsAcrossThreadsAreHandledWhileTheSenderWaits) {
    Watchdog watchdog;
    TwoWindows windows;
    ThreadQueues queues(windows);
    windows.queues = &queues;
    windows.threadA = ThreadQueues::currentThreadId();
    std::atomic<ThreadId> threadB{0};
    std::thread b([&] {
        threadB = ThreadQueues::currentThreadId();
        Message message;
        while (queues.getMessage(message) > 0) queues.dispatchMessage(message);
    });
    while (threadB == 0) std::this_thread::yield();

    EXPECT_EQ(queues.send(threadB, windowB, WM_APP, 0, 20), 20);
    // B answers only after its own send to A came back, which A handles while waiting.
    EXPECT_EQ(queues.send(threadB, windowB, WM_APP, 1, 20), 125);
    EXPECT_EQ(queues.send(windows.threadA, windowA, WM_APP, 2, 0), 102) << "a send to oneself is a call";

    ASSERT_TRUE(queues.post(windows.threadA, windowA, WM_APP + 1, 3, 4));
    Message posted;
    ASSERT_TRUE(queues.peekMessage(posted));
    EXPECT_EQ(posted.window, windowA);
    EXPECT_EQ(posted.wParam, 3u);
    EXPECT_EQ(posted.point, (Point{7, 8}));
    EXPECT_FALSE(queues.post(0, windowA, WM_APP, 0, 0)) << "no thread has id 0";

    ASSERT_TRUE(queues.post(threadB, WindowHandle::None, WM_QUIT, 0, 0));
    b.join();
}
