// The X11 backend, the Linux desktop. It is available when a display opens, and tried
// before the headless desktop.
//
// Its own: windows (X11Window.cpp) with their queues and events (X11Desktop.cpp,
// X11MessageQueue.cpp), the clock, screen metrics and the work area from the monitors,
// message boxes drawn with the glyph service, cursors from pictures, shared-memory
// surfaces, sound (ALSA) and the notification-area icon (a StatusNotifierItem, else XEmbed).
// Also its own: injected keys and buttons (XTest), monitor power (DPMS), the foreground
// program (_NET_ACTIVE_WINDOW) and the clipboard (the CLIPBOARD selection).
// From the host services of POSIX systems (Posix/): processes, shared libraries, named
// mutexes, memory figures and folders; and the Linux desktop's conventions: xdg-open
// and xdg-mime, the XDG autostart entry, the freedesktop trash, and logind for
// shutting down or rebooting.
// From the headless desktop, for now: animated cursors (kept as data; the default
// pointer shows).
#include "framework/Platform/AudioOutput.h"
#include "framework/Platform/Clipboard.h"
#include "framework/Platform/DisplayPower.h"
#include "framework/Platform/Foreground.h"
#include "framework/Platform/KeyInput.h"
#include "framework/Platform/Posix/PosixDesktop.h"
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
#include "framework/Platform/X11/X11Services.h"

namespace Arbor::Platform {

namespace {

std::unique_ptr<ProcessService> hostProcesses() { return hostServices().makeProcessService(); }
std::unique_ptr<LibraryService> hostLibraries() { return hostServices().makeLibraryService(); }
std::unique_ptr<NamedMutex> hostNamedMutex() { return hostServices().makeNamedMutex(); }
std::unique_ptr<MemoryService> hostMemory() { return hostServices().makeMemoryService(); }
std::unique_ptr<FolderService> hostFolders() { return hostServices().makeFolderService(); }
// FreeType and fontconfig, the same as the headless desktop, so both give the same pixels.
std::unique_ptr<GlyphService> hostGlyphs() { return hostServices().makeGlyphService(); }

}  // namespace

extern const BackendDriver x11Driver;
const BackendDriver x11Driver{
    .name = "X11",
    .offscreen = false,
    .isAvailable = &X11::displayOpens,
    .makeWindowService = &X11::makeWindowService,
    .makeMessageQueueService = &X11::makeMessageQueueService,
    .makeClockService = &X11::makeClockService,
    .makeScreenService = &X11::makeScreenService,
    .makeMemoryService = &hostMemory,
    .makeMessageBoxService = &X11::makeMessageBoxService,
    .makeFolderService = &hostFolders,
    .makeProcessService = &hostProcesses,
    .makeSessionService = &Posix::makeLogindSessionService,
    .makeLibraryService = &hostLibraries,
    .makeNamedMutex = &hostNamedMutex,
    .makeGlyphService = &hostGlyphs,
    .createCursor = &X11::createCursor,
    .createAnimatedCursor = &Headless::createAnimatedCursor,
    .loadCursorFile = nullptr,
    .createDibSection = &X11::makeDibSection,
    .createAudioOutput = &X11::makeAudioOutput,
    .makeTrayIconService = &X11::makeTrayIconService,  // a StatusNotifierItem, else XEmbed
    .makeShellService = &Posix::makeShellService,
    .makeStartupService = &Posix::makeStartupService,
    .makeRecycleBinService = &Posix::makeRecycleBinService,
    .makeDisplayPowerService = &X11::makeDisplayPowerService,
    .makeForegroundService = &X11::makeForegroundService,
    .makeClipboardService = &X11::makeClipboardService,
    .makeKeyInputService = &X11::makeKeyInputService,
    .makePopupMenuService = &X11::makePopupMenuService,
};

}  // namespace Arbor::Platform
