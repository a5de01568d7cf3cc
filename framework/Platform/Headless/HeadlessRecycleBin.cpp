// The virtual desktop's recycle bin: emptying it is only counted.
#include "framework/Platform/Headless/HeadlessEffects.h"
#include "framework/Platform/Headless/HeadlessServices.h"
#include "framework/Platform/RecycleBin.h"

namespace Arbor::Platform {

namespace {

class HeadlessRecycleBinService : public RecycleBinService {
public:
    bool empty() override {
        Headless::HeadlessEffects::instance().recordRecycleBinEmptied();
        return true;
    }
};

}  // namespace

std::unique_ptr<RecycleBinService> Headless::makeRecycleBinService() {
    return std::make_unique<HeadlessRecycleBinService>();
}

}  // namespace Arbor::Platform
