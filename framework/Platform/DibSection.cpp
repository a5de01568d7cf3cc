#include "framework/Platform/DibSection.h"

#include "framework/Platform/Backend.h"

namespace Arbor::Platform {

std::unique_ptr<DibSection> createDibSection(std::int32_t w, std::int32_t h) {
    if (w <= 0 || h <= 0) return nullptr;
    switch (currentBackend()) {
#if defined(TAVIZO_HAS_WIN32)
        case BackendKind::Win32: return createWin32DibSection(w, h);
#endif
        default: return createHeadlessDibSection(w, h);
    }
}

}  // namespace Arbor::Platform
