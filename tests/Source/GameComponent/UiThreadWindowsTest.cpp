// Windows asked for on another thread are made, and destroyed, on the user-interface
// thread, on every backend.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "Source/GameComponent/UiThreadWindows.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/Window.h"

using namespace Arbor::Platform;
using Quenta::GameComponent::UiThreadWindows;

namespace {

// Runs `work` on a thread of its own while this thread pumps its messages, as the
// user-interface thread does, until the work is done.
void onOtherThreadWhilePumping(const std::function<void()>& work) {
    std::atomic<bool> done{false};
    std::thread other([&] {
        work();
        done = true;
    });
    MessageQueueService& queue = messageQueueService();
    while (!done) {
        Message message;
        while (queue.peekMessage(message)) queue.dispatchMessage(message);
        queue.waitMessage(5);
    }
    other.join();
}

}  // namespace

TEST(UiThreadWindows, AWindowAskedForOnAnotherThreadBelongsToTheUserInterfaceThread) {
    WindowService& windows = windowService();
    const ThreadId uiThread = messageQueueService().currentThreadId();
    WindowHandle made = WindowHandle::None;
    {
        UiThreadWindows ui;
        ASSERT_EQ(UiThreadWindows::current(), &ui);
        ThreadId askedFrom{};
        onOtherThreadWhilePumping([&] {
            askedFrom = messageQueueService().currentThreadId();
            WindowDescription description;
            description.title = u"balloon";
            description.style = WS_POPUP;
            made = UiThreadWindows::create(description);
        });
        ASSERT_NE(made, WindowHandle::None);
        EXPECT_NE(askedFrom, uiThread);
        EXPECT_EQ(windows.threadIdOf(made), uiThread);
        EXPECT_EQ(windows.title(made), u"balloon");

        bool destroyed = false;
        onOtherThreadWhilePumping([&] { destroyed = UiThreadWindows::destroy(made); });
        EXPECT_TRUE(destroyed);
        EXPECT_FALSE(windows.exists(made));
    }
    EXPECT_EQ(UiThreadWindows::current(), nullptr);
}
