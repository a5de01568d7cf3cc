// Folders, libraries, clock, screen, memory and session services, on every backend.
#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "framework/Platform/AudioOutput.h"
#include "framework/Platform/Clock.h"
#include "framework/Platform/DibSection.h"
#include "framework/Platform/Folders.h"
#include "framework/Platform/Library.h"
#include "framework/Platform/Memory.h"
#include "framework/Platform/NativePath.h"
#include "framework/Platform/Process.h"
#include "framework/Platform/Screen.h"
#include "framework/Platform/Session.h"
#include "support/BackendTest.h"
#include "support/TestPaths.h"

using namespace Arbor::Platform;

namespace {

class ServicesTest : public Testing::BackendTest {};

bool holdsTmpFile(const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind("TMP", 0) == 0) return true;
    }
    return false;
}

}  // namespace

TEST_P(ServicesTest, ExecutablePathNamesThisTestProgram) {
    const std::u16string path = folderService().executablePath();
    ASSERT_FALSE(path.empty());
    const auto native = toNativePath(path);
    EXPECT_TRUE(std::filesystem::exists(native));
    EXPECT_EQ(native.stem().string(), "test_framework_Platform");
}

TEST_P(ServicesTest, ProgramOfAProcessIsFoundByItsId) {
    // The same path by the process id as by the program's own question.
    EXPECT_EQ(processService().executablePath(processService().currentProcessId()), folderService().executablePath());
    EXPECT_TRUE(processService().executablePath(0).empty());
    // An id no process has (ids are multiples of 4 on Windows, below the kernel's
    // limit on Linux, and this one is neither).
    EXPECT_TRUE(processService().executablePath(0x7FFFFFFDu).empty());
}

TEST_P(ServicesTest, ApplicationDataFolderIsAnAbsolutePath) {
    const std::u16string folder = folderService().applicationDataFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(toNativePath(folder).is_absolute());
}

TEST_P(ServicesTest, WritableFolderPassesAndKeepsNoTemporaryFile) {
    Testing::TempDir temp;
    EXPECT_TRUE(folderService().isWritableDirectory(fromNativePath(temp.path())));
    EXPECT_FALSE(holdsTmpFile(temp.path()));
}

TEST_P(ServicesTest, FolderThatCannotHoldFilesFails) {
    Testing::TempDir temp;
    EXPECT_FALSE(folderService().isWritableDirectory(fromNativePath(temp.path() / "missing")));
    EXPECT_FALSE(folderService().isWritableDirectory(u""));
    // A read-only file system refuses even the superuser (CI runs as root, where a
    // folder without write permission would still take the file): /proc, which Wine
    // reaches as Z:\proc.
#if defined(_WIN32)
    const std::u16string readOnly = u"Z:\\proc";
#else
    const std::u16string readOnly = u"/proc";
#endif
    if (!std::filesystem::is_directory(toNativePath(readOnly))) GTEST_SKIP() << "no /proc on this host";
    EXPECT_FALSE(folderService().isWritableDirectory(readOnly));
}

TEST_P(ServicesTest, LibraryExportsAreFoundAndCallable) {
    auto& libraries = libraryService();
#if defined(_WIN32)
    const LibraryHandle library = libraries.load(u"kernel32.dll");
    using GetId = unsigned long(__stdcall*)();
    const char* exportName = "GetCurrentProcessId";
#else
    const LibraryHandle library = libraries.load(u"libc.so.6");
    using GetId = int (*)();
    const char* exportName = "getpid";
#endif
    ASSERT_NE(library, LibraryHandle::None);
    const auto getId = libraries.function<GetId>(library, exportName);
    ASSERT_NE(getId, nullptr);
    EXPECT_EQ(static_cast<std::uint32_t>(getId()), processService().currentProcessId());
    EXPECT_EQ(libraries.symbol(library, "arbor_no_such_export"), nullptr);
    EXPECT_TRUE(libraries.unload(library));
}

TEST_P(ServicesTest, MissingLibraryGivesNoHandle) {
    Testing::TempDir temp;
    EXPECT_EQ(libraryService().load(fromNativePath(temp.path() / "none.dll")), LibraryHandle::None);
    EXPECT_EQ(libraryService().load(u""), LibraryHandle::None);
    EXPECT_EQ(libraryService().symbol(LibraryHandle::None, "create"), nullptr);
}

TEST_P(ServicesTest, TickCountAdvancesInMilliseconds) {
    auto& clock = clockService();
    const std::uint32_t before = clock.tickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const std::uint32_t elapsed = clock.tickCount() - before;
    EXPECT_GE(elapsed, 40u);
    EXPECT_LT(elapsed, 5000u);
    EXPECT_TRUE(clock.beginTimerResolution(5));
    EXPECT_TRUE(clock.endTimerResolution(5));
}

TEST_P(ServicesTest, LocalTimeFieldsAreInRange) {
    const LocalTime time = clockService().localTime();
    EXPECT_GE(time.year, 2000);
    EXPECT_GE(time.month, 1);
    EXPECT_LE(time.month, 12);
    EXPECT_GE(time.day, 1);
    EXPECT_LE(time.day, 31);
    EXPECT_GE(time.dayOfWeek, 0);
    EXPECT_LE(time.dayOfWeek, 6);
    EXPECT_LE(time.hour, 23);
    EXPECT_LE(time.minute, 59);
    EXPECT_LE(time.second, 60);
    EXPECT_LE(time.millisecond, 999);
}

TEST_P(ServicesTest, ScreenHasAPrimaryDisplayInsideTheVirtualScreen) {
    const ScreenMetrics metrics = screenService().metrics();
    EXPECT_GT(metrics.primaryWidth, 0);
    EXPECT_GT(metrics.primaryHeight, 0);
    EXPECT_GE(metrics.virtualScreen.width(), metrics.primaryWidth);
    EXPECT_GE(metrics.virtualScreen.height(), metrics.primaryHeight);
    // The work area lies on the primary display, inside the virtual screen.
    const Rect work = screenService().workArea();
    EXPECT_GT(work.width(), 0);
    EXPECT_GT(work.height(), 0);
    EXPECT_LE(work.width(), metrics.primaryWidth);
    EXPECT_LE(work.height(), metrics.primaryHeight);
    EXPECT_GE(work.left, metrics.virtualScreen.left);
    EXPECT_GE(work.top, metrics.virtualScreen.top);
    EXPECT_LE(work.right, metrics.virtualScreen.right);
    EXPECT_LE(work.bottom, metrics.virtualScreen.bottom);
}

TEST_P(ServicesTest, MemoryFiguresAreConsistent) {
    MemoryStatus status;
    ASSERT_TRUE(memoryService().memoryStatus(status));
    EXPECT_GT(status.totalPhysical, 0u);
    EXPECT_LE(status.availablePhysical, status.totalPhysical);
    EXPECT_LE(status.memoryLoad, 100u);
    EXPECT_GE(status.totalPageFile, status.availablePageFile);
    EXPECT_GT(status.totalVirtual, 0u);
}

TEST_P(ServicesTest, ShutdownPrivilegeCanBeEnabled) {
    // Only the privilege: a test never asks any system to end its session. The Linux
    // desktop's session service is logind's, which needs a system bus the test
    // machine may lack.
    if (GetParam() == "X11") GTEST_SKIP() << "logind: no privilege to enable";
    EXPECT_TRUE(sessionService().enableShutdownPrivilege());
}

TAVIZO_INSTANTIATE_FOR_BACKENDS(ServicesTest);

TEST(DibSection, OnePixelIsTheSmallestSurface) {
    const auto one = createDibSection(1, 1);
    ASSERT_TRUE(one);
    EXPECT_EQ(one->width(), 1);
    EXPECT_EQ(one->height(), 1);
    EXPECT_EQ(one->bits()[0], 0u);
    EXPECT_FALSE(createDibSection(0, 1));
    EXPECT_FALSE(createDibSection(1, 0));
    EXPECT_FALSE(createDibSection(-1, 5));
}

TEST(AudioFormat, OnlyConsistentIntegerPcmWithinTheLimitsIsPlayable) {
    // tag, channels, rate, bytes per second, block align, bits
    EXPECT_TRUE(isPlayableFormat({1, 2, 44100, 176400, 4, 16}));
    EXPECT_TRUE(isPlayableFormat({1, 8, 768000, 768000 * 32, 32, 32}));
    EXPECT_TRUE(isPlayableFormat({1, 1, 1, 3, 3, 24}));
    EXPECT_TRUE(isPlayableFormat({1, 1, 8000, 8000, 1, 8}));
    EXPECT_FALSE(isPlayableFormat({3, 2, 44100, 352800, 8, 32}));   // floating point
    EXPECT_FALSE(isPlayableFormat({1, 0, 8000, 0, 0, 8}));
    EXPECT_FALSE(isPlayableFormat({1, 9, 8000, 72000, 9, 8}));
    EXPECT_FALSE(isPlayableFormat({1, 1, 0, 0, 1, 8}));
    EXPECT_FALSE(isPlayableFormat({1, 1, 768001, 768001, 1, 8}));
    EXPECT_FALSE(isPlayableFormat({1, 1, 8000, 16000, 2, 12}));
    EXPECT_FALSE(isPlayableFormat({1, 2, 44100, 176400, 2, 16}));  // block align
    EXPECT_FALSE(isPlayableFormat({1, 2, 44100, 88200, 4, 16}));   // byte rate
}
