#pragma once
// The program's own icon, shown in the notification area. Its picture is built into
// the program (Resources/tavizo-icon.png, rendered from art/icon.svg).
#include <memory>

#include "framework/Platform/TrayIcon.h"

namespace Quenta::Application {

// Null when the backend cannot make icons; the tray then shows what it shows for none.
std::unique_ptr<Arbor::Platform::TrayIconImage> makeApplicationIcon();

}  // namespace Quenta::Application
