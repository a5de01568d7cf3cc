#pragma once
// One category of a command template: its groups in file order. Settings files and
// other templates are laid over it command by command, by identifier.
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "Source/Data/Repository/TemplateItemContext.h"
#include "framework/Json/JsonValue.h"

namespace Quenta::Data::Repository {

class GroupCollection {
public:
    GroupCollection() = default;
    GroupCollection(const GroupCollection&) = delete;
    GroupCollection& operator=(const GroupCollection&) = delete;

    // Builds the groups of a category object (members are groups, in order).
    static std::unique_ptr<GroupCollection> fromCategory(const Arbor::Json::JsonValue& category);

    // The first group or command, in walk order, whose identifier is exactly `id`.
    TemplateItemContext* findItem(std::u16string_view id) const;
    // By the file's extension: ".cnf" a settings file, ".ctpl" a template's command
    // texts; anything else changes nothing. False when nothing was applied.
    bool applySettings(const std::filesystem::path& path);
    // Every command's line, in order; false when the file could not be written (the
    // old file then stays as it was).
    bool writeSettings(const std::filesystem::path& path) const;

    // The lines a settings file for these commands holds (without line breaks).
    void appendSettingsLines(std::vector<std::u16string>& lines) const;

    const std::vector<std::unique_ptr<GroupContext>>& groups() const { return groups_; }
    std::vector<std::unique_ptr<GroupContext>>& groups() { return groups_; }

private:
    bool applySettingsFile(const std::filesystem::path& path);
    bool applyTemplateFile(const std::filesystem::path& path);
    void setCommand(std::u16string_view id, std::u16string value);

    std::vector<std::unique_ptr<GroupContext>> groups_;
};

}  // namespace Quenta::Data::Repository
