#pragma once
// One backend in the driver table: its name, whether it can run here, and one maker per
// service. Each backend folder defines its record in one driver file
// (Headless/HeadlessDriver.cpp, Win32/Win32Driver.cpp, X11/X11Driver.cpp); Drivers.cpp
// lists the records in the order they are tried. Nothing else in the framework knows
// which backends exist: the service functions reach their implementation through
// currentBackend().
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace Arbor::Platform {

class AudioOutput;
class ClipboardService;
class ClockService;
class DibSection;
class DisplayPowerService;
class FolderService;
class ForegroundService;
class GlyphService;
class KeyInputService;
class LibraryService;
class MemoryService;
class MessageBoxService;
class MessageQueueService;
class NamedMutex;
class NativeCursor;
class PopupMenuService;
class ProcessService;
class RecycleBinService;
class ScreenService;
class SessionService;
class ShellService;
class StartupService;
class TrayIconService;
class WindowService;
struct CursorPixels;

struct BackendDriver {
    // How tests pick it by name ("Headless", "Win32", "X11").
    const char* name;
    // The in-process virtual desktop that needs no display: chosen when asked for
    // offscreen running, and always available.
    bool offscreen;
    // Whether the backend can run in this process (its display opens, ...).
    bool (*isAvailable)();

    std::unique_ptr<WindowService> (*makeWindowService)();
    std::unique_ptr<MessageQueueService> (*makeMessageQueueService)();
    std::unique_ptr<ClockService> (*makeClockService)();
    std::unique_ptr<ScreenService> (*makeScreenService)();
    std::unique_ptr<MemoryService> (*makeMemoryService)();
    std::unique_ptr<MessageBoxService> (*makeMessageBoxService)();
    std::unique_ptr<FolderService> (*makeFolderService)();
    std::unique_ptr<ProcessService> (*makeProcessService)();
    std::unique_ptr<SessionService> (*makeSessionService)();
    std::unique_ptr<LibraryService> (*makeLibraryService)();
    std::unique_ptr<NamedMutex> (*makeNamedMutex)();
    std::unique_ptr<GlyphService> (*makeGlyphService)();

    // Cursors from pixels and from animated cursor data. `loadCursorFile` is the
    // system's own shared loader, null where the system has none (the caller then
    // reads and decodes the file itself).
    std::unique_ptr<NativeCursor> (*createCursor)(const CursorPixels& pixels);
    std::unique_ptr<NativeCursor> (*createAnimatedCursor)(const std::uint8_t* bytes, std::size_t length);
    std::unique_ptr<NativeCursor> (*loadCursorFile)(std::u16string_view path);

    // Called with positive sizes only.
    std::unique_ptr<DibSection> (*createDibSection)(std::int32_t width, std::int32_t height);

    // A fresh audio output; `configuration` is backend-specific text (the ALSA
    // configuration of the X11 backend), ignored where it means nothing.
    std::unique_ptr<AudioOutput> (*createAudioOutput)(const std::string& configuration);

    std::unique_ptr<TrayIconService> (*makeTrayIconService)();

    // The desktop's reach: the shell, start-up registration, the recycle bin, display
    // power, the foreground program, the clipboard and injected input.
    std::unique_ptr<ShellService> (*makeShellService)();
    std::unique_ptr<StartupService> (*makeStartupService)();
    std::unique_ptr<RecycleBinService> (*makeRecycleBinService)();
    std::unique_ptr<DisplayPowerService> (*makeDisplayPowerService)();
    std::unique_ptr<ForegroundService> (*makeForegroundService)();
    std::unique_ptr<ClipboardService> (*makeClipboardService)();
    std::unique_ptr<KeyInputService> (*makeKeyInputService)();
    std::unique_ptr<PopupMenuService> (*makePopupMenuService)();
};

}  // namespace Arbor::Platform
