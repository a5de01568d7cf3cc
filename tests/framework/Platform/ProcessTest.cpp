// Launching, waiting for and closing real child processes, on every backend.
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "framework/Platform/Backend.h"
#include "framework/Platform/Folders.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/Process.h"
#include "framework/Platform/Window.h"
#include "framework/Threading/Mutex.h"
#include "support/BackendTest.h"

using namespace Arbor::Platform;

namespace {

#if defined(_WIN32)
const std::u16string exitThreeCommand = u"cmd.exe /c exit 3";
#else
const std::u16string exitThreeCommand = u"/bin/sh -c \"exit 3\"";
#endif

// A command line that runs one of this executable's disabled helper tests below.
std::u16string helperCommand(const std::u16string& test) {
    return u"\"" + folderService().executablePath() +
           u"\" --gtest_also_run_disabled_tests --gtest_filter=ProcessHelper.DISABLED_" + test;
}

// A mutex name that this build's test program and its children share, and no other
// build's (test runs of several build folders may meet on one machine).
std::u16string sharedMutexName() {
    std::uint32_t hash = 2166136261u;
    for (char16_t c : folderService().executablePath()) hash = (hash ^ c) * 16777619u;
    std::u16string name = u"ArborCrossProcessTest_";
    for (char c : std::to_string(hash)) name += static_cast<char16_t>(c);
    return name;
}

int runHelper(const std::u16string& test) {
    ProcessHandle child;
    if (!processService().createProcess(u"", helperCommand(test), child)) return -1;
    int result = -2;
    std::uint32_t code = 0;
    if (processService().waitForProcess(child, 60000) == ProcessService::Ended &&
        processService().exitCode(child, code)) {
        result = static_cast<int>(code);
    }
    processService().closeProcess(child);
    return result;
}

class ProcessTest : public Testing::BackendTest {
protected:
    void TearDown() override {
        if (child_.isOpen()) processService().closeProcess(child_);
        Testing::BackendTest::TearDown();
    }
    ProcessHandle child_;
};

}  // namespace

// Helpers run as child processes by the tests below; never on their own.
TEST(ProcessHelper, DISABLED_SleepABit) { std::this_thread::sleep_for(std::chrono::milliseconds(1500)); }

TEST(ProcessHelper, DISABLED_WindowUntilClosed) {
    // A program with one titled window that ends when the window is closed, or after
    // 20 s whatever happens.
    chooseBackend();
    WindowDescription description;
    description.title = u"ArborChildWindow";
    description.bounds = Rect{0, 0, 50, 50};
    description.style = WS_POPUP | WS_VISIBLE;
    description.procedure = [](WindowHandle, std::uint32_t message, std::uintptr_t,
                               std::intptr_t) -> std::optional<std::intptr_t> {
        if (message == WM_DESTROY) messageQueueService().postQuitMessage(5);
        return std::nullopt;
    };
    ASSERT_NE(windowService().create(description), WindowHandle::None);
    messageQueueService().setTimer(20000, [] { messageQueueService().postQuitMessage(9); });
    Message message;
    while (messageQueueService().getMessage(message) > 0) messageQueueService().dispatchMessage(message);
    EXPECT_EQ(message.wParam, 5u) << "ended by the 20 s timer instead of a close";
}

TEST(ProcessHelper, DISABLED_MutexIsHeldElsewhere) {
    Arbor::Threading::Mutex mutex;
    EXPECT_EQ(mutex.create(sharedMutexName()), Arbor::Threading::AbstractMutex::AlreadyExisted);
}

TEST(ProcessHelper, DISABLED_MutexIsFree) {
    Arbor::Threading::Mutex mutex;
    EXPECT_EQ(mutex.create(sharedMutexName()), Arbor::Threading::AbstractMutex::Created);
}

TEST_P(ProcessTest, NamedMutexIsSeenByAnotherProcess) {
    {
        Arbor::Threading::Mutex mutex;
        ASSERT_EQ(mutex.create(sharedMutexName()), Arbor::Threading::AbstractMutex::Created);
        EXPECT_EQ(runHelper(u"MutexIsHeldElsewhere"), 0);
    }
    EXPECT_EQ(runHelper(u"MutexIsFree"), 0);
}

TEST_P(ProcessTest, LaunchWaitAndExitCode) {
    auto& processes = processService();
    ASSERT_TRUE(processes.createProcess(u"", exitThreeCommand, child_));
    EXPECT_NE(child_.id, 0u);
    EXPECT_NE(child_.id, processes.currentProcessId());
    EXPECT_EQ(processes.waitForProcess(child_, 30000), ProcessService::Ended);
    std::uint32_t code = 0;
    ASSERT_TRUE(processes.exitCode(child_, code));
    EXPECT_EQ(code, 3u);
    processes.closeProcess(child_);
    EXPECT_FALSE(child_.isOpen());
    EXPECT_EQ(processes.waitForProcess(child_, 0), ProcessService::Failed);
}

TEST_P(ProcessTest, WaitTimesOutWhileTheProgramRuns) {
    auto& processes = processService();
    ASSERT_TRUE(processes.createProcess(u"", helperCommand(u"SleepABit"), child_));
    EXPECT_EQ(processes.waitForProcess(child_, 0), ProcessService::TimedOut);
    std::uint32_t code = 0;
    EXPECT_FALSE(processes.exitCode(child_, code)) << "no exit code while running";

    // Another handle, opened by id, sees the same process end.
    ProcessHandle opened;
    ASSERT_TRUE(processes.openProcess(child_.id, opened));
    EXPECT_EQ(processes.waitForProcess(opened, -1), ProcessService::Ended);
    processes.closeProcess(opened);
    EXPECT_EQ(processes.waitForProcess(child_, 30000), ProcessService::Ended);
    ASSERT_TRUE(processes.exitCode(child_, code));
    EXPECT_EQ(code, 0u);
}

TEST_P(ProcessTest, AMissingProgramFailsAndOpensNothing) {
    auto& processes = processService();
    EXPECT_FALSE(processes.createProcess(u"", u"arbor-no-such-program-4711 --flag", child_));
    EXPECT_FALSE(child_.isOpen());
    EXPECT_FALSE(processes.createProcess(u"", u"", child_));
    ProcessHandle none;
    EXPECT_FALSE(processes.openProcess(0, none));
}

TEST_P(ProcessTest, HeadlessRecordsEveryLaunch) {
    if (!isHeadless()) GTEST_SKIP() << "the record belongs to the virtual desktop";
    auto& desktop = Headless::HeadlessDesktop::instance();
    desktop.reset();
    ProcessHandle missing;
    EXPECT_FALSE(processService().createProcess(u"", u"arbor-no-such-program-4711", missing));
    ASSERT_TRUE(processService().createProcess(u"", exitThreeCommand, child_));
    auto launches = desktop.processLaunches();
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[0].commandLine, u"arbor-no-such-program-4711");
    EXPECT_FALSE(launches[0].started);
    EXPECT_EQ(launches[1].commandLine, exitThreeCommand);
    EXPECT_TRUE(launches[1].started);
    EXPECT_EQ(launches[1].processId, child_.id);
    processService().waitForProcess(child_, 30000);
}

TEST_P(ProcessTest, CloseReachesTheTopLevelWindowOfAnotherProcess) {
    // A headless desktop belongs to one process: another one's windows are not on it.
    // The X11 backend still shows its windows on that desktop too.
    if (isHeadless() || GetParam() == "X11") GTEST_SKIP() << "needs a desktop shared between processes";
    auto& processes = processService();
    ASSERT_TRUE(processes.createProcess(u"", helperCommand(u"WindowUntilClosed"), child_));
    WindowHandle window = WindowHandle::None;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    // Wait for the helper's own (visible) window: its thread's hidden helper windows,
    // such as the input-method one, can exist a moment earlier.
    while (std::chrono::steady_clock::now() < deadline) {
        window = windowService().firstTopLevelWindowOf(child_.id);
        if (window != WindowHandle::None && windowService().isVisible(window)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_NE(window, WindowHandle::None);
    EXPECT_EQ(windowService().title(window), u"ArborChildWindow");
    EXPECT_EQ(windowService().processIdOf(window), child_.id);
    ASSERT_TRUE(messageQueueService().postMessage(window, WM_CLOSE, 0, 0));
    EXPECT_EQ(processes.waitForProcess(child_, 30000), ProcessService::Ended);
    std::uint32_t code = 0;
    ASSERT_TRUE(processes.exitCode(child_, code));
    EXPECT_EQ(code, 0u) << "the helper ended through its window, not its 20 s timer";
}

TAVIZO_INSTANTIATE_FOR_BACKENDS(ProcessTest);
