// Named mutexes are the host's: a lock that other processes of the same user see
// (HostSystem.h), so a headless run still refuses to run twice at once.
#include "framework/Platform/Headless/HostSystem.h"
#include "framework/Platform/NamedMutex.h"

namespace Arbor::Platform {

std::unique_ptr<NamedMutex> Detail::makeHeadlessNamedMutex() { return Host::makeNamedMutex(); }

}  // namespace Arbor::Platform
