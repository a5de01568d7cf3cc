#pragma once
// Start-up upgrade of a character's voice-command files from template version "1.00":
// commands that may not be modified change their identifier prefix from "$u_" to
// "$c_", in the template and in every settings file, keeping the user's texts.
#include <filesystem>
#include <vector>

namespace Quenta::Data::Repository {

// The settings files the upgrade touches, in order, that exist in the folder:
// "ShortcutSettings.cnf", then "ShortcutSettings_1.cnf" ... "ShortcutSettings_10.cnf".
std::vector<std::filesystem::path> existingSettingsFiles(const std::filesystem::path& folder);

// Upgrades folder/"ShortcutTemplate.ctpl" and its settings files when the template is
// of version "1.00"; otherwise changes nothing. True when an upgrade was written.
bool upgradeVoiceCommandFiles(const std::filesystem::path& folder);

}  // namespace Quenta::Data::Repository
