#pragma once
// Emptying the user's recycle bin without asking: every drive's on Win32, the
// freedesktop trash of the home volume on Linux, a recorded request on the headless
// backend.
#include <memory>

namespace Arbor::Platform {

class RecycleBinService {
public:
    virtual ~RecycleBinService() = default;
    // True when the bin is empty afterwards (an empty or missing bin included).
    virtual bool empty() = 0;
};

RecycleBinService& recycleBinService();

}  // namespace Arbor::Platform
