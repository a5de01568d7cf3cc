// The foreground program of the virtual desktop: the foreground window's process is
// this program (its own windows) or one that tests described (HeadlessEffects).
#include "framework/Platform/Folders.h"
#include "framework/Platform/Foreground.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Headless/HeadlessEffects.h"
#include "framework/Platform/Headless/HeadlessServices.h"
#include "framework/Platform/Headless/HeadlessWindowing.h"
#include "framework/Platform/HostServices.h"

namespace Arbor::Platform {

namespace {

class HeadlessForegroundService : public ForegroundService {
public:
    ForegroundWindow foregroundWindow() override {
        const WindowHandle window = desktop().foregroundWindow();
        const auto state = desktop().window(window);
        if (!state) return {};
        const std::uint32_t id = state->processId != 0 ? state->processId : hostServices().currentProcessId();
        return {static_cast<std::uint64_t>(window), id};
    }
    std::optional<std::u16string> foregroundExecutable() override {
        const ForegroundWindow foreground = foregroundWindow();
        if (foreground.window == 0) return std::nullopt;
        if (foreground.processId == hostServices().currentProcessId()) return ownExecutable();
        const auto program = Headless::HeadlessEffects::instance().program(foreground.processId);
        if (!program) return std::nullopt;
        return program->executable;
    }
    std::u16string productName(std::u16string_view executable) override {
        const auto& effects = Headless::HeadlessEffects::instance();
        const auto id = effects.processOfExecutable(std::u16string(executable));
        return id ? effects.program(*id)->productName : std::u16string();
    }
    bool bringToFront(std::u16string_view executable) override {
        const auto id = Headless::HeadlessEffects::instance().processOfExecutable(std::u16string(executable));
        if (!id) return false;
        for (WindowHandle window : desktop().zOrder()) {
            const auto state = desktop().window(window);
            if (state && state->processId == *id && state->visible && state->owner == WindowHandle::None) {
                return desktop().windowing().setForeground(window);
            }
        }
        return false;
    }

private:
    static Headless::HeadlessDesktop& desktop() { return Headless::HeadlessDesktop::instance(); }
    static std::u16string ownExecutable() {
        static const std::u16string path = hostServices().makeFolderService()->executablePath();
        return path;
    }
};

}  // namespace

std::unique_ptr<ForegroundService> Headless::makeForegroundService() {
    return std::make_unique<HeadlessForegroundService>();
}

}  // namespace Arbor::Platform
