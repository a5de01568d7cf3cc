// Programs launched for characters: real processes on every backend.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "Source/Common/ProcessManager.h"
#include "Source/GameComponent/CharacterObject.h"
#include "framework/Platform/Backend.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Window.h"

using namespace Quenta;
using Common::ProcessManager;
using GameComponent::CharacterCommand;
using GameComponent::CharacterObject;

namespace {

#if defined(_WIN32)
const std::u16string quickProgram = u"cmd.exe /c exit 3";
std::u16string sleepingProgram(int seconds) {
    return u"cmd.exe /c ping -n " + std::u16string(1, static_cast<char16_t>(u'0' + seconds + 1)) + u" 127.0.0.1";
}
#else
const std::u16string quickProgram = u"/bin/sh -c \"exit 3\"";
std::u16string sleepingProgram(int seconds) {
    return u"sleep " + std::u16string(1, static_cast<char16_t>(u'0' + seconds));
}
#endif

bool waitFinished(const Common::ProcessThread& thread) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!thread.isFinished()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace

TEST(ProcessManager, CompletionGoesToTheLaunchingCharacter) {
    CharacterObject launcher(u"launcher"), other(u"other");
    ProcessManager manager;
    EXPECT_EQ(ProcessManager::current(), &manager);
    auto thread = manager.launch(u"", quickProgram, &launcher, CharacterCommand{u"OnFinished", u"1"});
    ASSERT_TRUE(waitFinished(*thread));
    EXPECT_NE(thread->processId(), 0u);
    // Delivered through the command queue: it runs at the character's next input phase.
    EXPECT_TRUE(launcher.executedCommands().empty());
    launcher.inputPhase();
    other.inputPhase();
    EXPECT_EQ(launcher.executedCommands(), (std::vector<CharacterCommand>{{u"OnFinished", u"1"}}));
    EXPECT_TRUE(other.executedCommands().empty());
    EXPECT_EQ(manager.runningCount(), 0u);
    if (Arbor::Platform::currentBackendName() == "Headless") {
        bool recorded = false;
        for (const auto& r : Arbor::Platform::Headless::HeadlessDesktop::instance().processLaunches()) {
            recorded = recorded || (r.commandLine == quickProgram && r.started);
        }
        EXPECT_TRUE(recorded);
    }
}

TEST(ProcessManager, AProgramThatCannotStartYieldsNothing) {
    CharacterObject launcher(u"launcher");
    ProcessManager manager;
    auto thread = manager.launch(u"", u"/no/such/program/anywhere --x", &launcher, CharacterCommand{u"OnFinished"});
    ASSERT_TRUE(waitFinished(*thread));
    launcher.inputPhase();
    EXPECT_TRUE(launcher.executedCommands().empty());
}

TEST(ProcessManager, CompletionForADeletedCharacterIsDropped) {
    CharacterObject bystander(u"bystander");
    auto launcher = std::make_unique<CharacterObject>(u"launcher");
    ProcessManager manager;
    auto thread = manager.launch(u"", sleepingProgram(1), launcher.get(), CharacterCommand{u"OnFinished"});
    // Deleted while its program runs: the completion must go nowhere (and touch no
    // freed memory, which the sanitizer build checks).
    launcher.reset();
    ASSERT_TRUE(waitFinished(*thread));
    EXPECT_NE(thread->processId(), 0u);
    bystander.inputPhase();
    EXPECT_TRUE(bystander.executedCommands().empty());
}

TEST(ProcessManager, CloseAllWaitsForRunningPrograms) {
    CharacterObject launcher(u"launcher");
    auto manager = std::make_unique<ProcessManager>();
    auto thread = manager->launch(u"", sleepingProgram(1), &launcher, CharacterCommand{u"OnFinished"});
    while (thread->processId() == 0 && !thread->isFinished()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(manager->runningCount(), 1u);
    // Deleting the manager is the exit sequence's close-all.
    manager.reset();
    EXPECT_TRUE(thread->isFinished());
    EXPECT_EQ(ProcessManager::current(), nullptr);
    launcher.inputPhase();
    EXPECT_EQ(launcher.executedCommands().size(), 1u);
}

TEST(ProcessManager, CloseAllGivesUpOnAProgramThatKeepsRunning) {
    CharacterObject launcher(u"launcher");
    ProcessManager manager;
    auto thread = manager.launch(u"", sleepingProgram(4), &launcher, CharacterCommand{u"OnFinished"});
    while (thread->processId() == 0 && !thread->isFinished()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(manager.closeAll(200));
    // It stopped waiting long before the program would have ended.
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(3));
    EXPECT_TRUE(thread->isFinished());
    launcher.inputPhase();
    EXPECT_TRUE(launcher.executedCommands().empty());
}

#if defined(_WIN32)
TEST(ProcessManager, CloseAllAsksAProgramWithAWindowToClose) {
    if (Arbor::Platform::currentBackendName() != "Win32") GTEST_SKIP();
    CharacterObject launcher(u"launcher");
    ProcessManager manager;
    auto thread = manager.launch(u"", u"notepad.exe", &launcher, CharacterCommand{u"OnFinished"});
    auto& windows = Arbor::Platform::windowService();
    auto shown = [&] {
        if (thread->processId() == 0) return false;
        for (auto w : windows.topLevelWindows()) {
            if (windows.processIdOf(w) == thread->processId() && windows.isVisible(w)) return true;
        }
        return false;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline && !shown()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(shown());
    manager.bringToFront();
    EXPECT_TRUE(manager.closeAll());
    launcher.inputPhase();
    EXPECT_EQ(launcher.executedCommands().size(), 1u);
}
#endif
