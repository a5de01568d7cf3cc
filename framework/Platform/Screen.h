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
};

ScreenService& screenService();

}  // namespace Arbor::Platform
