// The system's message box.
#include <windows.h>

#include "framework/Platform/MessageBox.h"
#include "framework/Platform/Win32/Win32Text.h"
#include "framework/Platform/Win32/Win32Services.h"

namespace Arbor::Platform {

using namespace Win32;

namespace {

class Win32MessageBoxService : public MessageBoxService {
public:
    int show(WindowHandle owner, std::u16string_view text, std::u16string_view caption,
             std::uint32_t type) override {
        return MessageBoxW(hwndOf(owner), wide(text).c_str(), wide(caption).c_str(), type);
    }
};

}  // namespace

std::unique_ptr<MessageBoxService> Win32::makeMessageBoxService() {
    return std::make_unique<Win32MessageBoxService>();
}

}  // namespace Arbor::Platform
