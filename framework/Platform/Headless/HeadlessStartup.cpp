// Start-up registration on the virtual desktop: one recorded entry.
#include "framework/Platform/Headless/HeadlessEffects.h"
#include "framework/Platform/Headless/HeadlessServices.h"
#include "framework/Platform/Startup.h"

namespace Arbor::Platform {

namespace {

class HeadlessStartupService : public StartupService {
public:
    bool registerProgram(std::u16string_view programPath, std::u16string_view workingDirectory) override {
        if (programPath.empty()) return false;
        effects().setStartupEntry(std::pair{std::u16string(programPath), std::u16string(workingDirectory)});
        return true;
    }
    bool unregisterProgram(std::u16string_view) override {
        effects().setStartupEntry(std::nullopt);
        return true;
    }
    bool isProgramRegistered(std::u16string_view programPath) override {
        const auto entry = effects().startupEntry();
        return entry && entry->first == programPath;
    }
    std::u16string registeredTarget(std::u16string_view) override {
        const auto entry = effects().startupEntry();
        return entry ? entry->first : std::u16string();
    }

private:
    static Headless::HeadlessEffects& effects() { return Headless::HeadlessEffects::instance(); }
};

}  // namespace

std::unique_ptr<StartupService> Headless::makeStartupService() { return std::make_unique<HeadlessStartupService>(); }

}  // namespace Arbor::Platform
