// The virtual screen and cursor, as tests set them.
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Headless/HeadlessServices.h"
#include "framework/Platform/Screen.h"

namespace Arbor::Platform {

namespace {

class HeadlessScreenService : public ScreenService {
public:
    ScreenMetrics metrics() override { return Headless::HeadlessDesktop::instance().screen(); }
    Point cursorPosition() override { return Headless::HeadlessDesktop::instance().cursorPosition(); }
};

}  // namespace

std::unique_ptr<ScreenService> Headless::makeScreenService() {
    return std::make_unique<HeadlessScreenService>();
}

}  // namespace Arbor::Platform
