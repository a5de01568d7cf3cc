#pragma once
// The plain POSIX host services, shared by the backends that run on POSIX hosts (the
// headless desktop on Linux and X11) through HostServices.h. Each maker lives in the
// file of its service (PosixProcess.cpp, PosixLibrary.cpp, ...).
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

namespace Arbor::Platform {
class FolderService;
class LibraryService;
class MemoryService;
class NamedMutex;
class ProcessService;
}  // namespace Arbor::Platform

namespace Arbor::Platform::Posix {

std::unique_ptr<ProcessService> makeProcessService();
std::unique_ptr<LibraryService> makeLibraryService();
std::unique_ptr<NamedMutex> makeNamedMutex();
std::unique_ptr<MemoryService> makeMemoryService();
std::unique_ptr<FolderService> makeFolderService();
std::uint32_t currentProcessId();

// The lock file behind the named mutex of that name (it exists while the mutex is open).
std::filesystem::path namedMutexLockFile(std::u16string_view name);

}  // namespace Arbor::Platform::Posix
