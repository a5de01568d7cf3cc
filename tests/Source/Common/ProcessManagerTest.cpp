// Programs launched for characters: real processes on every backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Source/Common/ProcessManager.h"
#include "Source/GameComponent/CharacterObject.h"
#include "Source/Interpreter/ScriptCommand.h"
#include "framework/Platform/Backend.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Messages.h"
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

// The completion command of these tests: a call the character's script runs.
CharacterCommand onFinished() {
    return Interpreter::makeCommandLine(u"OnFinished", std::vector<Interpreter::Token>{
                                                          Interpreter::Token(Interpreter::TokenKind::Number, 1, u"1")});
}

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
    auto thread = manager.launch(u"", quickProgram, &launcher, onFinished());
    ASSERT_TRUE(waitFinished(*thread));
    EXPECT_NE(thread->processId(), 0u);
    // Delivered through the command queue: it runs at the character's next input phase.
    EXPECT_EQ(launcher.pendingCommands(), 1u);
    EXPECT_EQ(other.pendingCommands(), 0u);
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
    auto thread = manager.launch(u"", u"/no/such/program/anywhere --x", &launcher, onFinished());
    ASSERT_TRUE(waitFinished(*thread));
    EXPECT_EQ(launcher.pendingCommands(), 0u);
}

TEST(ProcessManager, CompletionForADeletedCharacterIsDropped) {
    CharacterObject bystander(u"bystander");
    auto launcher = std::make_unique<CharacterObject>(u"launcher");
    ProcessManager manager;
    auto thread = manager.launch(u"", sleepingProgram(1), launcher.get(), onFinished());
    // Deleted while its program runs: the completion must go nowhere (and touch no
    // freed memory, which the sanitizer build checks).
    launcher.reset();
    ASSERT_TRUE(waitFinished(*thread));
    EXPECT_NE(thread->processId(), 0u);
    EXPECT_EQ(bystander.pendingCommands(), 0u);
}

TEST(ProcessManager, CloseAllWaitsForRunningPrograms) {
    CharacterObject launcher(u"launcher");
    auto manager = std::make_unique<ProcessManager>();
    auto thread = manager->launch(u"", sleepingProgram(1), &launcher, onFinished());
    while (thread->processId() == 0 && !thread->isFinished()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(manager->runningCount(), 1u);
    // Deleting the manager is the exit sequence's close-all.
    manager.reset();
    EXPECT_TRUE(thread->isFinished());
    EXPECT_EQ(ProcessManager::current(), nullptr);
    EXPECT_EQ(launcher.pendingCommands(), 1u);
}

TEST(ProcessManager, CloseAllGivesUpOnAProgramThatKeepsRunning) {
    CharacterObject launcher(u"launcher");
    ProcessManager manager;
    auto thread = manager.launch(u"", sleepingProgram(4), &launcher, onFinished());
    while (thread->processId() == 0 && !thread->isFinished()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(manager.closeAll(200));
    // It stopped waiting long before the program would have ended.
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(3));
    EXPECT_TRUE(thread->isFinished());
    EXPECT_EQ(launcher.pendingCommands(), 0u);
}

TEST(ProcessManager, BringToFrontRaisesTheOwnerOfTheProgramsVisibleWindow) {
    if (Arbor::Platform::currentBackendName() != "Headless") GTEST_SKIP();
    auto& desktop = Arbor::Platform::Headless::HeadlessDesktop::instance();
    desktop.reset();
    // No character: its window would stand in the desktop's stacking below.
    ProcessManager manager;
    auto thread = manager.launch(u"", sleepingProgram(1), nullptr, onFinished());
    while (thread->processId() == 0 && !thread->isFinished()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_NE(thread->processId(), 0u);
    // The program's windows, made to stand for it on the virtual desktop: a hidden
    // helper window on top, then a visible window whose owner lies below everything.
    auto& windows = Arbor::Platform::windowService();
    auto make = [&](Arbor::Platform::WindowHandle owner, bool visible) {
        Arbor::Platform::WindowDescription d;
        d.owner = owner;
        d.style = visible ? Arbor::Platform::WS_VISIBLE : 0;
        const auto w = windows.create(d);
        desktop.setWindowProcessId(w, thread->processId());
        return w;
    };
    const auto owner = make(Arbor::Platform::WindowHandle::None, false);
    const auto shown = make(owner, true);
    const auto helper = make(Arbor::Platform::WindowHandle::None, false);
    Arbor::Platform::WindowDescription own;
    own.style = Arbor::Platform::WS_VISIBLE;
    const auto mine = windows.create(own);
    windows.setZOrder(owner, Arbor::Platform::ZOrder::Bottom);
    windows.setZOrder(shown, Arbor::Platform::ZOrder::Top);
    windows.setZOrder(helper, Arbor::Platform::ZOrder::Top);
    windows.setZOrder(mine, Arbor::Platform::ZOrder::Top);
    ASSERT_EQ(desktop.zOrder(), (std::vector<Arbor::Platform::WindowHandle>{mine, helper, shown, owner}));

    manager.bringToFront();
    ASSERT_FALSE(desktop.zOrder().empty());
    EXPECT_EQ(desktop.zOrder().front(), owner);
    EXPECT_TRUE(windows.isVisible(owner));
    EXPECT_FALSE(windows.isTopmost(owner));
    EXPECT_FALSE(windows.isVisible(helper));
    manager.closeAll(0);
    desktop.reset();
}

#if defined(_WIN32)
TEST(ProcessManager, CloseAllAsksAProgramWithAWindowToClose) {
    if (Arbor::Platform::currentBackendName() != "Win32") GTEST_SKIP();
    CharacterObject launcher(u"launcher");
    ProcessManager manager;
    auto thread = manager.launch(u"", u"notepad.exe", &launcher, onFinished());
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
    // Raising puts the program (its window, or the window that owns it) above ours.
    const auto program = windows.firstTopLevelWindowOf(thread->processId());
    const auto raised = windows.parent(program) != Arbor::Platform::WindowHandle::None ? windows.parent(program) : program;
    Arbor::Platform::WindowDescription own;
    own.title = u"ArborBringToFrontProbe";
    own.style = Arbor::Platform::WS_POPUP | Arbor::Platform::WS_VISIBLE;
    own.bounds = Arbor::Platform::Rect{0, 0, 20, 20};
    const auto mine = windows.create(own);
    ASSERT_NE(mine, Arbor::Platform::WindowHandle::None);
    windows.setZOrder(mine, Arbor::Platform::ZOrder::Top);
    auto rank = [&](Arbor::Platform::WindowHandle w) {
        const auto all = windows.topLevelWindows();
        return std::find(all.begin(), all.end(), w) - all.begin();
    };
    ASSERT_LT(rank(mine), rank(raised));
    manager.bringToFront();
    EXPECT_LT(rank(raised), rank(mine));
    EXPECT_TRUE(windows.isVisible(raised));
    windows.destroy(mine);
    EXPECT_TRUE(manager.closeAll());
    EXPECT_EQ(launcher.pendingCommands(), 1u);
}
#endif
