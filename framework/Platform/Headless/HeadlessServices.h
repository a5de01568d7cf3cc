#pragma once
// The makers of the headless backend's services, one per file of this folder, gathered
// into its driver record (HeadlessDriver.cpp). The X11 backend takes some of them for
// the services it does not have yet (X11/X11Driver.cpp says which).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/Platform/BackendDriver.h"

namespace Arbor::Platform {

extern const BackendDriver headlessDriver;

}  // namespace Arbor::Platform

namespace Arbor::Platform::Headless {

std::unique_ptr<WindowService> makeWindowService();
std::unique_ptr<MessageQueueService> makeMessageQueueService();
std::unique_ptr<ClockService> makeClockService();
std::unique_ptr<ScreenService> makeScreenService();
std::unique_ptr<MemoryService> makeMemoryService();
std::unique_ptr<MessageBoxService> makeMessageBoxService();
std::unique_ptr<FolderService> makeFolderService();
std::unique_ptr<ProcessService> makeProcessService();
std::unique_ptr<SessionService> makeSessionService();
std::unique_ptr<NativeCursor> createCursor(const CursorPixels& pixels);
std::unique_ptr<NativeCursor> createAnimatedCursor(const std::uint8_t* bytes, std::size_t length);
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

}  // namespace Arbor::Platform::Headless
