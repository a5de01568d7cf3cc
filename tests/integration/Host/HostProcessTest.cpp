// The built host as a real process: a copy of the executable in a temporary program
// directory, so that everything it finds follows from where it lives.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "framework/Platform/Backend.h"
#include "framework/Platform/Folders.h"
#include "framework/Platform/MessageBox.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/Process.h"
#include "framework/Platform/Window.h"
#include "framework/Text/Utf.h"
#include "support/TestPaths.h"

namespace fs = std::filesystem;
namespace Platform = Arbor::Platform;

namespace {

#if defined(_WIN32)
constexpr const char* hostName = "tavizo.exe";
#else
constexpr const char* hostName = "tavizo";
#endif

fs::path builtHost() {
    return Platform::toNativePath(Platform::folderService().executablePath()).parent_path() / hostName;
}

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::u16string quoted(const fs::path& p) { return u"\"" + Platform::fromNativePath(p) + u"\""; }

// A program directory holding a copy of the host and, if asked, Data/MAIN_OBJECT.
struct ProgramDirectory {
    explicit ProgramDirectory(bool withData) {
        fs::copy_file(builtHost(), dir.path() / hostName);
        if (withData) {
            fs::create_directories(dir.path() / "Data");
            fs::copy(Testing::dataDir() / "characters" / "scene" / "MAIN_OBJECT", dir.path() / "Data" / "MAIN_OBJECT",
                     fs::copy_options::recursive);
        }
    }
    fs::path host() const { return dir.path() / hostName; }
    fs::path log() const { return dir.path() / "messages.log"; }
    Testing::TempDir dir;
};

struct Finished {
    bool ended = false;
    std::uint32_t exitCode = 0xFFFFFFFFu;
};

Finished waitFor(Platform::ProcessHandle& process, int milliseconds) {
    Platform::ProcessService& processes = Platform::processService();
    Finished f;
    f.ended = processes.waitForProcess(process, milliseconds) == Platform::ProcessService::Ended;
    if (f.ended) processes.exitCode(process, f.exitCode);
    processes.closeProcess(process);
    return f;
}

Finished run(const std::u16string& commandLine, int milliseconds = 60000) {
    Platform::ProcessHandle process;
    if (!Platform::processService().createProcess(u"", commandLine, process)) return {};
    return waitFor(process, milliseconds);
}

}  // namespace

TEST(HostProcess, TheHostIsBuilt) { ASSERT_TRUE(fs::exists(builtHost())) << builtHost(); }

TEST(HostProcess, RunsFramesAndQuitsCleanlyWithOnlyTheMainObject) {
    ProgramDirectory program(true);
    const Finished f = run(quoted(program.host()) + u" --headless --frames 30 --message-log " + quoted(program.log()));
    ASSERT_TRUE(f.ended);
    EXPECT_EQ(f.exitCode, 0u);
    EXPECT_EQ(readFile(program.log()), "");
}

TEST(HostProcess, WithoutDataItSaysSoAndEnds) {
    ProgramDirectory program(false);
    const Finished f = run(quoted(program.host()) + u" --headless --message-log " + quoted(program.log()));
    ASSERT_TRUE(f.ended);
    EXPECT_EQ(f.exitCode, 0u);
    EXPECT_EQ(readFile(program.log()), "エラー: データが見つかりません。\n");
}

TEST(HostProcess, WaitsForTheNamedPredecessorToEnd) {
    ProgramDirectory program(true);
    Platform::ProcessHandle first;
    ASSERT_TRUE(Platform::processService().createProcess(
        u"", quoted(program.host()) + u" --headless --realtime --frames 45", first));
    // The second copy waits for the first (which ends after its 45 frames, 1.5 s at the
    // real pace) and then runs.
    const auto started = std::chrono::steady_clock::now();
    const Finished second = run(quoted(program.host()) + u" --headless --frames 3 /waitterminate " +
                                Arbor::Text::fromAscii(std::to_string(first.id)) + u" --message-log " +
                                quoted(program.log()));
    EXPECT_TRUE(second.ended);
    EXPECT_EQ(second.exitCode, 0u);
    const Finished f = waitFor(first, 1000);
    EXPECT_TRUE(f.ended);  // it had ended before the second copy went on
    EXPECT_EQ(readFile(program.log()), "");
    EXPECT_GT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500));
}

#if !defined(_WIN32)
TEST(HostProcess, HeadlessMessageBoxesAlsoGoToStandardError) {
    ProgramDirectory program(false);
    const fs::path err = program.dir.path() / "stderr.txt";
    const Finished f = run(u"/bin/sh -c \"" + program.host().u16string() + u" --headless 2> " + err.u16string() +
                           u"\"");
    ASSERT_TRUE(f.ended);
    EXPECT_EQ(f.exitCode, 0u);
    EXPECT_NE(readFile(err).find("エラー: データが見つかりません。\n"), std::string::npos) << readFile(err);
}
#endif

#if defined(TAVIZO_HAS_X11)
TEST(HostProcess, WithoutDisplayItSaysHowToRunHeadlessAndEnds) {
    ProgramDirectory program(false);
    const fs::path err = program.dir.path() / "stderr.txt";
    const Finished f = run(u"/bin/sh -c \"env -u DISPLAY " + program.host().u16string() + u" --frames 3 2> " +
                           err.u16string() + u"\"");
    ASSERT_TRUE(f.ended);
    EXPECT_EQ(f.exitCode, 1u);
    EXPECT_NE(readFile(err).find("--headless"), std::string::npos) << readFile(err);
}
#endif

#if defined(_WIN32)
// A headless desktop belongs to one process, so only the system's own desktop can
// show one copy another's window. The second copy's refusal box would wait for a
// user: the test finds it among the desktop's windows, reads what it said from the
// message log, and answers it.
TEST(HostProcess, ASecondCopyIsRefusedWhileTheFirstRuns) {
    if (Platform::currentBackendName() != "Win32") GTEST_SKIP() << "needs the Win32 desktop";
    Platform::WindowService& windows = Platform::windowService();
    Platform::ProcessService& processes = Platform::processService();
    ProgramDirectory program(true);
    const fs::path firstLog = program.dir.path() / "first.log";

    auto findWindow = [&](std::uint32_t pid, const std::u16string& title) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            for (auto w : windows.topLevelWindows()) {
                if (windows.processIdOf(w) == pid && windows.title(w) == title) return w;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return Platform::WindowHandle::None;
    };

    Platform::ProcessHandle first;
    ASSERT_TRUE(processes.createProcess(u"", quoted(program.host()) + u" --message-log " + quoted(firstLog), first));
    const auto firstMain = findWindow(first.id, u"タヴィゾー_Main_Window");
    ASSERT_NE(firstMain, Platform::WindowHandle::None);

    Platform::ProcessHandle second;
    ASSERT_TRUE(processes.createProcess(u"", quoted(program.host()) + u" --message-log " + quoted(program.log()), second));
    const auto box = findWindow(second.id, u"エラー");
    ASSERT_NE(box, Platform::WindowHandle::None);
    EXPECT_EQ(readFile(program.log()), "エラー: 多重起動はできません\n");
    Platform::messageQueueService().postMessage(box, Platform::WM_COMMAND, Platform::IDOK, 0);
    const Finished refused = waitFor(second, 30000);
    EXPECT_TRUE(refused.ended);
    EXPECT_EQ(refused.exitCode, 0u);

    // The first copy is untouched; asked to close, it quits cleanly.
    EXPECT_TRUE(windows.exists(firstMain));
    Platform::messageQueueService().postMessage(firstMain, Platform::WM_CLOSE, 0, 0);
    const Finished closed = waitFor(first, 30000);
    EXPECT_TRUE(closed.ended);
    EXPECT_EQ(closed.exitCode, 0u);
    EXPECT_EQ(readFile(firstLog), "");
}
#endif
