#pragma once
// For tests of the tray icon on a private session bus (dbus-run-session): a stand-in
// StatusNotifierWatcher that records the items registering with it, and calls a panel
// makes on an item. Declared without sd-bus types so that tests need no system header.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/Platform/TrayIcon.h"

namespace Arbor::Platform::Linux::Testing {

// Whether a session bus answers (DBUS_SESSION_BUS_ADDRESS or the user bus).
bool sessionBusAvailable();

class StandInWatcher {
public:
    StandInWatcher();
    ~StandInWatcher();
    StandInWatcher(const StandInWatcher&) = delete;
    StandInWatcher& operator=(const StandInWatcher&) = delete;

    // Takes org.kde.StatusNotifierWatcher on a connection of its own and answers on a
    // thread of its own; false when there is no bus or the name is taken.
    bool start();
    // Closes the connection: the name goes, as when a panel ends.
    void stop();
    // The service names registered so far, oldest first (again after a restart).
    std::vector<std::string> registrations() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// What a panel asks of an item (each call on a short connection of its own).
bool callItem(const std::string& busName, const char* method, std::int32_t x, std::int32_t y);
// A property of type "s" or "o".
std::optional<std::string> itemText(const std::string& busName, const char* property);
std::optional<bool> itemFlag(const std::string& busName, const char* property);
// The first picture of IconPixmap, back as straight 0xAARRGGBB words.
std::optional<TrayIconPixels> itemPicture(const std::string& busName);
// The names GetAll answers with, as hosts read an item at once; nullopt on failure.
std::optional<std::vector<std::string>> itemPropertyNames(const std::string& busName);
// The title of the ToolTip property.
std::optional<std::string> itemToolTipTitle(const std::string& busName);

}  // namespace Arbor::Platform::Linux::Testing
