#pragma once
// For tests of the XEmbed tray icon: a stand-in system tray on a connection and thread
// of its own. It owns the tray selection of the default screen, announces itself
// (MANAGER), and docks each icon that asks (SYSTEM_TRAY_REQUEST_DOCK) into its window,
// side by side, at the given side length. Declared without X types.
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/Platform/Types.h"

namespace Arbor::Platform::X11::Inspection {

class StandInTray {
public:
    StandInTray();
    ~StandInTray();
    StandInTray(const StandInTray&) = delete;
    StandInTray& operator=(const StandInTray&) = delete;

    // Shows the tray window at the screen point and takes the selection; false when the
    // display does not open or another tray holds it.
    bool start(Point topLeft, int side);
    // Destroys the tray window (the selection goes with it).
    void stop();
    // The X windows docked so far, oldest first.
    std::vector<std::uint64_t> docked() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace Arbor::Platform::X11::Inspection
