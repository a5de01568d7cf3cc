// The virtual desktop's clipboard: a text tests read back.
#include "framework/Platform/Clipboard.h"
#include "framework/Platform/Headless/HeadlessEffects.h"
#include "framework/Platform/Headless/HeadlessServices.h"

namespace Arbor::Platform {

namespace {

class HeadlessClipboardService : public ClipboardService {
public:
    bool setText(std::u16string_view text) override {
        Headless::HeadlessEffects::instance().setClipboardText(std::u16string(text));
        return true;
    }
    std::optional<std::u16string> text() override { return Headless::HeadlessEffects::instance().clipboardText(); }
};

}  // namespace

std::unique_ptr<ClipboardService> Headless::makeClipboardService() {
    return std::make_unique<HeadlessClipboardService>();
}

}  // namespace Arbor::Platform
