#pragma once
// The makers of the X11 backend's own services, gathered into its driver record
// (X11Driver.cpp).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "framework/Platform/BackendDriver.h"
#include "framework/Platform/Headless/HeadlessServices.h"

namespace Arbor::Platform::X11 {

// True when a connection to the display named by DISPLAY opens.
bool displayOpens();

std::unique_ptr<WindowService> makeWindowService();
std::unique_ptr<MessageQueueService> makeMessageQueueService();
std::unique_ptr<ClockService> makeClockService();
std::unique_ptr<ScreenService> makeScreenService();
std::unique_ptr<MessageBoxService> makeMessageBoxService();
std::unique_ptr<NativeCursor> createCursor(const CursorPixels& pixels);
std::unique_ptr<DibSection> makeDibSection(std::int32_t width, std::int32_t height);
// Menus drawn by the backend itself (X11PopupMenu.cpp).
std::unique_ptr<PopupMenuService> makePopupMenuService();

// The virtual-key code of an X key symbol; 0 for keys without one here.
int virtualKeyOf(unsigned long keySym);

// Whether the key or mouse button with that virtual-key code is down now.
bool keyIsDown(int virtualKey);

std::unique_ptr<KeyInputService> makeKeyInputService();
std::unique_ptr<DisplayPowerService> makeDisplayPowerService();
std::unique_ptr<ForegroundService> makeForegroundService();
std::unique_ptr<ClipboardService> makeClipboardService();

// ALSA playback and mixer; `alsaConfiguration`, when not empty, replaces the system's
// ALSA configuration for this output's lookups.
std::unique_ptr<AudioOutput> makeAudioOutput(const std::string& alsaConfiguration);

// Notification-area icons (X11TrayIcon.cpp).
std::unique_ptr<TrayIconService> makeTrayIconService();

}  // namespace Arbor::Platform::X11
