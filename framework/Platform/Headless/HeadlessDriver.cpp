// The headless backend: an in-process virtual desktop (HeadlessDesktop.h) that needs
// no display. It is always available and tried last. What it takes from the real host
// (processes, shared libraries, named mutexes, memory figures, folders, glyphs) comes
// from the host services of the build's target system.
#include "framework/Platform/AudioOutput.h"
#include "framework/Platform/Clipboard.h"
#include "framework/Platform/DisplayPower.h"
#include "framework/Platform/Foreground.h"
#include "framework/Platform/KeyInput.h"
#include "framework/Platform/RecycleBin.h"
#include "framework/Platform/Shell.h"
#include "framework/Platform/Startup.h"
#include "framework/Platform/Clock.h"
#include "framework/Platform/Cursor.h"
#include "framework/Platform/DibSection.h"
#include "framework/Platform/Folders.h"
#include "framework/Platform/Glyphs.h"
#include "framework/Platform/Headless/HeadlessServices.h"
#include "framework/Platform/HostServices.h"
#include "framework/Platform/Library.h"
#include "framework/Platform/Memory.h"
#include "framework/Platform/MessageBox.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/NamedMutex.h"
#include "framework/Platform/PopupMenu.h"
#include "framework/Platform/Process.h"
#include "framework/Platform/Screen.h"
#include "framework/Platform/Session.h"
#include "framework/Platform/TrayIcon.h"
#include "framework/Platform/Window.h"

namespace Arbor::Platform {

namespace {

bool alwaysAvailable() { return true; }
// Shared libraries are the host's own: a loader test needs a real library.
std::unique_ptr<LibraryService> hostLibraries() { return hostServices().makeLibraryService(); }
// Named mutexes are the host's: a lock that other processes of the same user see, so a
// headless run still refuses to run twice at once.
std::unique_ptr<NamedMutex> hostNamedMutex() { return hostServices().makeNamedMutex(); }
// Glyphs are the host's: the same faces and pixels as the desktop backend of the system.
std::unique_ptr<GlyphService> hostGlyphs() { return hostServices().makeGlyphService(); }

}  // namespace

const BackendDriver headlessDriver{
    .name = "Headless",
    .offscreen = true,
    .isAvailable = &alwaysAvailable,
    .makeWindowService = &Headless::makeWindowService,
    .makeMessageQueueService = &Headless::makeMessageQueueService,
    .makeClockService = &Headless::makeClockService,
    .makeScreenService = &Headless::makeScreenService,
    .makeMemoryService = &Headless::makeMemoryService,
    .makeMessageBoxService = &Headless::makeMessageBoxService,
    .makeFolderService = &Headless::makeFolderService,
    .makeProcessService = &Headless::makeProcessService,
    .makeSessionService = &Headless::makeSessionService,
    .makeLibraryService = &hostLibraries,
    .makeNamedMutex = &hostNamedMutex,
    .makeGlyphService = &hostGlyphs,
    .createCursor = &Headless::createCursor,
    .createAnimatedCursor = &Headless::createAnimatedCursor,
    .loadCursorFile = nullptr,  // no system loader: the file is decoded like memory data
    .createDibSection = &Headless::createDibSection,
    .createAudioOutput = &Headless::makeAudioOutput,
    .makeTrayIconService = &Headless::makeTrayIconService,
    .makeShellService = &Headless::makeShellService,
    .makeStartupService = &Headless::makeStartupService,
    .makeRecycleBinService = &Headless::makeRecycleBinService,
    .makeDisplayPowerService = &Headless::makeDisplayPowerService,
    .makeForegroundService = &Headless::makeForegroundService,
    .makeClipboardService = &Headless::makeClipboardService,
    .makeKeyInputService = &Headless::makeKeyInputService,
    .makePopupMenuService = &Headless::makePopupMenuService,
};

}  // namespace Arbor::Platform
