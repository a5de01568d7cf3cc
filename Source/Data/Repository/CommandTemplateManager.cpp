#include "Source/Data/Repository/CommandTemplateManager.h"

#include "Source/Data/Repository/RepositoryFiles.h"
#include "framework/Json/Json.h"

namespace Quenta::Data::Repository {

namespace {
using Arbor::Json::JsonValue;

JsonValue writeCommand(const CommandContext& command) {
    JsonValue item = JsonValue::newObject();
    const Arbor::Json::ObjectRef object = item.asObject();
    object->set(u"Label", JsonValue(command.label()));
    object->set(u"Message", JsonValue(command.message));
    object->set(u"Command", JsonValue(command.command));
    object->set(u"InputType", JsonValue(static_cast<double>(command.inputType)));
    object->set(u"IsRepeatable", JsonValue(command.isRepeatable));
    object->set(u"IsModifiable", JsonValue(command.isModifiable()));
    object->set(u"IsClipboardEnabled", JsonValue(command.isClipboardEnabled));
    JsonValue rules = JsonValue::newArray();
    for (const CommandRule& rule : command.rules) {
        JsonValue entry = JsonValue::newArray();
        for (const std::u16string& text : rule) entry.asArray()->append(JsonValue(text));
        rules.asArray()->append(entry);
    }
    object->set(u"Rules", rules);
    return item;
}

JsonValue writeGroup(const GroupContext& group) {
    JsonValue value = JsonValue::newObject();
    const Arbor::Json::ObjectRef object = value.asObject();
    object->set(u"Label", JsonValue(group.label()));
    object->set(u"IsDisplayed", JsonValue(group.isDisplayed));
    object->set(u"IsModifiable", JsonValue(group.isModifiable()));
    JsonValue items = JsonValue::newObject();
    for (const auto& command : group.commands) items.asObject()->set(command->identifier(), writeCommand(*command));
    object->set(u"CommandItems", items);
    return value;
}
}  // namespace

void CommandTemplateManager::clear() {
    categories_.clear();
    version_.clear();
}

void CommandTemplateManager::load(const std::filesystem::path& path) {
    const auto text = readTextFile(path);
    loadText(text ? std::u16string_view(*text) : std::u16string_view());
}

void CommandTemplateManager::loadText(std::u16string_view text) {
    clear();
    const auto root = Arbor::Json::parse(text);
    if (!root) return;
    const Arbor::Json::ObjectRef members = root->asObject();
    for (std::size_t i = 0; i < members->count(); ++i) {
        const std::u16string key = members->keyAt(i);
        if (key == u"Version") {
            version_ = members->valueAt(i).toText();
        } else {
            categories_[key] = GroupCollection::fromCategory(members->valueAt(i));
        }
    }
}

std::u16string CommandTemplateManager::text() const {
    JsonValue root = JsonValue::newObject();
    const Arbor::Json::ObjectRef object = root.asObject();
    object->set(u"Version", JsonValue(u"1.01"));
    for (const auto& [name, collection] : categories_) {
        JsonValue category = JsonValue::newObject();
        for (const auto& group : collection->groups()) {
            category.asObject()->set(group->identifier(), writeGroup(*group));
        }
        object->set(name, category);
    }
    return Arbor::Json::write(root, true);
}

bool CommandTemplateManager::save(const std::filesystem::path& path) const {
    const std::u16string json = text();
    // A template the JSON writer cannot write would come out empty; keep the old file.
    if (json.empty()) return false;
    return writeTextFile(path, json);
}

GroupCollection* CommandTemplateManager::category(std::u16string_view name) const {
    const auto it = categories_.find(name);
    return it == categories_.end() ? nullptr : it->second.get();
}

std::size_t CommandTemplateManager::commandCount() const {
    std::size_t count = 0;
    for (const auto& [name, collection] : categories_) {
        for (const auto& group : collection->groups()) count += group->commands.size();
    }
    return count;
}

void CommandTemplateManager::renameFixedIdentifiers() {
    for (const auto& [name, collection] : categories_) {
        for (const auto& group : collection->groups()) {
            for (const auto& command : group->commands) {
                const std::u16string& id = command->identifier();
                if (!command->isModifiable() && id.starts_with(u"$u_")) {
                    command->setIdentifier(u"$c_" + id.substr(3));
                }
            }
        }
    }
}

}  // namespace Quenta::Data::Repository
