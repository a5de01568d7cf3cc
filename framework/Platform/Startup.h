#pragma once
// Starting the program when the user logs on: a shortcut in the user's Startup folder
// on Win32 (<program name>.lnk), an XDG autostart entry on Linux
// (<config home>/autostart/<program name>.desktop). The entry is only ever the
// program's own: it is named after the program's file name without extension.
#include <memory>
#include <string>
#include <string_view>

namespace Arbor::Platform {

class StartupService {
public:
    virtual ~StartupService() = default;
    // Writes (or overwrites) the entry that starts `programPath` in `workingDirectory`.
    virtual bool registerProgram(std::u16string_view programPath, std::u16string_view workingDirectory) = 0;
    virtual bool unregisterProgram(std::u16string_view programPath) = 0;
    virtual bool isProgramRegistered(std::u16string_view programPath) = 0;
    // The program the entry starts, read back from it; empty when there is none.
    virtual std::u16string registeredTarget(std::u16string_view programPath) = 0;
};

StartupService& startupService();

}  // namespace Arbor::Platform
