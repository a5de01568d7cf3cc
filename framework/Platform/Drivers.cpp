// The list of backend drivers, in the order start-up tries them: the desktop of the
// target system first, the offscreen virtual desktop last (it runs anywhere, so it is
// the choice when nothing else is available). A backend's folder is compiled only
// where its system libraries were found (framework/CMakeLists.txt), which defines its
// TAVIZO_HAS_ macro; adding a backend adds its entry here.
#include "framework/Platform/Backend.h"
#include "framework/Platform/BackendDriver.h"

namespace Arbor::Platform {

#if defined(TAVIZO_HAS_WIN32)
extern const BackendDriver win32Driver;
#endif
#if defined(TAVIZO_HAS_X11)
extern const BackendDriver x11Driver;
#endif
extern const BackendDriver headlessDriver;

std::span<const BackendDriver* const> backendDrivers() {
    static const BackendDriver* const drivers[] = {
#if defined(TAVIZO_HAS_WIN32)
        &win32Driver,
#endif
#if defined(TAVIZO_HAS_X11)
        &x11Driver,
#endif
        &headlessDriver,
    };
    return drivers;
}

}  // namespace Arbor::Platform
