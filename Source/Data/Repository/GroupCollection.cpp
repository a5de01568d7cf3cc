#include "Source/Data/Repository/GroupCollection.h"

#include "Source/Data/Repository/RepositoryFiles.h"
#include "Source/Data/Repository/ShortcutSettings.h"
#include "Source/Data/Repository/TemplateJson.h"
#include "framework/Json/Json.h"

namespace Quenta::Data::Repository {

namespace {
using Arbor::Json::JsonValue;

std::unique_ptr<CommandContext> readCommand(const std::u16string& key, const JsonValue& item) {
    auto command = std::make_unique<CommandContext>();
    command->setIdentifier(key);
    command->setLabel(item.get(u"Label").toText());
    command->message = item.get(u"Message").toText();
    command->command = item.get(u"Command").toText();
    command->inputType = readInputType(item.get(u"InputType"));
    command->isRepeatable = item.get(u"IsRepeatable").toBool();
    command->setModifiable(item.get(u"IsModifiable").toBool());
    command->isClipboardEnabled = item.get(u"IsClipboardEnabled").toBool();
    const Arbor::Json::ArrayRef rules = item.get(u"Rules").asArray();
    for (std::size_t i = 0; i < rules->size(); ++i) {
        const JsonValue rule = rules->at(i);
        command->rules.push_back({rule.at(0).toText(), rule.at(1).toText(), rule.at(2).toText()});
    }
    return command;
}

std::unique_ptr<GroupContext> readGroup(const std::u16string& key, const JsonValue& value) {
    auto group = std::make_unique<GroupContext>();
    group->setIdentifier(key);
    group->setLabel(value.get(u"Label").toText());
    group->isDisplayed = value.get(u"IsDisplayed").toBool();
    group->setModifiable(value.get(u"IsModifiable").toBool());
    const Arbor::Json::ObjectRef items = value.get(u"CommandItems").asObject();
    for (std::size_t i = 0; i < items->count(); ++i) {
        group->commands.push_back(readCommand(items->keyAt(i), items->valueAt(i)));
    }
    return group;
}
}  // namespace

std::unique_ptr<GroupCollection> GroupCollection::fromCategory(const JsonValue& category) {
    auto collection = std::make_unique<GroupCollection>();
    const Arbor::Json::ObjectRef groups = category.asObject();
    for (std::size_t i = 0; i < groups->count(); ++i) {
        collection->groups_.push_back(readGroup(groups->keyAt(i), groups->valueAt(i)));
    }
    return collection;
}

TemplateItemContext* GroupCollection::findItem(std::u16string_view id) const {
    for (const auto& group : groups_) {
        if (group->identifier() == id) return group.get();
        for (const auto& command : group->commands) {
            if (command->identifier() == id) return command.get();
        }
    }
    return nullptr;
}

void GroupCollection::setCommand(std::u16string_view id, std::u16string value) {
    TemplateItemContext* item = findItem(id);
    if (item && item->itemKind() == 1) static_cast<CommandContext*>(item)->command = std::move(value);
}

bool GroupCollection::applySettings(const std::filesystem::path& path) {
    const std::u16string extension = extensionOf(path);
    if (extension == u".cnf") return applySettingsFile(path);
    if (extension == u".ctpl") return applyTemplateFile(path);
    return false;
}

bool GroupCollection::applySettingsFile(const std::filesystem::path& path) {
    const auto text = readTextFile(path);
    if (!text) return false;
    for (ShortcutSettings::Setting& setting : ShortcutSettings::parseLines(ShortcutSettings::splitLines(*text))) {
        setCommand(setting.identifier, std::move(setting.value));
    }
    return true;
}

bool GroupCollection::applyTemplateFile(const std::filesystem::path& path) {
    const auto text = readTextFile(path);
    const auto root = text ? Arbor::Json::parse(*text) : std::nullopt;
    if (!root) return false;
    const Arbor::Json::ObjectRef categories = root->asObject();
    for (std::size_t c = 0; c < categories->count(); ++c) {
        if (categories->keyAt(c) == u"Version") continue;
        const Arbor::Json::ObjectRef groups = categories->valueAt(c).asObject();
        for (std::size_t g = 0; g < groups->count(); ++g) {
            const Arbor::Json::ObjectRef items = groups->valueAt(g).get(u"CommandItems").asObject();
            for (std::size_t i = 0; i < items->count(); ++i) {
                setCommand(items->keyAt(i), items->valueAt(i).get(u"Command").toText());
            }
        }
    }
    return true;
}

void GroupCollection::appendSettingsLines(std::vector<std::u16string>& lines) const {
    for (const auto& group : groups_) {
        for (const auto& command : group->commands) {
            lines.push_back(ShortcutSettings::formatLine(command->identifier(), command->command));
        }
    }
}

bool GroupCollection::writeSettings(const std::filesystem::path& path) const {
    std::vector<std::u16string> lines;
    appendSettingsLines(lines);
    return ShortcutSettings::writeLines(path, lines);
}

}  // namespace Quenta::Data::Repository
