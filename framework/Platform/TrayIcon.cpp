#include "framework/Platform/TrayIcon.h"

#include <mutex>

#include "framework/Platform/Backend.h"

namespace Arbor::Platform {

TrayIconService& trayIconService() {
    static std::mutex mutex;
    static TrayIconService* headless = nullptr;
    std::lock_guard lock(mutex);
#if defined(TAVIZO_HAS_WIN32)
    static TrayIconService* win32 = nullptr;
    if (currentBackend() == BackendKind::Win32) {
        if (!win32) win32 = Detail::makeWin32TrayIconService().release();
        return *win32;
    }
#endif
    // Kept for the rest of the process, as every service is.
    if (!headless) headless = Detail::makeHeadlessTrayIconService().release();
    return *headless;
}

}  // namespace Arbor::Platform
