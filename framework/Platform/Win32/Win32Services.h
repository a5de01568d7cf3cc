#pragma once
// The makers of the Win32 backend's services, one per file of this folder, gathered
// into its driver record (Win32Driver.cpp).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/Platform/BackendDriver.h"

namespace Arbor::Platform::Win32 {

std::unique_ptr<WindowService> makeWindowService();
std::unique_ptr<MessageQueueService> makeMessageQueueService();
std::unique_ptr<ClockService> makeClockService();
std::unique_ptr<ScreenService> makeScreenService();
std::unique_ptr<MemoryService> makeMemoryService();
std::unique_ptr<MessageBoxService> makeMessageBoxService();
std::unique_ptr<FolderService> makeFolderService();
std::unique_ptr<ProcessService> makeProcessService();
std::unique_ptr<SessionService> makeSessionService();
std::unique_ptr<LibraryService> makeLibraryService();
std::unique_ptr<NamedMutex> makeNamedMutex();
std::unique_ptr<GlyphService> makeGlyphService();
std::unique_ptr<NativeCursor> createCursor(const CursorPixels& pixels);
std::unique_ptr<NativeCursor> createAnimatedCursor(const std::uint8_t* bytes, std::size_t length);
std::unique_ptr<NativeCursor> loadCursorFile(std::u16string_view path);
std::unique_ptr<DibSection> createDibSection(std::int32_t width, std::int32_t height);
std::unique_ptr<AudioOutput> makeAudioOutput(const std::string& configuration);
std::unique_ptr<TrayIconService> makeTrayIconService();
std::unique_ptr<ShellService> makeShellService();
std::unique_ptr<StartupService> makeStartupService();
std::unique_ptr<RecycleBinService> makeRecycleBinService();
std::unique_ptr<DisplayPowerService> makeDisplayPowerService();
std::unique_ptr<ForegroundService> makeForegroundService();
std::unique_ptr<ClipboardService> makeClipboardService();
std::unique_ptr<KeyInputService> makeKeyInputService();
std::unique_ptr<PopupMenuService> makePopupMenuService();

}  // namespace Arbor::Platform::Win32
