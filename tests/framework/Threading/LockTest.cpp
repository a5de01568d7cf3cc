#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "support/BackendTest.h"
#include "framework/Threading/CriticalSection.h"
#include "framework/Threading/Event.h"
#include "framework/Threading/Mutex.h"

using namespace Arbor::Threading;

namespace {

// A name no other test run shares, so parallel runs do not meet.
std::u16string uniqueName(const char16_t* base) {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    std::u16string name = base;
    for (char c : std::to_string(stamp) + "-" + std::to_string(counter++)) name += static_cast<char16_t>(c);
    return name;
}

class MutexTest : public Testing::BackendTest {};

}  // namespace

TEST(CriticalSection, IsRecursiveAndExcludesOtherThreads) {
    CriticalSection section;
    section.enter();
    section.enter();  // the owner may enter again
    std::atomic<bool> entered{false};
    std::thread other([&] {
        CriticalSectionLock lock(section);
        entered = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(entered.load());
    section.leave();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(entered.load()) << "one leave must not release two enters";
    section.leave();
    other.join();
    EXPECT_TRUE(entered.load());
}

TEST_P(MutexTest, SecondCreateOfTheSameNameAnswersAlreadyExisted) {
    const std::u16string name = uniqueName(u"ArborTestMutex_");
    Mutex first;
    Mutex second;
    EXPECT_EQ(first.create(name), AbstractMutex::Created);
    EXPECT_EQ(second.create(name), AbstractMutex::AlreadyExisted);
    second.release();
    first.release();
    // Once every handle is closed the name is free again.
    Mutex third;
    EXPECT_EQ(third.create(name), AbstractMutex::Created);
}

TEST_P(MutexTest, LockWaitsUntilTheOwnerReleases) {
    const std::u16string name = uniqueName(u"ArborTestMutexWait_");
    Mutex owner;
    ASSERT_EQ(owner.create(name), AbstractMutex::Created);
    std::atomic<bool> locked{false};
    Event created(true);
    std::thread waiter([&] {
        Mutex other;
        EXPECT_EQ(other.create(name), AbstractMutex::AlreadyExisted);
        created.set();
        EXPECT_TRUE(other.lock());
        locked = true;
        other.release();
    });
    ASSERT_EQ(created.wait(5000), AbstractEvent::Signalled);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(locked.load());
    owner.release();
    waiter.join();
    EXPECT_TRUE(locked.load());
}

TEST_P(MutexTest, DifferentNamesDoNotMeet) {
    Mutex a;
    Mutex b;
    EXPECT_EQ(a.create(uniqueName(u"ArborTestA_")), AbstractMutex::Created);
    EXPECT_EQ(b.create(uniqueName(u"ArborTestB_")), AbstractMutex::Created);
    EXPECT_TRUE(a.lock());
}

TEST(Mutex, LockWithoutCreateFails) {
    Mutex mutex;
    EXPECT_FALSE(mutex.lock());
}

TAVIZO_INSTANTIATE_FOR_BACKENDS(MutexTest);
