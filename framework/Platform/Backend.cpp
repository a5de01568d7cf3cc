#include "framework/Platform/Backend.h"

#include <atomic>

namespace Arbor::Platform {

namespace {
std::atomic<BackendKind>& selected() {
    static std::atomic<BackendKind> kind{nativeBackend()};
    return kind;
}
}  // namespace

BackendKind nativeBackend() {
#if defined(_WIN32)
    return BackendKind::Win32;
#else
    return BackendKind::Headless;
#endif
}

void selectBackend(BackendKind kind) { selected().store(kind); }

BackendKind currentBackend() { return selected().load(); }

bool hasBackend(BackendKind kind) {
    switch (kind) {
        case BackendKind::Headless: return true;
#if defined(TAVIZO_HAS_WIN32)
        case BackendKind::Win32: return true;
#endif
#if defined(TAVIZO_HAS_X11)
        case BackendKind::X11: return true;
#endif
        default: return false;
    }
}

}  // namespace Arbor::Platform
