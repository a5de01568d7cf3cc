// The factories of the platform services: each makes its implementation through the
// driver chosen at start-up and keeps one instance per implementation for the rest of
// the process (instances are never destroyed, so late users during exit stay safe).
#include <map>
#include <mutex>

#include "framework/Platform/Backend.h"
#include "framework/Platform/BackendDriver.h"
#include "framework/Platform/Clipboard.h"
#include "framework/Platform/Clock.h"
#include "framework/Platform/DisplayPower.h"
#include "framework/Platform/Folders.h"
#include "framework/Platform/Foreground.h"
#include "framework/Platform/Glyphs.h"
#include "framework/Platform/KeyInput.h"
#include "framework/Platform/Library.h"
#include "framework/Platform/Memory.h"
#include "framework/Platform/MessageBox.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/NamedMutex.h"
#include "framework/Platform/PopupMenu.h"
#include "framework/Platform/Process.h"
#include "framework/Platform/RecycleBin.h"
#include "framework/Platform/Screen.h"
#include "framework/Platform/Session.h"
#include "framework/Platform/Shell.h"
#include "framework/Platform/Startup.h"
#include "framework/Platform/TrayIcon.h"
#include "framework/Platform/Window.h"

namespace Arbor::Platform {

namespace {

template <typename Service>
using Maker = std::unique_ptr<Service> (*)();

// One instance per maker: drivers that share an implementation (the X11 backend
// takes several of the headless desktop's) share its instance too.
template <typename Service>
Service& serviceFor(Maker<Service> BackendDriver::*member) {
    static std::mutex mutex;
    static auto* instances = new std::map<Maker<Service>, Service*>;  // outlives late users at exit
    const Maker<Service> maker = currentBackend().*member;
    std::lock_guard lock(mutex);
    Service*& instance = (*instances)[maker];
    if (!instance) instance = maker().release();
    return *instance;
}

}  // namespace

WindowService& windowService() { return serviceFor(&BackendDriver::makeWindowService); }
MessageQueueService& messageQueueService() { return serviceFor(&BackendDriver::makeMessageQueueService); }
ClockService& clockService() { return serviceFor(&BackendDriver::makeClockService); }
ScreenService& screenService() { return serviceFor(&BackendDriver::makeScreenService); }
MemoryService& memoryService() { return serviceFor(&BackendDriver::makeMemoryService); }
MessageBoxService& messageBoxService() { return serviceFor(&BackendDriver::makeMessageBoxService); }
FolderService& folderService() { return serviceFor(&BackendDriver::makeFolderService); }
ProcessService& processService() { return serviceFor(&BackendDriver::makeProcessService); }
SessionService& sessionService() { return serviceFor(&BackendDriver::makeSessionService); }
LibraryService& libraryService() { return serviceFor(&BackendDriver::makeLibraryService); }
TrayIconService& trayIconService() { return serviceFor(&BackendDriver::makeTrayIconService); }
GlyphService& glyphService() { return serviceFor(&BackendDriver::makeGlyphService); }
ShellService& shellService() { return serviceFor(&BackendDriver::makeShellService); }
StartupService& startupService() { return serviceFor(&BackendDriver::makeStartupService); }
RecycleBinService& recycleBinService() { return serviceFor(&BackendDriver::makeRecycleBinService); }
DisplayPowerService& displayPowerService() { return serviceFor(&BackendDriver::makeDisplayPowerService); }
ForegroundService& foregroundService() { return serviceFor(&BackendDriver::makeForegroundService); }
ClipboardService& clipboardService() { return serviceFor(&BackendDriver::makeClipboardService); }
KeyInputService& keyInputService() { return serviceFor(&BackendDriver::makeKeyInputService); }
PopupMenuService& popupMenuService() { return serviceFor(&BackendDriver::makePopupMenuService); }

std::unique_ptr<NamedMutex> createNamedMutex() { return currentBackend().makeNamedMutex(); }

// Helpers of the window interface that need only its own operations.
std::vector<std::u16string> WindowService::topLevelTitles(std::size_t maxLength) {
    std::vector<std::u16string> titles;
    for (WindowHandle window : topLevelWindows()) {
        std::u16string text = title(window, maxLength);
        if (!text.empty()) titles.push_back(std::move(text));
    }
    return titles;
}

WindowHandle WindowService::firstTopLevelWindowOf(std::uint32_t processId) {
    if (processId == 0) return WindowHandle::None;
    WindowHandle first = WindowHandle::None;
    for (WindowHandle window : topLevelWindows()) {
        if (processIdOf(window) != processId) continue;
        if (isVisible(window)) return window;
        if (first == WindowHandle::None) first = window;
    }
    return first;
}

}  // namespace Arbor::Platform
