// Shell requests on the virtual desktop: recorded, never carried out; default
// handlers are the ones tests set.
#include "framework/Platform/Headless/HeadlessEffects.h"
#include "framework/Platform/Headless/HeadlessServices.h"
#include "framework/Platform/Shell.h"

namespace Arbor::Platform {

namespace {

class HeadlessShellService : public ShellService {
public:
    bool open(std::u16string_view target, std::u16string_view parameters) override {
        Headless::HeadlessEffects::instance().recordOpen({std::u16string(target), std::u16string(parameters)});
        return true;
    }
    std::u16string defaultHandlerExecutable(std::u16string_view scheme) override {
        return Headless::HeadlessEffects::instance().defaultHandler(std::u16string(scheme));
    }
};

}  // namespace

std::unique_ptr<ShellService> Headless::makeShellService() { return std::make_unique<HeadlessShellService>(); }

}  // namespace Arbor::Platform
