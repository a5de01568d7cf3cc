#include "Source/Common/FrameEnvironment.h"

#include "framework/Platform/Clock.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/Screen.h"
#include "framework/Speech/SpeechRecognitionEngine.h"

namespace Quenta::Common {

std::uint32_t PlatformFrameEnvironment::tickCount() { return Arbor::Platform::clockService().tickCount(); }

void PlatformFrameEnvironment::beginTimerResolution(std::uint32_t milliseconds) {
    Arbor::Platform::clockService().beginTimerResolution(milliseconds);
}

void PlatformFrameEnvironment::endTimerResolution(std::uint32_t milliseconds) {
    Arbor::Platform::clockService().endTimerResolution(milliseconds);
}

DesktopGeometry PlatformFrameEnvironment::desktopGeometry() {
    const Arbor::Platform::ScreenMetrics m = Arbor::Platform::screenService().metrics();
    DesktopGeometry g;
    g.originX = m.virtualScreen.left;
    g.originY = m.virtualScreen.top;
    g.width = m.sameDisplayFormat ? m.virtualScreen.width() : m.primaryWidth;
    g.height = m.sameDisplayFormat ? m.virtualScreen.height() : m.primaryHeight;
    return g;
}

Arbor::Platform::Point PlatformFrameEnvironment::cursorPosition() { return Arbor::Platform::screenService().cursorPosition(); }

std::u16string PlatformFrameEnvironment::takeRecognizedText() {
    return Arbor::Speech::Recognition::SpeechRecognitionEngine::instance().takeTextOrEmpty();
}

void PlatformFrameEnvironment::postQuit(int exitCode) {
    Arbor::Platform::messageQueueService().postThreadMessage(uiThread_, Arbor::Platform::WM_QUIT,
                                                      static_cast<std::uintptr_t>(exitCode), 0);
}

}  // namespace Quenta::Common
