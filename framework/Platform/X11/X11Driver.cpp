// The X11 backend, the Linux desktop. It is available when a display opens, and tried
// before the headless desktop.
//
// Only sound is its own so far (ALSA, X11Audio.cpp). Until its windows exist it takes:
// - from the host services of POSIX systems (Posix/, as X11 will keep doing):
//   processes, shared libraries, named mutexes, memory figures and folders;
// - from the headless desktop, for now: windows and their message queues, timers, the
//   clock, screen metrics and cursor position, cursors, pixel surfaces, message boxes
//   (recorded and written to standard error) and session-end requests (recorded, the
//   host is never shut down). Windows created through it are therefore virtual: nothing
//   appears on the display yet.
#include "framework/Platform/AudioOutput.h"
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
#include "framework/Platform/Process.h"
#include "framework/Platform/Screen.h"
#include "framework/Platform/Session.h"
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
    .makeWindowService = &Headless::makeWindowService,
    .makeMessageQueueService = &Headless::makeMessageQueueService,
    .makeClockService = &Headless::makeClockService,
    .makeScreenService = &Headless::makeScreenService,
    .makeMemoryService = &hostMemory,
    .makeMessageBoxService = &Headless::makeMessageBoxService,
    .makeFolderService = &hostFolders,
    .makeProcessService = &hostProcesses,
    .makeSessionService = &Headless::makeSessionService,
    .makeLibraryService = &hostLibraries,
    .makeNamedMutex = &hostNamedMutex,
    .makeGlyphService = &hostGlyphs,
    .createCursor = &Headless::createCursor,
    .createAnimatedCursor = &Headless::createAnimatedCursor,
    .loadCursorFile = nullptr,
    .createDibSection = &Headless::createDibSection,
    .createAudioOutput = &X11::makeAudioOutput,
};

}  // namespace Arbor::Platform
