#include "framework/Platform/DibSection.h"

#include "framework/Platform/Backend.h"
#include "framework/Platform/BackendDriver.h"

namespace Arbor::Platform {

std::unique_ptr<DibSection> createDibSection(std::int32_t w, std::int32_t h) {
    if (w <= 0 || h <= 0) return nullptr;
    return currentBackend().createDibSection(w, h);
}

}  // namespace Arbor::Platform
