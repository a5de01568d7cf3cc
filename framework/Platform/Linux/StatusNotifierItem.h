#pragma once
// A notification-area icon as a StatusNotifierItem on the session bus (sd-bus from
// libsystemd). Each item has a connection of its own, since hosts find an item by its
// bus name and always at the object path /StatusNotifierItem: the name is
// org.kde.StatusNotifierItem-<pid>-<n>. The item registers with
// org.kde.StatusNotifierWatcher when it is made and again whenever the watcher's name
// gets a new owner (a panel restarting).
//
// Not thread-safe: one thread at a time (the tray host serialises the calls); the
// owner polls fd() for events() with timeoutMilliseconds() and calls process().
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "framework/Platform/TrayIcon.h"

struct sd_bus;

namespace Arbor::Platform::Linux {

// What the host asked of the item: Activate (usually a left click), SecondaryActivate
// (a middle click) and ContextMenu (a right click).
enum class TrayActivation { Primary, Secondary, Context };

// A menu exported beside the item, at the path of its "Menu" property (the menu the
// panel shows itself, com.canonical.dbusmenu). The item attaches it to its own
// connection and drops it before the connection closes.
class StatusNotifierMenu {
public:
    virtual ~StatusNotifierMenu() = default;
    // Adds the menu's objects under `path` on `bus` (sd_bus_add_object_vtable, with
    // slots the menu keeps and unrefs in its destructor). Called by the thread that
    // attaches the menu, while the item's user keeps others off the item; the bus's
    // calls on the menu come later on the thread that serves the item. False on failure.
    virtual bool attach(sd_bus* bus, const char* path) = 0;
};

class StatusNotifierItem {
public:
    using ActivationHandler = std::function<void(TrayActivation, std::int32_t x, std::int32_t y)>;

    // The object path of an attached menu.
    static constexpr const char* MenuPath = "/MenuBar";

    // Connects to the session bus, takes a name and exports the item; registers it
    // when a watcher runs. Null when there is no session bus.
    static std::unique_ptr<StatusNotifierItem> create(std::string id, const TrayIconPixels& picture,
                                                      std::u16string_view tip, ActivationHandler onActivation);
    ~StatusNotifierItem();
    StatusNotifierItem(const StatusNotifierItem&) = delete;
    StatusNotifierItem& operator=(const StatusNotifierItem&) = delete;

    const std::string& busName() const { return name_; }
    // Whether the watcher took the item (the last registration succeeded and the
    // watcher has not gone since).
    bool registered() const { return registered_; }
    // Whether a watcher owns its name now.
    bool watcherPresent() const { return watcherPresent_; }
    // False once the connection broke (the bus went away).
    bool alive() const { return bus_ != nullptr; }

    // New picture or tip; hosts are told with NewIcon, NewTitle and NewToolTip.
    void setPicture(const TrayIconPixels& picture);
    void setTip(std::u16string_view tip);
    // Attaches the menu at MenuPath and points the "Menu" property there (null: none,
    // the property is "/"). False when the menu would not attach.
    bool setMenu(std::unique_ptr<StatusNotifierMenu> menu);
    // The menu attached now (null: none).
    StatusNotifierMenu* menu() const { return menu_.get(); }

    // For the serving thread's poll(): the connection's descriptor and events, and how
    // long to wait at most (-1 without limit).
    int fd() const;
    short events() const;
    int timeoutMilliseconds() const;
    // Handles everything that arrived; after it, poll again.
    void process();

private:
    StatusNotifierItem() = default;
    bool open(std::string id, const TrayIconPixels& picture, std::u16string_view tip, ActivationHandler handler);
    void registerAsync();
    void close();

    struct Slots;
    sd_bus* bus_ = nullptr;
    std::unique_ptr<Slots> slots_;
    std::string name_;
    std::string id_;
    std::string title_;  // UTF-8 tip
    TrayIconPixels picture_;
    ActivationHandler onActivation_;
    std::unique_ptr<StatusNotifierMenu> menu_;
    bool registered_ = false;
    bool watcherPresent_ = false;

    friend struct ItemCallbacks;
};

}  // namespace Arbor::Platform::Linux
