#pragma once
// A notification icon's menu exported over com.canonical.dbusmenu, the interface panels
// read to draw an item's menu themselves: the item tree with its properties (label,
// enabled, visible, type, toggle-type, toggle-state, children-display), the events of
// the panel's menu, and signals when the menu changes.
//
// The panel's choices go to the owner window exactly as a popup menu's do: "clicked" on
// an item posts WM_COMMAND with the item's identifier (lParam 0), and "about to show"
// of a menu posts WM_INITMENUPOPUP (wParam 0: there is no native menu; lParam the
// position of a submenu's item in its menu, 0 for the whole menu). Nothing runs
// on the thread serving the bus.
//
// Item identifiers on the bus: 0 is the root; an item that can be chosen has its command
// identifier (below 0x10000), every other item one from 0x10000 up, numbered in order.
//
// Not thread-safe: update() and the bus's calls come under the tray host's lock.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "framework/Platform/Linux/StatusNotifierItem.h"
#include "framework/Platform/TrayMenu.h"
#include "framework/Platform/Types.h"

struct sd_bus_slot;

namespace Arbor::Platform::Linux {

class DbusMenuExporter : public StatusNotifierMenu {
public:
    // The window that hears the menu's choices.
    explicit DbusMenuExporter(WindowHandle owner);
    ~DbusMenuExporter() override;
    DbusMenuExporter(const DbusMenuExporter&) = delete;
    DbusMenuExporter& operator=(const DbusMenuExporter&) = delete;

    bool attach(sd_bus* bus, const char* path) override;

    // New content. Once attached, a change of the tree emits LayoutUpdated with a new
    // revision; a change of items' properties alone emits ItemsPropertiesUpdated.
    void update(const std::vector<TrayMenuItem>& menu);
    std::uint32_t revision() const { return revision_; }

    // One item as the bus shows it.
    struct Node {
        std::int32_t id = 0;
        TrayMenuItem::Kind kind = TrayMenuItem::Kind::SubMenu;
        std::string label;  // UTF-8, mnemonics as the bus writes them
        bool enabled = true;
        std::string toggleType;  // "", "checkmark" or "radio"
        std::int32_t toggleState = 0;
        std::uint32_t commandId = 0;
        std::int32_t position = 0;  // among its parent's items
        std::vector<std::int32_t> children;

        bool sameShape(const Node& other) const {
            return id == other.id && kind == other.kind && children == other.children;
        }
        bool operator==(const Node&) const = default;
    };

private:
    void flatten(const std::vector<TrayMenuItem>& items, Node& parent, std::map<std::int32_t, Node>& nodes,
                 std::int32_t& nextOther) const;
    void emitLayoutUpdated();
    void emitPropertiesUpdated(const std::vector<std::int32_t>& changed);

    WindowHandle owner_;
    sd_bus* bus_ = nullptr;
    sd_bus_slot* slot_ = nullptr;
    std::string path_;
    std::map<std::int32_t, Node> nodes_;  // by identifier; 0 the root
    std::uint32_t revision_ = 1;

    friend struct MenuCallbacks;
};

}  // namespace Arbor::Platform::Linux
