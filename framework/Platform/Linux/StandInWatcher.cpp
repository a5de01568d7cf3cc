// The stand-in watcher and panel calls of StandInWatcher.h.
#include "framework/Platform/Linux/StandInWatcher.h"

#include <systemd/sd-bus.h>

#include <atomic>
#include <mutex>
#include <thread>

namespace Arbor::Platform::Linux::Testing {

namespace {

constexpr const char* WatcherName = "org.kde.StatusNotifierWatcher";
constexpr const char* ItemPath = "/StatusNotifierItem";
constexpr const char* ItemInterface = "org.kde.StatusNotifierItem";

// One short connection per call, closed with it.
struct Connection {
    sd_bus* bus = nullptr;
    Connection() {
        if (sd_bus_open_user(&bus) < 0) bus = nullptr;
    }
    ~Connection() { sd_bus_flush_close_unref(bus); }
};

// Reads a property into the reply, positioned inside its variant; null on failure.
sd_bus_message* property(sd_bus* bus, const std::string& busName, const char* name, const char* signature) {
    sd_bus_error error{};  // SD_BUS_ERROR_NULL, without its C compound literal
    sd_bus_message* reply = nullptr;
    const int r = sd_bus_call_method(bus, busName.c_str(), ItemPath, "org.freedesktop.DBus.Properties", "Get",
                                     &error, &reply, "ss", ItemInterface, name);
    sd_bus_error_free(&error);
    if (r < 0 || sd_bus_message_enter_container(reply, 'v', signature) < 0) {
        sd_bus_message_unref(reply);
        return nullptr;
    }
    return reply;
}

}  // namespace

struct StandInWatcher::State {
    sd_bus* bus = nullptr;
    sd_bus_slot* object = nullptr;
    std::atomic<bool> stopping{false};
    std::thread thread;
    mutable std::mutex mutex;
    std::vector<std::string> registrations;

    static int registerItem(sd_bus_message* call, void* userdata, sd_bus_error*) {
        auto& state = *static_cast<State*>(userdata);
        const char* service = nullptr;
        const int r = sd_bus_message_read(call, "s", &service);
        if (r < 0) return r;
        {
            std::lock_guard lock(state.mutex);
            state.registrations.emplace_back(service);
        }
        return sd_bus_reply_method_return(call, "");
    }
    static int hostRegistered(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                              sd_bus_error*) {
        return sd_bus_message_append(reply, "b", 1);
    }
    static const sd_bus_vtable* vtable() {
        static const sd_bus_vtable table[] = {
            SD_BUS_VTABLE_START(0),
            SD_BUS_METHOD("RegisterStatusNotifierItem", "s", "", &State::registerItem, 0),
            SD_BUS_PROPERTY("IsStatusNotifierHostRegistered", "b", &State::hostRegistered, 0, 0),
            SD_BUS_VTABLE_END,
        };
        return table;
    }
};

bool sessionBusAvailable() { return Connection().bus != nullptr; }

StandInWatcher::StandInWatcher() : state_(std::make_unique<State>()) {}

StandInWatcher::~StandInWatcher() { stop(); }

bool StandInWatcher::start() {
    stop();
    State& s = *state_;
    if (sd_bus_open_user(&s.bus) < 0) {
        s.bus = nullptr;
        return false;
    }
    if (sd_bus_add_object_vtable(s.bus, &s.object, "/StatusNotifierWatcher", WatcherName, State::vtable(), &s) < 0 ||
        sd_bus_request_name(s.bus, WatcherName, 0) < 0) {
        stop();
        return false;
    }
    s.stopping = false;
    s.thread = std::thread([&s] {
        while (!s.stopping) {
            while (sd_bus_process(s.bus, nullptr) > 0) {
            }
            sd_bus_wait(s.bus, 20'000);
        }
    });
    return true;
}

void StandInWatcher::stop() {
    State& s = *state_;
    s.stopping = true;
    if (s.thread.joinable()) s.thread.join();
    s.object = sd_bus_slot_unref(s.object);
    if (s.bus) s.bus = sd_bus_flush_close_unref(s.bus);
}

std::vector<std::string> StandInWatcher::registrations() const {
    std::lock_guard lock(state_->mutex);
    return state_->registrations;
}

bool callItem(const std::string& busName, const char* method, std::int32_t x, std::int32_t y) {
    Connection c;
    if (!c.bus) return false;
    sd_bus_error error{};  // SD_BUS_ERROR_NULL, without its C compound literal
    const int r = sd_bus_call_method(c.bus, busName.c_str(), ItemPath, ItemInterface, method, &error, nullptr, "ii", x, y);
    sd_bus_error_free(&error);
    return r >= 0;
}

std::optional<std::string> itemText(const std::string& busName, const char* name) {
    Connection c;
    if (!c.bus) return std::nullopt;
    for (const char* signature : {"s", "o"}) {
        sd_bus_message* reply = property(c.bus, busName, name, signature);
        if (!reply) continue;
        const char* value = nullptr;
        std::optional<std::string> result;
        if (sd_bus_message_read_basic(reply, signature[0], &value) >= 0 && value) result = value;
        sd_bus_message_unref(reply);
        return result;
    }
    return std::nullopt;
}

std::optional<bool> itemFlag(const std::string& busName, const char* name) {
    Connection c;
    if (!c.bus) return std::nullopt;
    sd_bus_message* reply = property(c.bus, busName, name, "b");
    if (!reply) return std::nullopt;
    int value = 0;
    std::optional<bool> result;
    if (sd_bus_message_read(reply, "b", &value) >= 0) result = value != 0;
    sd_bus_message_unref(reply);
    return result;
}

std::optional<TrayIconPixels> itemPicture(const std::string& busName) {
    Connection c;
    if (!c.bus) return std::nullopt;
    sd_bus_message* reply = property(c.bus, busName, "IconPixmap", "a(iiay)");
    if (!reply) return std::nullopt;
    std::optional<TrayIconPixels> result;
    TrayIconPixels picture;
    const void* bytes = nullptr;
    std::size_t size = 0;
    if (sd_bus_message_enter_container(reply, 'a', "(iiay)") > 0 &&
        sd_bus_message_enter_container(reply, 'r', "iiay") > 0 &&
        sd_bus_message_read(reply, "ii", &picture.width, &picture.height) >= 0 &&
        sd_bus_message_read_array(reply, 'y', &bytes, &size) >= 0) {
        const auto* b = static_cast<const std::uint8_t*>(bytes);
        for (std::size_t i = 0; i + 3 < size; i += 4)
            picture.pixels.push_back(std::uint32_t(b[i]) << 24 | std::uint32_t(b[i + 1]) << 16 |
                                     std::uint32_t(b[i + 2]) << 8 | b[i + 3]);
        result = picture;
    }
    sd_bus_message_unref(reply);
    return result;
}

std::optional<std::vector<std::string>> itemPropertyNames(const std::string& busName) {
    Connection c;
    if (!c.bus) return std::nullopt;
    sd_bus_error error{};  // SD_BUS_ERROR_NULL, without its C compound literal
    sd_bus_message* reply = nullptr;
    const int r = sd_bus_call_method(c.bus, busName.c_str(), ItemPath, "org.freedesktop.DBus.Properties", "GetAll",
                                     &error, &reply, "s", ItemInterface);
    sd_bus_error_free(&error);
    std::optional<std::vector<std::string>> names;
    if (r >= 0 && sd_bus_message_enter_container(reply, 'a', "{sv}") > 0) {
        names.emplace();
        while (sd_bus_message_enter_container(reply, 'e', "sv") > 0) {
            const char* name = nullptr;
            if (sd_bus_message_read(reply, "s", &name) < 0 || sd_bus_message_skip(reply, "v") < 0) {
                names.reset();
                break;
            }
            names->emplace_back(name);
            sd_bus_message_exit_container(reply);
        }
    }
    sd_bus_message_unref(reply);
    return names;
}

std::optional<std::string> itemToolTipTitle(const std::string& busName) {
    Connection c;
    if (!c.bus) return std::nullopt;
    sd_bus_message* reply = property(c.bus, busName, "ToolTip", "(sa(iiay)ss)");
    if (!reply) return std::nullopt;
    std::optional<std::string> result;
    const char *iconName = nullptr, *title = nullptr, *text = nullptr;
    if (sd_bus_message_enter_container(reply, 'r', "sa(iiay)ss") > 0 &&
        sd_bus_message_read(reply, "s", &iconName) >= 0 && sd_bus_message_skip(reply, "a(iiay)") >= 0 &&
        sd_bus_message_read(reply, "ss", &title, &text) >= 0 && title)
        result = title;
    sd_bus_message_unref(reply);
    return result;
}

}  // namespace Arbor::Platform::Linux::Testing
