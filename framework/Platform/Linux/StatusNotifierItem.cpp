// The StatusNotifierItem over sd-bus: the item's properties and methods, its name, and
// its registration with the watcher.
#include "framework/Platform/Linux/StatusNotifierItem.h"

#include <systemd/sd-bus.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstring>

#include "framework/Text/Utf.h"

namespace Arbor::Platform::Linux {

namespace {

constexpr const char* ItemPath = "/StatusNotifierItem";
constexpr const char* ItemInterface = "org.kde.StatusNotifierItem";
constexpr const char* WatcherName = "org.kde.StatusNotifierWatcher";
constexpr const char* WatcherPath = "/StatusNotifierWatcher";
// A panel answers at once; a bus that does not answer within this should not hold up
// the program.
constexpr std::uint64_t CallTimeoutMicroseconds = 2'000'000;

std::atomic<unsigned> nextItemNumber{1};

// The picture as the item's pixmaps want it: ARGB32 in network byte order.
std::vector<std::uint8_t> networkOrderArgb(const TrayIconPixels& picture) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(picture.pixels.size() * 4);
    for (std::uint32_t word : picture.pixels) {
        bytes.push_back(std::uint8_t(word >> 24));
        bytes.push_back(std::uint8_t(word >> 16));
        bytes.push_back(std::uint8_t(word >> 8));
        bytes.push_back(std::uint8_t(word));
    }
    return bytes;
}

int appendPixmaps(sd_bus_message* reply, const TrayIconPixels* picture) {
    int r = sd_bus_message_open_container(reply, 'a', "(iiay)");
    if (r < 0) return r;
    if (picture && picture->valid()) {
        const std::vector<std::uint8_t> bytes = networkOrderArgb(*picture);
        if ((r = sd_bus_message_open_container(reply, 'r', "iiay")) < 0) return r;
        if ((r = sd_bus_message_append(reply, "ii", picture->width, picture->height)) < 0) return r;
        if ((r = sd_bus_message_append_array(reply, 'y', bytes.data(), bytes.size())) < 0) return r;
        if ((r = sd_bus_message_close_container(reply)) < 0) return r;
    }
    return sd_bus_message_close_container(reply);
}

}  // namespace

struct StatusNotifierItem::Slots {
    sd_bus_slot* object = nullptr;
    sd_bus_slot* watcherMatch = nullptr;
    sd_bus_slot* registration = nullptr;
    ~Slots() {
        sd_bus_slot_unref(registration);
        sd_bus_slot_unref(watcherMatch);
        sd_bus_slot_unref(object);
    }
};

// The sd-bus callbacks, with the item as user data.
struct ItemCallbacks {
    static StatusNotifierItem& item(void* userdata) { return *static_cast<StatusNotifierItem*>(userdata); }

    static int constantString(sd_bus*, const char*, const char*, const char* property, sd_bus_message* reply,
                              void* userdata, sd_bus_error*) {
        StatusNotifierItem& self = item(userdata);
        const char* value = "";
        if (std::strcmp(property, "Category") == 0) value = "ApplicationStatus";
        else if (std::strcmp(property, "Id") == 0) value = self.id_.c_str();
        else if (std::strcmp(property, "Title") == 0) value = self.title_.c_str();
        else if (std::strcmp(property, "Status") == 0) value = "Active";
        return sd_bus_message_append(reply, "s", value);
    }
    static int iconPixmap(sd_bus*, const char*, const char*, const char* property, sd_bus_message* reply,
                          void* userdata, sd_bus_error*) {
        const bool main = std::strcmp(property, "IconPixmap") == 0;
        return appendPixmaps(reply, main ? &item(userdata).picture_ : nullptr);
    }
    static int toolTip(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* userdata,
                       sd_bus_error*) {
        int r = sd_bus_message_open_container(reply, 'r', "sa(iiay)ss");
        if (r < 0) return r;
        if ((r = sd_bus_message_append(reply, "s", "")) < 0) return r;
        if ((r = appendPixmaps(reply, nullptr)) < 0) return r;
        if ((r = sd_bus_message_append(reply, "ss", item(userdata).title_.c_str(), "")) < 0) return r;
        return sd_bus_message_close_container(reply);
    }
    static int itemIsMenu(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                          sd_bus_error*) {
        return sd_bus_message_append(reply, "b", 0);
    }
    static int windowId(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                        sd_bus_error*) {
        return sd_bus_message_append(reply, "i", 0);
    }
    static int menu(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* userdata,
                    sd_bus_error*) {
        return sd_bus_message_append(reply, "o", item(userdata).menu_ ? StatusNotifierItem::MenuPath : "/");
    }

    static int activation(sd_bus_message* call, void* userdata, sd_bus_error*) {
        std::int32_t x = 0, y = 0;
        int r = sd_bus_message_read(call, "ii", &x, &y);
        if (r < 0) return r;
        const char* member = sd_bus_message_get_member(call);
        TrayActivation kind = TrayActivation::Primary;
        if (std::strcmp(member, "SecondaryActivate") == 0) kind = TrayActivation::Secondary;
        else if (std::strcmp(member, "ContextMenu") == 0) kind = TrayActivation::Context;
        StatusNotifierItem& self = item(userdata);
        if (self.onActivation_) self.onActivation_(kind, x, y);
        return sd_bus_reply_method_return(call, "");
    }
    // The wheel over the icon means nothing to the program.
    static int scroll(sd_bus_message* call, void*, sd_bus_error*) { return sd_bus_reply_method_return(call, ""); }

    static int watcherOwnerChanged(sd_bus_message* signal, void* userdata, sd_bus_error*) {
        const char *name = nullptr, *oldOwner = nullptr, *newOwner = nullptr;
        if (sd_bus_message_read(signal, "sss", &name, &oldOwner, &newOwner) < 0) return 0;
        StatusNotifierItem& self = item(userdata);
        self.registered_ = false;
        self.watcherPresent_ = newOwner && *newOwner;
        if (self.watcherPresent_) self.registerAsync();
        return 0;
    }
    static int registrationReply(sd_bus_message* reply, void* userdata, sd_bus_error*) {
        StatusNotifierItem& self = item(userdata);
        self.registered_ = !sd_bus_message_is_method_error(reply, nullptr);
        return 0;
    }
};

namespace {

const sd_bus_vtable itemVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("Category", "s", &ItemCallbacks::constantString, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Id", "s", &ItemCallbacks::constantString, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Title", "s", &ItemCallbacks::constantString, 0, 0),
    SD_BUS_PROPERTY("Status", "s", &ItemCallbacks::constantString, 0, 0),
    SD_BUS_PROPERTY("WindowId", "i", &ItemCallbacks::windowId, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("IconName", "s", &ItemCallbacks::constantString, 0, 0),
    SD_BUS_PROPERTY("IconThemePath", "s", &ItemCallbacks::constantString, 0, 0),
    SD_BUS_PROPERTY("IconPixmap", "a(iiay)", &ItemCallbacks::iconPixmap, 0, 0),
    SD_BUS_PROPERTY("OverlayIconName", "s", &ItemCallbacks::constantString, 0, 0),
    SD_BUS_PROPERTY("OverlayIconPixmap", "a(iiay)", &ItemCallbacks::iconPixmap, 0, 0),
    SD_BUS_PROPERTY("AttentionIconName", "s", &ItemCallbacks::constantString, 0, 0),
    SD_BUS_PROPERTY("AttentionIconPixmap", "a(iiay)", &ItemCallbacks::iconPixmap, 0, 0),
    SD_BUS_PROPERTY("AttentionMovieName", "s", &ItemCallbacks::constantString, 0, 0),
    SD_BUS_PROPERTY("ToolTip", "(sa(iiay)ss)", &ItemCallbacks::toolTip, 0, 0),
    SD_BUS_PROPERTY("ItemIsMenu", "b", &ItemCallbacks::itemIsMenu, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Menu", "o", &ItemCallbacks::menu, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
    SD_BUS_METHOD("Activate", "ii", "", &ItemCallbacks::activation, 0),
    SD_BUS_METHOD("SecondaryActivate", "ii", "", &ItemCallbacks::activation, 0),
    SD_BUS_METHOD("ContextMenu", "ii", "", &ItemCallbacks::activation, 0),
    SD_BUS_METHOD("Scroll", "is", "", &ItemCallbacks::scroll, 0),
    SD_BUS_SIGNAL("NewTitle", "", 0),
    SD_BUS_SIGNAL("NewIcon", "", 0),
    SD_BUS_SIGNAL("NewAttentionIcon", "", 0),
    SD_BUS_SIGNAL("NewOverlayIcon", "", 0),
    SD_BUS_SIGNAL("NewToolTip", "", 0),
    SD_BUS_SIGNAL("NewStatus", "s", 0),
    SD_BUS_VTABLE_END,
};

}  // namespace

std::unique_ptr<StatusNotifierItem> StatusNotifierItem::create(std::string id, const TrayIconPixels& picture,
                                                               std::u16string_view tip,
                                                               ActivationHandler onActivation) {
    std::unique_ptr<StatusNotifierItem> item(new StatusNotifierItem);
    if (!item->open(std::move(id), picture, tip, std::move(onActivation))) return nullptr;
    return item;
}

bool StatusNotifierItem::open(std::string id, const TrayIconPixels& picture, std::u16string_view tip,
                              ActivationHandler handler) {
    id_ = std::move(id);
    title_ = Text::toUtf8(tip);
    picture_ = picture;
    onActivation_ = std::move(handler);
    slots_ = std::make_unique<Slots>();
    // Without a session bus (no DBUS_SESSION_BUS_ADDRESS and no user bus socket) there
    // is no item.
    if (sd_bus_open_user(&bus_) < 0) {
        bus_ = nullptr;
        return false;
    }
    sd_bus_set_method_call_timeout(bus_, CallTimeoutMicroseconds);
    name_ = "org.kde.StatusNotifierItem-" + std::to_string(::getpid()) + "-" + std::to_string(nextItemNumber++);
    const std::string watch = std::string("type='signal',sender='org.freedesktop.DBus',"
                                          "interface='org.freedesktop.DBus',member='NameOwnerChanged',"
                                          "path='/org/freedesktop/DBus',arg0='") +
                              WatcherName + "'";
    if (sd_bus_add_object_vtable(bus_, &slots_->object, ItemPath, ItemInterface, itemVtable, this) < 0 ||
        sd_bus_request_name(bus_, name_.c_str(), 0) < 0 ||
        sd_bus_add_match(bus_, &slots_->watcherMatch, watch.c_str(), &ItemCallbacks::watcherOwnerChanged, this) < 0) {
        close();
        return false;
    }
    // Whether a watcher runs now; if so, register at once so that the caller learns
    // whether the icon shows.
    sd_bus_error error{};  // SD_BUS_ERROR_NULL, without its C compound literal
    sd_bus_message* reply = nullptr;
    int hasOwner = 0;
    if (sd_bus_call_method(bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                           "NameHasOwner", &error, &reply, "s", WatcherName) >= 0)
        sd_bus_message_read(reply, "b", &hasOwner);
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    watcherPresent_ = hasOwner != 0;
    if (watcherPresent_) {
        reply = nullptr;
        registered_ = sd_bus_call_method(bus_, WatcherName, WatcherPath, WatcherName, "RegisterStatusNotifierItem",
                                         &error, &reply, "s", name_.c_str()) >= 0;
        sd_bus_message_unref(reply);
        sd_bus_error_free(&error);
    }
    return true;
}

StatusNotifierItem::~StatusNotifierItem() { close(); }

void StatusNotifierItem::close() {
    // The menu's slots belong to the connection: drop them first.
    menu_.reset();
    slots_.reset();
    if (bus_) {
        // Hosts see the name go and take the icon away.
        sd_bus_flush_close_unref(bus_);
        bus_ = nullptr;
    }
    registered_ = false;
}

void StatusNotifierItem::registerAsync() {
    if (!bus_) return;
    slots_->registration = sd_bus_slot_unref(slots_->registration);
    sd_bus_call_method_async(bus_, &slots_->registration, WatcherName, WatcherPath, WatcherName,
                             "RegisterStatusNotifierItem", &ItemCallbacks::registrationReply, this, "s",
                             name_.c_str());
}

void StatusNotifierItem::setPicture(const TrayIconPixels& picture) {
    picture_ = picture;
    if (bus_) sd_bus_emit_signal(bus_, ItemPath, ItemInterface, "NewIcon", "");
}

void StatusNotifierItem::setTip(std::u16string_view tip) {
    title_ = Text::toUtf8(tip);
    if (!bus_) return;
    sd_bus_emit_signal(bus_, ItemPath, ItemInterface, "NewTitle", "");
    sd_bus_emit_signal(bus_, ItemPath, ItemInterface, "NewToolTip", "");
}

bool StatusNotifierItem::setMenu(std::unique_ptr<StatusNotifierMenu> menu) {
    if (!bus_) return false;
    menu_.reset();
    const bool attached = !menu || menu->attach(bus_, MenuPath);
    if (attached) menu_ = std::move(menu);
    sd_bus_emit_properties_changed(bus_, ItemPath, ItemInterface, "Menu", nullptr);
    return attached;
}

int StatusNotifierItem::fd() const { return bus_ ? sd_bus_get_fd(bus_) : -1; }

short StatusNotifierItem::events() const {
    const int events = bus_ ? sd_bus_get_events(bus_) : 0;
    return events > 0 ? short(events) : 0;
}

int StatusNotifierItem::timeoutMilliseconds() const {
    std::uint64_t deadline = 0;
    if (!bus_ || sd_bus_get_timeout(bus_, &deadline) < 0 || deadline == UINT64_MAX) return -1;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::uint64_t nowMicroseconds = std::uint64_t(now.tv_sec) * 1'000'000 + std::uint64_t(now.tv_nsec) / 1000;
    if (deadline <= nowMicroseconds) return 0;
    const std::uint64_t wait = (deadline - nowMicroseconds + 999) / 1000;
    return wait > INT_MAX ? INT_MAX : int(wait);
}

void StatusNotifierItem::process() {
    while (bus_) {
        const int r = sd_bus_process(bus_, nullptr);
        if (r < 0) {
            // The bus went away: the item is gone with it.
            close();
            return;
        }
        if (r == 0) return;
    }
}

}  // namespace Arbor::Platform::Linux
