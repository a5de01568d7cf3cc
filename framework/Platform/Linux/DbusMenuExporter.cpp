// com.canonical.dbusmenu over sd-bus (see DbusMenuExporter.h).
#include "framework/Platform/Linux/DbusMenuExporter.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/PopupMenu.h"
#include "framework/Text/Utf.h"

namespace Arbor::Platform::Linux {

namespace {

constexpr const char* MenuInterface = "com.canonical.dbusmenu";
// Identifiers of items that carry no command identifier of their own; above every
// command identifier (WM_COMMAND holds 16 bits).
constexpr std::int32_t FirstOtherId = 0x10000;

// Menu texts mark their mnemonic with '&' ("&&" a plain '&'); the bus marks it with
// '_' ("__" a plain '_').
std::string busLabel(std::u16string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'&' && i + 1 < text.size()) {
            out += text[i + 1] == u'&' ? u'&' : u'_';
            if (text[i + 1] == u'&') ++i;
        } else if (c == u'_') {
            out += u"__";
        } else {
            out += c;
        }
    }
    return Text::toUtf8(out);
}

using Node = DbusMenuExporter::Node;

// One property: its name and a value of type 's', 'b' or 'i'.
struct Property {
    const char* name;
    char type;
    std::string text;
    std::int32_t number = 0;  // 'b' and 'i'
};

// Every property of the item; each item always carries all of its properties, so
// that a change never removes one.
std::vector<Property> propertiesOf(const Node& node) {
    std::vector<Property> list;
    if (node.id == 0) {
        list.push_back({"children-display", 's', "submenu"});
        return list;
    }
    if (node.kind == TrayMenuItem::Kind::Separator) {
        list.push_back({"type", 's', "separator"});
    } else {
        list.push_back({"label", 's', node.label});
    }
    list.push_back({"enabled", 'b', {}, node.enabled});
    list.push_back({"visible", 'b', {}, 1});
    if (node.kind == TrayMenuItem::Kind::SubMenu) {
        list.push_back({"children-display", 's', "submenu"});
    } else if (node.kind == TrayMenuItem::Kind::Command) {
        list.push_back({"toggle-type", 's', node.toggleType});
        list.push_back({"toggle-state", 'i', {}, node.toggleState});
    }
    return list;
}

int appendValue(sd_bus_message* m, const Property& property) {
    const char contents[2] = {property.type, 0};
    int r = sd_bus_message_open_container(m, 'v', contents);
    if (r < 0) return r;
    if (property.type == 's') r = sd_bus_message_append_basic(m, 's', property.text.c_str());
    else r = sd_bus_message_append_basic(m, property.type, &property.number);
    if (r < 0) return r;
    return sd_bus_message_close_container(m);
}

// The item's properties as a{sv}, only `names` unless that is empty.
int appendProperties(sd_bus_message* m, const Node& node, const std::vector<std::string>& names) {
    int r = sd_bus_message_open_container(m, 'a', "{sv}");
    if (r < 0) return r;
    for (const Property& property : propertiesOf(node)) {
        if (!names.empty() && std::find(names.begin(), names.end(), property.name) == names.end()) continue;
        if ((r = sd_bus_message_open_container(m, 'e', "sv")) < 0) return r;
        if ((r = sd_bus_message_append(m, "s", property.name)) < 0) return r;
        if ((r = appendValue(m, property)) < 0) return r;
        if ((r = sd_bus_message_close_container(m)) < 0) return r;
    }
    return sd_bus_message_close_container(m);
}

using Names = std::vector<std::string>;

int readNames(sd_bus_message* m, Names& names) {
    char** strv = nullptr;
    const int r = sd_bus_message_read_strv(m, &strv);
    if (r < 0) return r;
    for (char** s = strv; s && *s; ++s) {
        names.emplace_back(*s);
        std::free(*s);
    }
    std::free(strv);
    return 0;
}

int readIds(sd_bus_message* m, std::vector<std::int32_t>& ids) {
    const void* data = nullptr;
    std::size_t size = 0;
    const int r = sd_bus_message_read_array(m, 'i', &data, &size);
    if (r < 0) return r;
    const auto* values = static_cast<const std::int32_t*>(data);
    ids.assign(values, values + size / sizeof(std::int32_t));
    return 0;
}

}  // namespace

// The sd-bus callbacks, with the exporter as user data.
struct MenuCallbacks {
    static DbusMenuExporter& menu(void* userdata) { return *static_cast<DbusMenuExporter*>(userdata); }

    static const Node* find(DbusMenuExporter& self, std::int32_t id) {
        auto it = self.nodes_.find(id);
        return it == self.nodes_.end() ? nullptr : &it->second;
    }

    // (ia{sv}av) of the node and, `depth` levels down (-1: all), its children.
    static int appendLayout(DbusMenuExporter& self, sd_bus_message* m, const Node& node, int depth,
                            const Names& names) {
        int r = sd_bus_message_open_container(m, 'r', "ia{sv}av");
        if (r < 0) return r;
        if ((r = sd_bus_message_append(m, "i", node.id)) < 0) return r;
        if ((r = appendProperties(m, node, names)) < 0) return r;
        if ((r = sd_bus_message_open_container(m, 'a', "v")) < 0) return r;
        if (depth != 0) {
            for (std::int32_t childId : node.children) {
                const Node* child = find(self, childId);
                if (!child) continue;
                if ((r = sd_bus_message_open_container(m, 'v', "(ia{sv}av)")) < 0) return r;
                if ((r = appendLayout(self, m, *child, depth < 0 ? -1 : depth - 1, names)) < 0) return r;
                if ((r = sd_bus_message_close_container(m)) < 0) return r;
            }
        }
        if ((r = sd_bus_message_close_container(m)) < 0) return r;
        return sd_bus_message_close_container(m);
    }

    static int unknownItem(sd_bus_error* error, std::int32_t id) {
        return sd_bus_error_setf(error, SD_BUS_ERROR_INVALID_ARGS, "no menu item %d", int(id));
    }

    static int getLayout(sd_bus_message* call, void* userdata, sd_bus_error* error) {
        DbusMenuExporter& self = menu(userdata);
        std::int32_t parent = 0, depth = -1;
        Names names;
        int r = sd_bus_message_read(call, "ii", &parent, &depth);
        if (r < 0 || (r = readNames(call, names)) < 0) return r;
        const Node* node = find(self, parent);
        if (!node) return unknownItem(error, parent);
        sd_bus_message* reply = nullptr;
        if ((r = sd_bus_message_new_method_return(call, &reply)) < 0) return r;
        if ((r = sd_bus_message_append(reply, "u", self.revision_)) >= 0 &&
            (r = appendLayout(self, reply, *node, depth, names)) >= 0)
            r = sd_bus_send(nullptr, reply, nullptr);
        sd_bus_message_unref(reply);
        return r;
    }

    static int getGroupProperties(sd_bus_message* call, void* userdata, sd_bus_error*) {
        DbusMenuExporter& self = menu(userdata);
        std::vector<std::int32_t> ids;
        Names names;
        int r = readIds(call, ids);
        if (r < 0 || (r = readNames(call, names)) < 0) return r;
        // No identifiers: every item.
        if (ids.empty())
            for (const auto& [id, node] : self.nodes_) ids.push_back(id);
        sd_bus_message* reply = nullptr;
        if ((r = sd_bus_message_new_method_return(call, &reply)) < 0) return r;
        r = sd_bus_message_open_container(reply, 'a', "(ia{sv})");
        for (std::int32_t id : ids) {
            const Node* node = find(self, id);
            if (!node || r < 0) continue;  // unknown identifiers are left out
            if ((r = sd_bus_message_open_container(reply, 'r', "ia{sv}")) < 0) break;
            if ((r = sd_bus_message_append(reply, "i", id)) < 0) break;
            if ((r = appendProperties(reply, *node, names)) < 0) break;
            r = sd_bus_message_close_container(reply);
        }
        if (r >= 0 && (r = sd_bus_message_close_container(reply)) >= 0) r = sd_bus_send(nullptr, reply, nullptr);
        sd_bus_message_unref(reply);
        return r;
    }

    static int getProperty(sd_bus_message* call, void* userdata, sd_bus_error* error) {
        DbusMenuExporter& self = menu(userdata);
        std::int32_t id = 0;
        const char* name = nullptr;
        int r = sd_bus_message_read(call, "is", &id, &name);
        if (r < 0) return r;
        const Node* node = find(self, id);
        if (!node) return unknownItem(error, id);
        for (const Property& property : propertiesOf(*node)) {
            if (std::strcmp(property.name, name) != 0) continue;
            sd_bus_message* reply = nullptr;
            if ((r = sd_bus_message_new_method_return(call, &reply)) < 0) return r;
            if ((r = appendValue(reply, property)) >= 0) r = sd_bus_send(nullptr, reply, nullptr);
            sd_bus_message_unref(reply);
            return r;
        }
        return sd_bus_error_setf(error, SD_BUS_ERROR_INVALID_ARGS, "menu item %d has no property %s", int(id), name);
    }

    // "clicked" on an item that can be chosen is a choice, as in the popup menu;
    // false for an unknown identifier.
    static bool handleEvent(DbusMenuExporter& self, std::int32_t id, const char* event) {
        const Node* node = find(self, id);
        if (!node) return false;
        if (std::strcmp(event, "clicked") == 0 && node->kind == TrayMenuItem::Kind::Command && node->enabled)
            messageQueueService().postMessage(self.owner_, WM_COMMAND, node->commandId & 0xFFFFu, 0);
        return true;
    }

    static int event(sd_bus_message* call, void* userdata, sd_bus_error* error) {
        std::int32_t id = 0;
        const char* name = nullptr;
        int r = sd_bus_message_read(call, "is", &id, &name);
        if (r < 0) return r;
        if (!handleEvent(menu(userdata), id, name)) return unknownItem(error, id);
        return sd_bus_reply_method_return(call, "");
    }

    static int eventGroup(sd_bus_message* call, void* userdata, sd_bus_error*) {
        DbusMenuExporter& self = menu(userdata);
        std::vector<std::int32_t> unknown;
        int r = sd_bus_message_enter_container(call, 'a', "(isvu)");
        if (r < 0) return r;
        while ((r = sd_bus_message_enter_container(call, 'r', "isvu")) > 0) {
            std::int32_t id = 0;
            const char* name = nullptr;
            std::uint32_t timestamp = 0;
            if ((r = sd_bus_message_read(call, "is", &id, &name)) < 0) return r;
            if ((r = sd_bus_message_skip(call, "v")) < 0) return r;
            if ((r = sd_bus_message_read(call, "u", &timestamp)) < 0) return r;
            if ((r = sd_bus_message_exit_container(call)) < 0) return r;
            if (!handleEvent(self, id, name)) unknown.push_back(id);
        }
        if (r < 0) return r;
        return replyIds(call, {&unknown});
    }

    // Before the panel shows a menu the owner hears WM_INITMENUPOPUP, as before a
    // popup menu opens; false for an identifier that is no menu.
    static bool aboutToShow(DbusMenuExporter& self, std::int32_t id) {
        const Node* node = find(self, id);
        if (!node || node->kind != TrayMenuItem::Kind::SubMenu) return false;
        messageQueueService().postMessage(self.owner_, WM_INITMENUPOPUP, 0, id == 0 ? 0 : node->position);
        return true;
    }

    static int aboutToShowOne(sd_bus_message* call, void* userdata, sd_bus_error* error) {
        std::int32_t id = 0;
        const int r = sd_bus_message_read(call, "i", &id);
        if (r < 0) return r;
        if (!aboutToShow(menu(userdata), id)) return unknownItem(error, id);
        // The exported menu is always up to date.
        return sd_bus_reply_method_return(call, "b", 0);
    }

    static int aboutToShowGroup(sd_bus_message* call, void* userdata, sd_bus_error*) {
        std::vector<std::int32_t> ids, unknown;
        const int r = readIds(call, ids);
        if (r < 0) return r;
        for (std::int32_t id : ids)
            if (!aboutToShow(menu(userdata), id)) unknown.push_back(id);
        const std::vector<std::int32_t> none;
        return replyIds(call, {&none, &unknown});
    }

    static int replyIds(sd_bus_message* call, std::initializer_list<const std::vector<std::int32_t>*> lists) {
        sd_bus_message* reply = nullptr;
        int r = sd_bus_message_new_method_return(call, &reply);
        if (r < 0) return r;
        for (const auto* list : lists)
            if (r >= 0) r = sd_bus_message_append_array(reply, 'i', list->data(), list->size() * sizeof(std::int32_t));
        if (r >= 0) r = sd_bus_send(nullptr, reply, nullptr);
        sd_bus_message_unref(reply);
        return r;
    }

    static int version(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*) {
        return sd_bus_message_append(reply, "u", 3u);
    }
    static int text(sd_bus*, const char*, const char*, const char* property, sd_bus_message* reply, void*,
                    sd_bus_error*) {
        return sd_bus_message_append(reply, "s", std::strcmp(property, "TextDirection") == 0 ? "ltr" : "normal");
    }
    static int iconThemePath(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                             sd_bus_error*) {
        return sd_bus_message_append(reply, "as", 0);
    }
};

namespace {

const sd_bus_vtable menuVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("Version", "u", &MenuCallbacks::version, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("TextDirection", "s", &MenuCallbacks::text, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Status", "s", &MenuCallbacks::text, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("IconThemePath", "as", &MenuCallbacks::iconThemePath, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_METHOD("GetLayout", "iias", "u(ia{sv}av)", &MenuCallbacks::getLayout, 0),
    SD_BUS_METHOD("GetGroupProperties", "aias", "a(ia{sv})", &MenuCallbacks::getGroupProperties, 0),
    SD_BUS_METHOD("GetProperty", "is", "v", &MenuCallbacks::getProperty, 0),
    SD_BUS_METHOD("Event", "isvu", "", &MenuCallbacks::event, 0),
    SD_BUS_METHOD("EventGroup", "a(isvu)", "ai", &MenuCallbacks::eventGroup, 0),
    SD_BUS_METHOD("AboutToShow", "i", "b", &MenuCallbacks::aboutToShowOne, 0),
    SD_BUS_METHOD("AboutToShowGroup", "ai", "aiai", &MenuCallbacks::aboutToShowGroup, 0),
    SD_BUS_SIGNAL("ItemsPropertiesUpdated", "a(ia{sv})a(ias)", 0),
    SD_BUS_SIGNAL("LayoutUpdated", "ui", 0),
    SD_BUS_SIGNAL("ItemActivationRequested", "iu", 0),
    SD_BUS_VTABLE_END,
};

}  // namespace

DbusMenuExporter::DbusMenuExporter(WindowHandle owner) : owner_(owner) { nodes_.emplace(0, Node{}); }

DbusMenuExporter::~DbusMenuExporter() { sd_bus_slot_unref(slot_); }

bool DbusMenuExporter::attach(sd_bus* bus, const char* path) {
    slot_ = sd_bus_slot_unref(slot_);
    bus_ = nullptr;
    if (sd_bus_add_object_vtable(bus, &slot_, path, MenuInterface, menuVtable, this) < 0) return false;
    bus_ = bus;
    path_ = path;
    return true;
}

void DbusMenuExporter::flatten(const std::vector<TrayMenuItem>& items, Node& parent,
                               std::map<std::int32_t, Node>& nodes, std::int32_t& nextOther) const {
    for (const TrayMenuItem& item : items) {
        Node node;
        node.kind = item.kind;
        node.label = busLabel(item.text);
        node.enabled = (item.flags & MenuStateGrayed) == 0;
        node.commandId = item.commandId;
        node.position = std::int32_t(parent.children.size());
        if (item.kind == TrayMenuItem::Kind::Command) {
            node.toggleState = (item.flags & MenuStateChecked) ? 1 : 0;
            if (item.flags & MenuTypeRadioCheck) node.toggleType = "radio";
            else if (item.checkable || node.toggleState) node.toggleType = "checkmark";
        }
        // A command identifier names its item, unless the identifier is shared (items
        // made once the identifiers ran out, a submenu shown twice).
        const bool ownId = item.kind == TrayMenuItem::Kind::Command && item.commandId > 0 &&
                           item.commandId < std::uint32_t(FirstOtherId) && !nodes.count(std::int32_t(item.commandId));
        node.id = ownId ? std::int32_t(item.commandId) : nextOther++;
        parent.children.push_back(node.id);
        Node& placed = nodes.emplace(node.id, std::move(node)).first->second;
        if (item.kind == TrayMenuItem::Kind::SubMenu) flatten(item.children, placed, nodes, nextOther);
    }
}

void DbusMenuExporter::update(const std::vector<TrayMenuItem>& menu) {
    std::map<std::int32_t, Node> nodes;
    Node root;
    std::int32_t nextOther = FirstOtherId;
    flatten(menu, root, nodes, nextOther);
    nodes.emplace(0, std::move(root));

    bool sameShape = nodes.size() == nodes_.size();
    std::vector<std::int32_t> changed;
    for (auto a = nodes.begin(), b = nodes_.begin(); sameShape && a != nodes.end(); ++a, ++b) {
        sameShape = a->second.sameShape(b->second);
        if (sameShape && !(a->second == b->second)) changed.push_back(a->first);
    }
    nodes_ = std::move(nodes);
    if (!sameShape) {
        ++revision_;
        emitLayoutUpdated();
    } else if (!changed.empty()) {
        emitPropertiesUpdated(changed);
    }
}

void DbusMenuExporter::emitLayoutUpdated() {
    if (bus_) sd_bus_emit_signal(bus_, path_.c_str(), MenuInterface, "LayoutUpdated", "ui", revision_, 0);
}

void DbusMenuExporter::emitPropertiesUpdated(const std::vector<std::int32_t>& changed) {
    if (!bus_) return;
    sd_bus_message* signal = nullptr;
    if (sd_bus_message_new_signal(bus_, &signal, path_.c_str(), MenuInterface, "ItemsPropertiesUpdated") < 0) return;
    int r = sd_bus_message_open_container(signal, 'a', "(ia{sv})");
    for (std::int32_t id : changed) {
        if (r < 0) break;
        if ((r = sd_bus_message_open_container(signal, 'r', "ia{sv}")) < 0) break;
        if ((r = sd_bus_message_append(signal, "i", id)) < 0) break;
        if ((r = appendProperties(signal, nodes_.at(id), {})) < 0) break;
        r = sd_bus_message_close_container(signal);
    }
    // Items always carry all of their properties: none is ever removed.
    if (r >= 0) r = sd_bus_message_close_container(signal);
    if (r >= 0) r = sd_bus_message_append(signal, "a(ias)", 0);
    if (r >= 0) sd_bus_send(bus_, signal, nullptr);
    sd_bus_message_unref(signal);
}

}  // namespace Arbor::Platform::Linux
