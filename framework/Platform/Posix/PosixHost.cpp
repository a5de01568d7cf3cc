// The host services of POSIX systems.
#if !defined(_WIN32)
#include "framework/Platform/FreeType/FreeTypeGlyphService.h"
#include "framework/Platform/HostServices.h"
#include "framework/Platform/Posix/HostSystem.h"

namespace Arbor::Platform {

const HostServices& hostServices() {
    static const HostServices services{
        &Posix::makeProcessService, &Posix::makeLibraryService, &Posix::makeNamedMutex,
        &Posix::makeMemoryService,  &Posix::makeFolderService,  &Posix::currentProcessId,
        &FreeType::makeGlyphService,
    };
    return services;
}

}  // namespace Arbor::Platform
#endif
