// Memory figures: the host's unless a test set them.
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Headless/HeadlessServices.h"
#include "framework/Platform/Memory.h"

namespace Arbor::Platform {

namespace {

class HeadlessMemoryService : public MemoryService {
public:
    bool memoryStatus(MemoryStatus& status) override {
        return Headless::HeadlessDesktop::instance().memoryStatus(status);
    }
};

}  // namespace

std::unique_ptr<MemoryService> Headless::makeMemoryService() {
    return std::make_unique<HeadlessMemoryService>();
}

}  // namespace Arbor::Platform
