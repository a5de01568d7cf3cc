#pragma once
// The operating-system seam. The backend is chosen once at start-up; every service
// (windows, timers, audio, cursors, ...) is an abstract interface in its own header in
// this folder with one implementation file per backend folder, named alike
// (Headless/HeadlessAudio.cpp, Win32/Win32Audio.cpp, X11/X11Audio.cpp). The service's
// own factory picks the implementation from currentBackend(), so adding a service
// touches no shared table.
namespace Arbor::Platform {

enum class BackendKind { Headless, Win32, X11 };

// The native backend of this build's target system (Headless where there is none yet).
BackendKind nativeBackend();

// Chooses the backend for the rest of the process. Call before any service is used.
void selectBackend(BackendKind kind);

BackendKind currentBackend();

// True when this build contains the given backend.
bool hasBackend(BackendKind kind);

}  // namespace Arbor::Platform
