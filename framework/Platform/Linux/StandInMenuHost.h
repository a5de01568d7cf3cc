#pragma once
// For tests of the tray's exported menu on a private session bus: what a panel does
// with an item's com.canonical.dbusmenu object (read the layout, send events, listen for
// changes). Declared without sd-bus types so that tests need no system header.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Arbor::Platform::Linux::Testing {

// One item of a layout with the properties panels read (absent ones at their defaults).
struct MenuNode {
    std::int32_t id = 0;
    std::string label;
    std::string type = "standard";
    bool enabled = true;
    bool visible = true;
    std::string toggleType;
    std::int32_t toggleState = -1;
    std::string childrenDisplay;
    std::vector<MenuNode> children;
};

struct MenuLayout {
    std::uint32_t revision = 0;
    MenuNode root;
};

// GetLayout(0, -1, []) of the menu at `path` of the item; nullopt on failure.
std::optional<MenuLayout> menuLayout(const std::string& busName, const char* path = "/MenuBar");
// Event(id, event, 0, 0); false when the call failed (an unknown identifier).
bool menuEvent(const std::string& busName, std::int32_t id, const char* event, const char* path = "/MenuBar");
// AboutToShow(id): its answer, nullopt when the call failed.
std::optional<bool> menuAboutToShow(const std::string& busName, std::int32_t id, const char* path = "/MenuBar");
// A property of the menu object ("Version" as a number, the others as text).
std::optional<std::string> menuObjectProperty(const std::string& busName, const char* property,
                                              const char* path = "/MenuBar");

// The menu's signals, heard on a connection of its own.
class MenuSignals {
public:
    MenuSignals();
    ~MenuSignals();
    MenuSignals(const MenuSignals&) = delete;
    MenuSignals& operator=(const MenuSignals&) = delete;

    // Listens to the item's menu signals; false without a bus.
    bool start(const std::string& busName);
    // Waits until a signal not yet taken arrives or the time is up; true when one came.
    bool wait(int milliseconds);
    // The revisions of LayoutUpdated, and the identifiers of each ItemsPropertiesUpdated,
    // as heard so far.
    const std::vector<std::uint32_t>& layoutUpdates() const;
    const std::vector<std::vector<std::int32_t>>& propertyUpdates() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace Arbor::Platform::Linux::Testing
