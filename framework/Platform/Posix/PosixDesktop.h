#pragma once
// The Linux desktop's conventions behind the desktop services, shared by the backends
// that run on a Linux desktop: xdg-open and xdg-mime for the shell, an XDG autostart
// entry for start-up registration, the freedesktop trash for the recycle bin and
// logind for shutting down. Each maker lives in the file of its service.
#include <filesystem>
#include <memory>

namespace Arbor::Platform {
class RecycleBinService;
class SessionService;
class ShellService;
class StartupService;
}  // namespace Arbor::Platform

namespace Arbor::Platform::Posix {

std::unique_ptr<ShellService> makeShellService();
std::unique_ptr<StartupService> makeStartupService();
std::unique_ptr<RecycleBinService> makeRecycleBinService();
std::unique_ptr<SessionService> makeLogindSessionService();

// Where the autostart entry of a program lives: <config home>/autostart/<name>.desktop,
// the name being the program's file name without extension.
std::filesystem::path autostartEntryFile(const std::filesystem::path& programPath);

// Deletes everything inside the folder without following a symbolic link out of it
// (a link is removed as a link). False when the folder is itself a link or something
// inside could not be removed.
bool removeContentsInside(const std::filesystem::path& folder);

}  // namespace Arbor::Platform::Posix
