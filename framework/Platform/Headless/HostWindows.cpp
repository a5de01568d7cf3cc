// On Windows builds the headless backend takes host services from the Win32 backend.
#if defined(_WIN32)
#include "framework/Platform/Folders.h"
#include "framework/Platform/Headless/HostSystem.h"

namespace Arbor::Platform::Host {

namespace {
FolderService& win32Folders() {
    static FolderService* folders = Detail::makeWin32FolderService().release();
    return *folders;
}
MemoryService& win32Memory() {
    static MemoryService* memory = Detail::makeWin32MemoryService().release();
    return *memory;
}
ProcessService& win32Processes() {
    static ProcessService* processes = Detail::makeWin32ProcessService().release();
    return *processes;
}
}  // namespace

std::unique_ptr<ProcessService> makeProcessService() { return Detail::makeWin32ProcessService(); }
std::unique_ptr<LibraryService> makeLibraryService() { return Detail::makeWin32LibraryService(); }
std::unique_ptr<NamedMutex> makeNamedMutex() { return Detail::makeWin32NamedMutex(); }
bool memoryStatus(MemoryStatus& status) { return win32Memory().memoryStatus(status); }
std::u16string executablePath() { return win32Folders().executablePath(); }
std::u16string applicationDataFolder() { return win32Folders().applicationDataFolder(); }
bool isWritableDirectory(std::u16string_view directory) { return win32Folders().isWritableDirectory(directory); }
std::uint32_t currentProcessId() { return win32Processes().currentProcessId(); }

}  // namespace Arbor::Platform::Host
#endif
