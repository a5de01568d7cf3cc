#pragma once
// What the headless backend takes from the real host: processes, shared libraries,
// the cross-process lock of named mutexes, memory figures and folders. Implemented for
// POSIX hosts in Headless/Posix*.cpp and, on Windows builds, by the Win32 backend's
// own services (Headless/HostWindows.cpp).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/Platform/Library.h"
#include "framework/Platform/Memory.h"
#include "framework/Platform/NamedMutex.h"
#include "framework/Platform/Process.h"

namespace Arbor::Platform::Host {

std::unique_ptr<ProcessService> makeProcessService();
std::unique_ptr<LibraryService> makeLibraryService();
std::unique_ptr<NamedMutex> makeNamedMutex();
bool memoryStatus(MemoryStatus& status);
std::u16string executablePath();
std::u16string applicationDataFolder();
bool isWritableDirectory(std::u16string_view directory);
std::uint32_t currentProcessId();

}  // namespace Arbor::Platform::Host
