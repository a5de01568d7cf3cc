// The recycle bin of every drive, emptied without confirmation, progress or sound.
#include <windows.h>
#include <shellapi.h>

#include "framework/Platform/RecycleBin.h"
#include "framework/Platform/Win32/Win32Services.h"

namespace Arbor::Platform {

namespace {

class Win32RecycleBinService : public RecycleBinService {
public:
    bool empty() override {
        const HRESULT result = SHEmptyRecycleBinW(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
        // An already empty bin answers E_UNEXPECTED on some systems.
        return SUCCEEDED(result) || result == E_UNEXPECTED;
    }
};

}  // namespace

std::unique_ptr<RecycleBinService> Win32::makeRecycleBinService() { return std::make_unique<Win32RecycleBinService>(); }

}  // namespace Arbor::Platform
