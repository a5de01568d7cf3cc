#pragma once
// Display metrics and the cursor position.
#include <memory>

#include "framework/Platform/Types.h"

namespace Arbor::Platform {

struct ScreenMetrics {
    Rect virtualScreen;  // the bounding box of every display, in screen coordinates
    int primaryWidth = 0;
    int primaryHeight = 0;
    bool sameDisplayFormat = true;  // every display has the same colour format
};

class ScreenService {
public:
    virtual ~ScreenService() = default;
    virtual ScreenMetrics metrics() = 0;
    // Screen coordinates.
    virtual Point cursorPosition() = 0;
    // The part of the primary monitor not taken by panels and task bars, in screen
    // coordinates. Where the system says nothing of panels, the primary monitor, whose
    // top-left corner is the origin unless a backend knows better.
    virtual Rect workArea() {
        const ScreenMetrics m = metrics();
        return Rect{0, 0, m.primaryWidth, m.primaryHeight};
    }
};

ScreenService& screenService();

}  // namespace Arbor::Platform
