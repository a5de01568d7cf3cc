#pragma once
// A command template in memory: categories by name (code-unit order), each a
// collection of groups of commands, and the template's version. Reads and writes the
// ".ctpl" JSON form and upgrades the files of older versions.
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "Source/Data/Repository/GroupCollection.h"

namespace Quenta::Data::Repository {

class CommandTemplateManager {
public:
    using CategoryMap = std::map<std::u16string, std::unique_ptr<GroupCollection>, std::less<>>;

    CommandTemplateManager() = default;
    CommandTemplateManager(const CommandTemplateManager&) = delete;
    CommandTemplateManager& operator=(const CommandTemplateManager&) = delete;

    // Replaces the contents with the template file's; a file that cannot be read or
    // parsed leaves the manager empty with an empty version.
    void load(const std::filesystem::path& path);
    // The same from the file's text.
    void loadText(std::u16string_view text);
    // Writes version "1.01" and every category; false (old file kept) on failure.
    bool save(const std::filesystem::path& path) const;
    // The template's JSON text as save writes it (without byte-order mark).
    std::u16string text() const;

    // The named category, or null when the template has none of that name.
    GroupCollection* category(std::u16string_view name) const;
    const CategoryMap& categories() const { return categories_; }
    const std::u16string& version() const { return version_; }
    std::size_t commandCount() const;
    void clear();
    // Commands that may not be modified get the "$c_" prefix instead of "$u_".
    void renameFixedIdentifiers();

private:
    CategoryMap categories_;
    std::u16string version_;
};

}  // namespace Quenta::Data::Repository
