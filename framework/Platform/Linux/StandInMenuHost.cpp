// The panel-side menu calls of StandInMenuHost.h.
#include "framework/Platform/Linux/StandInMenuHost.h"

#include <systemd/sd-bus.h>
#include <time.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace Arbor::Platform::Linux::Testing {

namespace {

constexpr const char* MenuInterface = "com.canonical.dbusmenu";

struct Connection {
    sd_bus* bus = nullptr;
    Connection() {
        if (sd_bus_open_user(&bus) < 0) bus = nullptr;
    }
    ~Connection() { sd_bus_flush_close_unref(bus); }
};

// Reads one {sv} entry's value into the node when panels know its name.
int readProperty(sd_bus_message* m, MenuNode& node) {
    const char* name = nullptr;
    int r = sd_bus_message_read(m, "s", &name);
    if (r < 0) return r;
    char type = 0;
    const char* contents = nullptr;
    if ((r = sd_bus_message_peek_type(m, &type, &contents)) < 0) return r;
    if ((r = sd_bus_message_enter_container(m, 'v', contents)) < 0) return r;
    std::string* text = nullptr;
    if (std::strcmp(name, "label") == 0) text = &node.label;
    else if (std::strcmp(name, "type") == 0) text = &node.type;
    else if (std::strcmp(name, "toggle-type") == 0) text = &node.toggleType;
    else if (std::strcmp(name, "children-display") == 0) text = &node.childrenDisplay;
    if (text && contents[0] == 's') {
        const char* value = nullptr;
        if ((r = sd_bus_message_read(m, "s", &value)) < 0) return r;
        *text = value;
    } else if (contents[0] == 'b' && (std::strcmp(name, "enabled") == 0 || std::strcmp(name, "visible") == 0)) {
        int value = 0;
        if ((r = sd_bus_message_read(m, "b", &value)) < 0) return r;
        (name[0] == 'e' ? node.enabled : node.visible) = value != 0;
    } else if (contents[0] == 'i' && std::strcmp(name, "toggle-state") == 0) {
        if ((r = sd_bus_message_read(m, "i", &node.toggleState)) < 0) return r;
    } else if ((r = sd_bus_message_skip(m, contents)) < 0) {
        return r;
    }
    return sd_bus_message_exit_container(m);
}

// (ia{sv}av), the reply positioned before it.
int readNode(sd_bus_message* m, MenuNode& node) {
    int r = sd_bus_message_enter_container(m, 'r', "ia{sv}av");
    if (r <= 0) return r < 0 ? r : -EINVAL;
    if ((r = sd_bus_message_read(m, "i", &node.id)) < 0) return r;
    if ((r = sd_bus_message_enter_container(m, 'a', "{sv}")) < 0) return r;
    while ((r = sd_bus_message_enter_container(m, 'e', "sv")) > 0) {
        if ((r = readProperty(m, node)) < 0) return r;
        if ((r = sd_bus_message_exit_container(m)) < 0) return r;
    }
    if (r < 0 || (r = sd_bus_message_exit_container(m)) < 0) return r;
    if ((r = sd_bus_message_enter_container(m, 'a', "v")) < 0) return r;
    while ((r = sd_bus_message_enter_container(m, 'v', "(ia{sv}av)")) > 0) {
        node.children.emplace_back();
        if ((r = readNode(m, node.children.back())) < 0) return r;
        if ((r = sd_bus_message_exit_container(m)) < 0) return r;
    }
    if (r < 0 || (r = sd_bus_message_exit_container(m)) < 0) return r;
    return sd_bus_message_exit_container(m);
}

}  // namespace

std::optional<MenuLayout> menuLayout(const std::string& busName, const char* path) {
    Connection c;
    if (!c.bus) return std::nullopt;
    sd_bus_error error{};  // SD_BUS_ERROR_NULL, without its C compound literal
    sd_bus_message* reply = nullptr;
    std::optional<MenuLayout> layout;
    if (sd_bus_call_method(c.bus, busName.c_str(), path, MenuInterface, "GetLayout", &error, &reply, "iias", 0, -1,
                           0) >= 0) {
        MenuLayout read;
        if (sd_bus_message_read(reply, "u", &read.revision) >= 0 && readNode(reply, read.root) >= 0) layout = read;
    }
    sd_bus_error_free(&error);
    sd_bus_message_unref(reply);
    return layout;
}

bool menuEvent(const std::string& busName, std::int32_t id, const char* event, const char* path) {
    Connection c;
    if (!c.bus) return false;
    sd_bus_error error{};  // SD_BUS_ERROR_NULL, without its C compound literal
    const int r = sd_bus_call_method(c.bus, busName.c_str(), path, MenuInterface, "Event", &error, nullptr, "isvu", id,
                                     event, "i", 0, 0u);
    sd_bus_error_free(&error);
    return r >= 0;
}

std::optional<bool> menuAboutToShow(const std::string& busName, std::int32_t id, const char* path) {
    Connection c;
    if (!c.bus) return std::nullopt;
    sd_bus_error error{};  // SD_BUS_ERROR_NULL, without its C compound literal
    sd_bus_message* reply = nullptr;
    std::optional<bool> result;
    int needUpdate = 0;
    if (sd_bus_call_method(c.bus, busName.c_str(), path, MenuInterface, "AboutToShow", &error, &reply, "i", id) >= 0 &&
        sd_bus_message_read(reply, "b", &needUpdate) >= 0)
        result = needUpdate != 0;
    sd_bus_error_free(&error);
    sd_bus_message_unref(reply);
    return result;
}

std::optional<std::string> menuObjectProperty(const std::string& busName, const char* property, const char* path) {
    Connection c;
    if (!c.bus) return std::nullopt;
    sd_bus_error error{};  // SD_BUS_ERROR_NULL, without its C compound literal
    std::optional<std::string> result;
    if (std::strcmp(property, "Version") == 0) {
        std::uint32_t version = 0;
        if (sd_bus_get_property_trivial(c.bus, busName.c_str(), path, MenuInterface, property, &error, 'u',
                                        &version) >= 0)
            result = std::to_string(version);
    } else {
        char* text = nullptr;
        if (sd_bus_get_property_string(c.bus, busName.c_str(), path, MenuInterface, property, &error, &text) >= 0)
            result = text;
        std::free(text);
    }
    sd_bus_error_free(&error);
    return result;
}

struct MenuSignals::State {
    sd_bus* bus = nullptr;
    sd_bus_slot* match = nullptr;
    std::vector<std::uint32_t> layouts;
    std::vector<std::vector<std::int32_t>> properties;
    bool arrived = false;

    static int signal(sd_bus_message* m, void* userdata, sd_bus_error*) {
        auto& state = *static_cast<State*>(userdata);
        if (sd_bus_message_is_signal(m, MenuInterface, "LayoutUpdated")) {
            std::uint32_t revision = 0;
            std::int32_t parent = 0;
            if (sd_bus_message_read(m, "ui", &revision, &parent) >= 0) state.layouts.push_back(revision);
        } else if (sd_bus_message_is_signal(m, MenuInterface, "ItemsPropertiesUpdated")) {
            std::vector<std::int32_t> ids;
            if (sd_bus_message_enter_container(m, 'a', "(ia{sv})") > 0) {
                while (sd_bus_message_enter_container(m, 'r', "ia{sv}") > 0) {
                    std::int32_t id = 0;
                    if (sd_bus_message_read(m, "i", &id) < 0 || sd_bus_message_skip(m, "a{sv}") < 0) break;
                    ids.push_back(id);
                    sd_bus_message_exit_container(m);
                }
            }
            state.properties.push_back(ids);
        } else {
            return 0;
        }
        state.arrived = true;
        return 0;
    }
};

MenuSignals::MenuSignals() : state_(std::make_unique<State>()) {}

MenuSignals::~MenuSignals() {
    sd_bus_slot_unref(state_->match);
    sd_bus_flush_close_unref(state_->bus);
}

bool MenuSignals::start(const std::string& busName) {
    if (sd_bus_open_user(&state_->bus) < 0) {
        state_->bus = nullptr;
        return false;
    }
    const std::string rule =
        "type='signal',sender='" + busName + "',interface='" + std::string(MenuInterface) + "'";
    // The match is in place once the bus daemon answered.
    return sd_bus_add_match(state_->bus, &state_->match, rule.c_str(), &State::signal, state_.get()) >= 0;
}

bool MenuSignals::wait(int milliseconds) {
    if (!state_->bus) return false;
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    const auto elapsed = [&] {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1'000'000;
    };
    state_->arrived = false;
    while (!state_->arrived) {
        const int r = sd_bus_process(state_->bus, nullptr);
        if (r < 0) return false;
        if (r > 0) continue;
        const long left = milliseconds - elapsed();
        if (left <= 0) break;
        sd_bus_wait(state_->bus, std::uint64_t(left) * 1000);
    }
    return state_->arrived;
}

const std::vector<std::uint32_t>& MenuSignals::layoutUpdates() const { return state_->layouts; }
const std::vector<std::vector<std::int32_t>>& MenuSignals::propertyUpdates() const { return state_->properties; }

}  // namespace Arbor::Platform::Linux::Testing
