#pragma once
// What the program asked of the notification area on the headless desktop, for tests.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Platform/TrayMenu.h"
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
// The menus handed to setMenu so far, oldest first. (The headless desktop answers
// false: its right clicks show the program's own popup menu.)
struct TrayMenuRecord {
    WindowHandle window = WindowHandle::None;
    std::vector<TrayMenuItem> menu;
};
std::vector<TrayMenuRecord> trayMenuRecords();
// Forgets the calls and the icons shown.
void resetTrayIcons();

}  // namespace Arbor::Platform::Headless
