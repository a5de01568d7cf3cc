// Shared libraries are the host's own: a loader test needs a real library.
#include "framework/Platform/Headless/HostSystem.h"
#include "framework/Platform/Library.h"

namespace Arbor::Platform {

std::unique_ptr<LibraryService> Detail::makeHeadlessLibraryService() { return Host::makeLibraryService(); }

}  // namespace Arbor::Platform
