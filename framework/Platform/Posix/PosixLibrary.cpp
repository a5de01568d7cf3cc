// Shared libraries on POSIX hosts.
#if !defined(_WIN32)
#include <dlfcn.h>

#include "framework/Platform/Library.h"
#include "framework/Platform/Posix/HostSystem.h"
#include "framework/Platform/NativePath.h"

namespace Arbor::Platform {

namespace {

class PosixLibraryService : public LibraryService {
public:
    LibraryHandle load(std::u16string_view path) override {
        if (path.empty()) return LibraryHandle::None;
        void* handle = dlopen(toNativePath(path).c_str(), RTLD_NOW | RTLD_LOCAL);
        return static_cast<LibraryHandle>(reinterpret_cast<std::uintptr_t>(handle));
    }
    void* symbol(LibraryHandle library, const char* name) override {
        if (library == LibraryHandle::None || !name) return nullptr;
        return dlsym(reinterpret_cast<void*>(static_cast<std::uintptr_t>(library)), name);
    }
    bool unload(LibraryHandle library) override {
        if (library == LibraryHandle::None) return false;
        return dlclose(reinterpret_cast<void*>(static_cast<std::uintptr_t>(library))) == 0;
    }
};

}  // namespace

std::unique_ptr<LibraryService> Posix::makeLibraryService() { return std::make_unique<PosixLibraryService>(); }

}  // namespace Arbor::Platform
#endif
