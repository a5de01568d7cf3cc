#pragma once
// The host's command line. The one switch of the program is "/waitterminate <pid>"
// (or "-waitterminate", any case): wait for a predecessor to end before starting.
// The options starting with "--" serve users and runs without a user (helpText()
// lists them); an unknown one is refused. Every other argument is ignored.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Quenta::Application {

// A local date and time as "--clock" gives it.
struct ClockSetting {
    int year = 2026;
    int month = 1;
    int day = 1;
    int hour = 12;
    int minute = 0;
    int second = 0;
    friend bool operator==(const ClockSetting&, const ClockSetting&) = default;
};

struct CommandLine {
    // Process id named by the wait switch; 0 when absent or given as 0.
    std::uint32_t waitTerminateProcessId = 0;
    bool help = false;
    bool version = false;
    bool headless = false;
    // Frames to run before quitting begins; absent means run until asked to quit.
    std::optional<std::uint64_t> frameLimit;
    std::u16string messageLog;

    // Reproducible headless runs: the virtual desktop's size, the virtual clock (unless
    // realtime) starting at the clock setting, the random seed, and the files to read
    // and write.
    int screenWidth = 1920;
    int screenHeight = 1080;
    bool realtime = false;
    ClockSetting clock;
    std::optional<std::uint32_t> seed;
    std::u16string eventsFile;
    std::u16string screenshotFile;
    std::u16string recordDirectory;
    std::u16string traceFile;

    // Why the command line was refused (an unknown option, a missing or bad value);
    // empty when it was not. The program then says so and ends with 2.
    std::string error;

    // args excludes the program name.
    static CommandLine parse(const std::vector<std::u16string>& args);

    // One line per option, for --help.
    static std::string helpText();
};

}  // namespace Quenta::Application
