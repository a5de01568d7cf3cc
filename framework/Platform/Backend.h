#pragma once
// The operating-system seam. Every service (windows, queues, timers, audio, cursors,
// ...) is an abstract interface in its own header in this folder; each backend folder
// implements them, one file per service named alike across backends
// (Headless/HeadlessAudio.cpp, Win32/Win32Audio.cpp, X11/X11Audio.cpp), and lists its
// makers in one driver record (BackendDriver.h). The backend is chosen once at
// start-up from the list of drivers; the service functions (windowService(),
// createDibSection(), ...) then make their objects through the chosen driver.
#include <span>
#include <string_view>

namespace Arbor::Platform {

struct BackendDriver;

// Every driver of this build, in the order start-up tries them (Drivers.cpp).
std::span<const BackendDriver* const> backendDrivers();

// The driver of that name in this build; null when the build has none.
const BackendDriver* findBackend(std::string_view name);
bool hasBackend(std::string_view name);
// True when the build has the driver and it can run here (for a desktop backend: its
// display opens).
bool isBackendAvailable(std::string_view name);

// The start-up choice: the first driver in list order that can run here, or, with
// `offscreen`, the first offscreen one (the in-process virtual desktop). Made once;
// later calls change it the way selectBackend does.
const BackendDriver& chooseBackend(bool offscreen = false);

// Switches to the named driver for the rest of the process (tests run one service on
// several backends this way). False, changing nothing, when the build lacks it.
bool selectBackend(std::string_view name);

// The chosen driver; the start-up choice is made here when nobody made it yet.
const BackendDriver& currentBackend();
std::string_view currentBackendName();

}  // namespace Arbor::Platform
