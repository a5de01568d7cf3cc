#pragma once
// The services of the operating system the process runs on, whichever backend shows
// its windows: processes, shared libraries, named mutexes, memory figures, folders and
// glyphs.
// A build has exactly one set, made for its target system (Posix/PosixHost.cpp on
// POSIX hosts, the Win32 driver on Windows). Backends that draw no windows of the
// system's own (the headless desktop) or share the host's (X11 on Linux) take them
// from here instead of from another backend's files.
#include <cstdint>
#include <memory>

namespace Arbor::Platform {

class FolderService;
class GlyphService;
class LibraryService;
class MemoryService;
class NamedMutex;
class ProcessService;

struct HostServices {
    std::unique_ptr<ProcessService> (*makeProcessService)();
    std::unique_ptr<LibraryService> (*makeLibraryService)();
    std::unique_ptr<NamedMutex> (*makeNamedMutex)();
    std::unique_ptr<MemoryService> (*makeMemoryService)();
    std::unique_ptr<FolderService> (*makeFolderService)();
    std::uint32_t (*currentProcessId)();
    std::unique_ptr<GlyphService> (*makeGlyphService)();
};

const HostServices& hostServices();

}  // namespace Arbor::Platform
