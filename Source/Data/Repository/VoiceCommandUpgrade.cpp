#include "Source/Data/Repository/VoiceCommandUpgrade.h"

#include <string>

#include "Source/Data/Repository/CommandTemplateManager.h"
#include "Source/Data/Repository/RepositoryFiles.h"
#include "Source/Data/Repository/ShortcutSettings.h"

namespace Quenta::Data::Repository {

namespace {
constexpr const char* kTemplateName = "ShortcutTemplate.ctpl";

// Lays the settings file over every category of the template, renames the fixed
// identifiers, lays the file over again (lines already written under the new names
// count too) and writes the file back from every category.
bool upgradeSettingsFile(const std::filesystem::path& templatePath, const std::filesystem::path& settingsPath) {
    CommandTemplateManager manager;
    manager.load(templatePath);
    for (const auto& [name, collection] : manager.categories()) collection->applySettings(settingsPath);
    manager.renameFixedIdentifiers();
    std::vector<std::u16string> lines;
    for (const auto& [name, collection] : manager.categories()) {
        collection->applySettings(settingsPath);
        collection->appendSettingsLines(lines);
    }
    return ShortcutSettings::writeLines(settingsPath, lines);
}
}  // namespace

std::vector<std::filesystem::path> existingSettingsFiles(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    const std::filesystem::path first = folder / "ShortcutSettings.cnf";
    if (isRegularFile(first)) files.push_back(first);
    for (int i = 1; i <= 10; ++i) {
        const std::filesystem::path numbered = folder / ("ShortcutSettings_" + std::to_string(i) + ".cnf");
        if (isRegularFile(numbered)) files.push_back(numbered);
    }
    return files;
}

bool upgradeVoiceCommandFiles(const std::filesystem::path& folder) {
    const std::filesystem::path templatePath = folder / kTemplateName;
    if (!isRegularFile(templatePath)) return false;
    CommandTemplateManager manager;
    manager.load(templatePath);
    if (manager.version() != u"1.00") return false;
    // A template without commands has nothing to rename; rewriting the settings
    // files from it would only empty them.
    // The template is marked upgraded only when every settings file was written, so
    // that a failed write is retried at the next start (lines already under the new
    // identifiers count then as well).
    bool settingsWritten = true;
    if (manager.commandCount() > 0) {
        for (const std::filesystem::path& settings : existingSettingsFiles(folder)) {
            settingsWritten = upgradeSettingsFile(templatePath, settings) && settingsWritten;
        }
    }
    if (!settingsWritten) return false;
    manager.renameFixedIdentifiers();
    return manager.save(templatePath);
}

}  // namespace Quenta::Data::Repository
