#pragma once
// What the program asked of the notification area on the headless desktop, for tests.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Platform/Types.h"

namespace Arbor::Platform::Headless {

struct TrayIconRecord {
    enum class Action { Add, Modify, Delete };
    Action action = Action::Add;
    WindowHandle window = WindowHandle::None;
    std::uint32_t identifier = 0;
    std::uint32_t callbackMessage = 0;
    void* icon = nullptr;
    std::u16string tip;  // as the notification area would hold it (cut to 127)
    bool accepted = false;
};

// Every add, modify and delete call so far, oldest first.
std::vector<TrayIconRecord> trayIconRecords();
// The windows that show an icon now.
std::vector<WindowHandle> trayIconWindows();
// Forgets the calls and the icons shown.
void resetTrayIcons();

}  // namespace Arbor::Platform::Headless
