// The Win32 backend: the system's own windows, GDI surfaces, wave-out audio and shell
// services. It is the native backend of Windows builds, where it is always available,
// and it also serves as the host services of the build (HostServices.h).
#include <windows.h>

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
#include "framework/Platform/Win32/Win32Services.h"
#include "framework/Platform/Window.h"

namespace Arbor::Platform {

namespace {
bool alwaysAvailable() { return true; }
std::uint32_t currentProcessId() { return GetCurrentProcessId(); }
}  // namespace

extern const BackendDriver win32Driver;
const BackendDriver win32Driver{
    .name = "Win32",
    .offscreen = false,
    .isAvailable = &alwaysAvailable,
    .makeWindowService = &Win32::makeWindowService,
    .makeMessageQueueService = &Win32::makeMessageQueueService,
    .makeClockService = &Win32::makeClockService,
    .makeScreenService = &Win32::makeScreenService,
    .makeMemoryService = &Win32::makeMemoryService,
    .makeMessageBoxService = &Win32::makeMessageBoxService,
    .makeFolderService = &Win32::makeFolderService,
    .makeProcessService = &Win32::makeProcessService,
    .makeSessionService = &Win32::makeSessionService,
    .makeLibraryService = &Win32::makeLibraryService,
    .makeNamedMutex = &Win32::makeNamedMutex,
    .makeGlyphService = &Win32::makeGlyphService,
    .createCursor = &Win32::createCursor,
    .createAnimatedCursor = &Win32::createAnimatedCursor,
    .loadCursorFile = &Win32::loadCursorFile,
    .createDibSection = &Win32::createDibSection,
    .createAudioOutput = &Win32::makeAudioOutput,
    .makeTrayIconService = &Win32::makeTrayIconService,
    .makeShellService = &Win32::makeShellService,
    .makeStartupService = &Win32::makeStartupService,
    .makeRecycleBinService = &Win32::makeRecycleBinService,
    .makeDisplayPowerService = &Win32::makeDisplayPowerService,
    .makeForegroundService = &Win32::makeForegroundService,
    .makeClipboardService = &Win32::makeClipboardService,
    .makeKeyInputService = &Win32::makeKeyInputService,
    .makePopupMenuService = &Win32::makePopupMenuService,
};

const HostServices& hostServices() {
    static const HostServices services{
        &Win32::makeProcessService, &Win32::makeLibraryService, &Win32::makeNamedMutex,
        &Win32::makeMemoryService,  &Win32::makeFolderService,  &currentProcessId,
        &Win32::makeGlyphService,
    };
    return services;
}

}  // namespace Arbor::Platform
