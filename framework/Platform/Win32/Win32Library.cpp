// Dynamic-link libraries.
#include <windows.h>

#include "framework/Platform/Library.h"
#include "framework/Platform/Win32/Win32Text.h"
#include "framework/Platform/Win32/Win32Services.h"

namespace Arbor::Platform {

using namespace Win32;

namespace {

HMODULE moduleOf(LibraryHandle library) {
    return reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(library));
}

class Win32LibraryService : public LibraryService {
public:
    LibraryHandle load(std::u16string_view path) override {
        if (path.empty()) return LibraryHandle::None;
        HMODULE module = LoadLibraryW(wide(path).c_str());
        return static_cast<LibraryHandle>(reinterpret_cast<std::uintptr_t>(module));
    }
    void* symbol(LibraryHandle library, const char* name) override {
        if (library == LibraryHandle::None || !name) return nullptr;
        return reinterpret_cast<void*>(GetProcAddress(moduleOf(library), name));
    }
    bool unload(LibraryHandle library) override {
        if (library == LibraryHandle::None) return false;
        return FreeLibrary(moduleOf(library)) != 0;
    }
};

}  // namespace

std::unique_ptr<LibraryService> Win32::makeLibraryService() { return std::make_unique<Win32LibraryService>(); }

}  // namespace Arbor::Platform
