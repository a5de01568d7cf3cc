#pragma once
// The start-up check: character data must exist, no other copy may be running (its
// main window would be on the desktop), and at most 255 character windows may exist.
// A named mutex makes copies that start together run the check one after the other.
// Every refusal shows its message (caption "エラー").
#include <filesystem>

namespace Quenta::Application {

enum class InstanceCheckResult { Passed, NoData, AlreadyRunning, TooManyCharacters };

class InstanceCheck {
public:
    static constexpr int maxCharacterWindows = 255;

    static InstanceCheckResult run(const std::filesystem::path& dataDirectory);
};

}  // namespace Quenta::Application
