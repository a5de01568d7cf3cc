#pragma once
// What the frame loop asks of the world outside the scene: the tick count and timer
// resolution, the display and cursor, the recognised speech, and the way to end the
// user-interface thread's message loop. The default reads the platform services;
// tests put in a fake clock and screen.
#include <cstdint>
#include <string>

#include "framework/Platform/Types.h"

namespace Quenta::Common {

struct DesktopGeometry {
    int originX = 0;  // the virtual screen's top-left corner in screen coordinates
    int originY = 0;
    int width = 0;
    int height = 0;
};

class FrameEnvironment {
public:
    virtual ~FrameEnvironment() = default;

    virtual std::uint32_t tickCount() = 0;
    virtual void beginTimerResolution(std::uint32_t milliseconds) = 0;
    virtual void endTimerResolution(std::uint32_t milliseconds) = 0;
    // The size is the virtual screen's when every display shares one format, else the
    // primary screen's; the origin is always the virtual screen's.
    virtual DesktopGeometry desktopGeometry() = 0;
    // Screen coordinates.
    virtual Arbor::Platform::Point cursorPosition() = 0;
    // The next recognised text, or the empty text.
    virtual std::u16string takeRecognizedText() = 0;
    // Ends the message loop of the user-interface thread with the code.
    virtual void postQuit(int exitCode) = 0;
};

// The platform-backed environment. uiThread is the thread whose loop ends on quit.
class PlatformFrameEnvironment : public FrameEnvironment {
public:
    explicit PlatformFrameEnvironment(Arbor::Platform::ThreadId uiThread) : uiThread_(uiThread) {}

    std::uint32_t tickCount() override;
    void beginTimerResolution(std::uint32_t milliseconds) override;
    void endTimerResolution(std::uint32_t milliseconds) override;
    DesktopGeometry desktopGeometry() override;
    Arbor::Platform::Point cursorPosition() override;
    std::u16string takeRecognizedText() override;
    void postQuit(int exitCode) override;

private:
    Arbor::Platform::ThreadId uiThread_;
};

}  // namespace Quenta::Common
