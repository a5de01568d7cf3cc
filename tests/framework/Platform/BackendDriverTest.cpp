// The driver table: every driver complete, tried in list order, the offscreen desktop
// last and always there, and the X11 desktop only where a display opens.
#include <cstdlib>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "framework/Platform/Backend.h"
#include "framework/Platform/BackendDriver.h"
#include "support/BackendTest.h"

using namespace Arbor::Platform;

TEST(BackendDriver, EveryDriverIsCompleteAndNamedOnce) {
    std::set<std::string> names;
    for (const BackendDriver* driver : backendDrivers()) {
        ASSERT_TRUE(driver && driver->name);
        EXPECT_TRUE(names.insert(driver->name).second) << driver->name;
        EXPECT_EQ(findBackend(driver->name), driver);
        // Only the cursor-file loader may be missing (the caller decodes the file then).
        const bool complete = driver->isAvailable && driver->makeWindowService && driver->makeMessageQueueService &&
                              driver->makeClockService && driver->makeScreenService && driver->makeMemoryService &&
                              driver->makeMessageBoxService && driver->makeFolderService &&
                              driver->makeProcessService && driver->makeSessionService &&
                              driver->makeLibraryService && driver->makeNamedMutex && driver->createCursor &&
                              driver->createAnimatedCursor && driver->createDibSection && driver->createAudioOutput &&
                              driver->makeShellService && driver->makeStartupService &&
                              driver->makeRecycleBinService && driver->makeDisplayPowerService &&
                              driver->makeForegroundService && driver->makeClipboardService &&
                              driver->makeKeyInputService;
        EXPECT_TRUE(complete) << driver->name;
    }
    const BackendDriver& last = *backendDrivers().back();
    EXPECT_TRUE(last.offscreen) << "the offscreen desktop is tried last";
    EXPECT_TRUE(last.isAvailable());
    EXPECT_EQ(findBackend("NoSuchBackend"), nullptr);
}

TEST(BackendDriver, StartUpTakesTheFirstThatRunsOrTheOffscreenOneWhenAsked) {
    Testing::BackendScope restore("Headless");
    const BackendDriver* expected = nullptr;
    for (const BackendDriver* driver : backendDrivers()) {
        if (driver->isAvailable()) {
            expected = driver;
            break;
        }
    }
    ASSERT_NE(expected, nullptr);
    EXPECT_EQ(&chooseBackend(), expected);
    EXPECT_EQ(&currentBackend(), expected);
    EXPECT_TRUE(chooseBackend(true).offscreen);
    EXPECT_EQ(currentBackendName(), "Headless");
    EXPECT_FALSE(selectBackend("NoSuchBackend"));
    EXPECT_EQ(currentBackendName(), "Headless") << "an unknown name changes nothing";
}

#if !defined(_WIN32)
TEST(BackendDriver, WithoutADisplayTheHeadlessDesktopIsChosen) {
    if (!hasBackend("X11")) GTEST_SKIP() << "this build has no X11 backend";
    Testing::BackendScope restore("Headless");
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    ::unsetenv("DISPLAY");
    EXPECT_FALSE(isBackendAvailable("X11"));
    EXPECT_EQ(std::string(chooseBackend().name), "Headless");
    if (display) ::setenv("DISPLAY", saved.c_str(), 1);
}
#endif
