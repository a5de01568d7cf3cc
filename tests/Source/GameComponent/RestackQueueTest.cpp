// The restack step works off its requests with the queue's lock released.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "Source/GameComponent/DesktopObject.h"
#include "Source/GameComponent/RestackQueue.h"

using namespace Quenta::GameComponent;

namespace {

// An object whose attachTo runs extra work after moving, as a view object's restack
// does (it sends messages to the user-interface thread, whose handlers may queue).
class HookedObject : public GameObject {
public:
    void attachTo(GameObject& parent) override {
        GameObject::attachTo(parent);
        if (afterAttach) afterAttach();
    }
    std::function<void()> afterAttach;
};

struct RestackQueueTest : ::testing::Test {
    void TearDown() override {
        desktop.deleteChildren();
        queue.apply();
    }
    RestackQueue& queue = RestackQueue::instance();
    DesktopObject desktop;
};

}  // namespace

TEST_F(RestackQueueTest, AnAttachMayQueueAnotherRequestForTheNextStep) {
    auto& a = desktop.adopt(std::make_unique<GameObject>());
    auto& b = desktop.adopt(std::make_unique<GameObject>());
    auto& hooked = static_cast<HookedObject&>(desktop.adopt(std::make_unique<HookedObject>()));
    // Another thread queues while the attach runs, as a handler on the user-interface
    // thread would: with the queue's lock held over attachTo it would have to wait for
    // the whole step.
    std::thread other;
    std::atomic<bool> pushed{false};
    bool pushedDuringTheAttach = false;
    hooked.afterAttach = [&] {
        other = std::thread([&] {
            queue.push(a, b);
            pushed = true;
        });
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!pushed && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        pushedDuringTheAttach = pushed;
    };
    queue.push(a, hooked);
    queue.apply();
    other.join();
    EXPECT_EQ(hooked.parent(), &a);
    EXPECT_TRUE(pushedDuringTheAttach);
    // Queued during the step: waits for the next one.
    EXPECT_EQ(b.parent(), &desktop);
    EXPECT_EQ(queue.size(), 1u);
    hooked.afterAttach = nullptr;
    queue.apply();
    EXPECT_EQ(b.parent(), &a);
    EXPECT_EQ(queue.size(), 0u);
}

TEST_F(RestackQueueTest, AnObjectDeletedDuringTheStepLosesItsLaterRequests) {
    auto& target = desktop.adopt(std::make_unique<GameObject>());
    auto& holder = desktop.adopt(std::make_unique<GameObject>());
    auto& hooked = static_cast<HookedObject&>(desktop.adopt(std::make_unique<HookedObject>()));
    auto& doomed = holder.adopt(std::make_unique<GameObject>());
    auto& survivor = desktop.adopt(std::make_unique<GameObject>());
    // The first request's attach deletes an object that the second names (the
    // sanitizer build sees any use of it); the third still runs.
    hooked.afterAttach = [&] { holder.deleteChildren(); };
    queue.push(target, hooked);
    queue.push(target, doomed);
    queue.push(target, survivor);
    queue.apply();
    ASSERT_EQ(target.children().size(), 2u);
    EXPECT_EQ(target.children()[0], &hooked);
    EXPECT_EQ(target.children()[1], &survivor);
    EXPECT_TRUE(holder.children().empty());
}
