// The factories of the platform services: each picks its implementation from the
// backend chosen at start-up and keeps one instance per backend for the rest of the
// process (instances are never destroyed, so late users during exit stay safe).
#include <mutex>

#include "framework/Platform/Backend.h"
#include "framework/Platform/Clock.h"
#include "framework/Platform/Folders.h"
#include "framework/Platform/Glyphs.h"
#include "framework/Platform/Library.h"
#include "framework/Platform/Memory.h"
#include "framework/Platform/MessageBox.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/NamedMutex.h"
#include "framework/Platform/Process.h"
#include "framework/Platform/Screen.h"
#include "framework/Platform/Session.h"
#include "framework/Platform/Window.h"

namespace Arbor::Platform {

namespace {

template <typename Service>
using Maker = std::unique_ptr<Service> (*)();

#if defined(TAVIZO_HAS_WIN32)
#define ARBOR_WIN32(maker) (&Detail::maker)
#else
#define ARBOR_WIN32(maker) (nullptr)
#endif

// A backend this build lacks (no X11 yet) falls back to the headless one.
template <typename Service>
Maker<Service> makerFor(Maker<Service> headless, Maker<Service> win32) {
    if (currentBackend() == BackendKind::Win32 && win32) return win32;
    return headless;
}

template <typename Service>
Service& serviceFor(Maker<Service> headless, Maker<Service> win32) {
    static std::mutex mutex;
    static Service* instances[3] = {nullptr, nullptr, nullptr};
    const Maker<Service> maker = makerFor(headless, win32);
    const int slot = maker == headless ? 0 : 1;
    std::lock_guard lock(mutex);
    if (!instances[slot]) instances[slot] = maker().release();
    return *instances[slot];
}

}  // namespace

WindowService& windowService() {
    return serviceFor<WindowService>(&Detail::makeHeadlessWindowService,
                                     ARBOR_WIN32(makeWin32WindowService));
}

MessageQueueService& messageQueueService() {
    return serviceFor<MessageQueueService>(&Detail::makeHeadlessMessageQueueService,
                                           ARBOR_WIN32(makeWin32MessageQueueService));
}

ClockService& clockService() {
    return serviceFor<ClockService>(&Detail::makeHeadlessClockService,
                                    ARBOR_WIN32(makeWin32ClockService));
}

ScreenService& screenService() {
    return serviceFor<ScreenService>(&Detail::makeHeadlessScreenService,
                                     ARBOR_WIN32(makeWin32ScreenService));
}

MemoryService& memoryService() {
    return serviceFor<MemoryService>(&Detail::makeHeadlessMemoryService,
                                     ARBOR_WIN32(makeWin32MemoryService));
}

MessageBoxService& messageBoxService() {
    return serviceFor<MessageBoxService>(&Detail::makeHeadlessMessageBoxService,
                                         ARBOR_WIN32(makeWin32MessageBoxService));
}

FolderService& folderService() {
    return serviceFor<FolderService>(&Detail::makeHeadlessFolderService,
                                     ARBOR_WIN32(makeWin32FolderService));
}

ProcessService& processService() {
    return serviceFor<ProcessService>(&Detail::makeHeadlessProcessService,
                                      ARBOR_WIN32(makeWin32ProcessService));
}

SessionService& sessionService() {
    return serviceFor<SessionService>(&Detail::makeHeadlessSessionService,
                                      ARBOR_WIN32(makeWin32SessionService));
}

LibraryService& libraryService() {
    return serviceFor<LibraryService>(&Detail::makeHeadlessLibraryService,
                                      ARBOR_WIN32(makeWin32LibraryService));
}

GlyphService& glyphService() {
    return serviceFor<GlyphService>(&Detail::makeHeadlessGlyphService, ARBOR_WIN32(makeWin32GlyphService));
}

std::unique_ptr<NamedMutex> createNamedMutex() {
    return makerFor<NamedMutex>(&Detail::makeHeadlessNamedMutex,
                                ARBOR_WIN32(makeWin32NamedMutex))();
}

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
