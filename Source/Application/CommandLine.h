#pragma once
// The host's command line. The one switch of the program is "/waitterminate <pid>"
// (or "-waitterminate", any case): wait for a predecessor to end before starting.
// More options serve running without a user: "--headless" selects the headless
// backend, "--frames N" begins quitting after N frames, and "--message-log FILE"
// appends every message box the program shows to FILE as "caption: text" (so that a
// test can read what a separate copy of the program said). Every other argument is
// ignored.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Quenta::Application {

struct CommandLine {
    // Process id named by the wait switch; 0 when absent or given as 0.
    std::uint32_t waitTerminateProcessId = 0;
    bool headless = false;
    // Frames to run before quitting begins; absent means run until asked to quit.
    std::optional<std::uint64_t> frameLimit;
    std::u16string messageLog;

    // args excludes the program name.
    static CommandLine parse(const std::vector<std::u16string>& args);
};

}  // namespace Quenta::Application
