#include "Source/Application/CommandLine.h"

#include <algorithm>
#include <string_view>

#include "framework/Text/Utf.h"

namespace Quenta::Application {

namespace {

char16_t lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool isWaitSwitch(std::u16string_view arg) {
    constexpr std::u16string_view name = u"waitterminate";
    if (arg.size() != name.size() + 1 || (arg[0] != u'/' && arg[0] != u'-')) return false;
    for (size_t i = 0; i < name.size(); ++i) {
        if (lower(arg[i + 1]) != name[i]) return false;
    }
    return true;
}

// Decimal digits up to the first non-digit; saturates instead of wrapping so that an
// absurd id never turns into the id of some unrelated process.
std::uint32_t leadingNumber(std::u16string_view text) {
    std::uint64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') break;
        value = value * 10 + static_cast<std::uint64_t>(c - u'0');
        if (value > 0xFFFFFFFFull) return 0xFFFFFFFFu;
    }
    return static_cast<std::uint32_t>(value);
}

// All of the text as a decimal number no larger than limit.
bool parseNumber(std::u16string_view text, std::uint64_t limit, std::uint64_t& out) {
    if (text.empty() || text.size() > 18) return false;
    std::uint64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return false;
        value = value * 10 + static_cast<std::uint64_t>(c - u'0');
    }
    if (value > limit) return false;
    out = value;
    return true;
}

bool parseInt(std::u16string_view text, int limit, int& out) {
    std::uint64_t value = 0;
    if (!parseNumber(text, static_cast<std::uint64_t>(limit), value)) return false;
    out = static_cast<int>(value);
    return true;
}

// "WxH", each side 1 to 16384 pixels.
bool parseScreen(std::u16string_view text, int& width, int& height) {
    const size_t x = text.find(u'x');
    return x != std::u16string_view::npos && parseInt(text.substr(0, x), 16384, width) &&
           parseInt(text.substr(x + 1), 16384, height) && width > 0 && height > 0;
}

int daysInMonth(int year, int month) {
    static constexpr int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : lengths[month - 1];
}

// "YYYY-MM-DDTHH:MM:SS", a real date and time of the years 1601 to 9999.
bool parseClock(std::u16string_view text, ClockSetting& clock) {
    if (text.size() != 19 || text[4] != u'-' || text[7] != u'-' || text[10] != u'T' || text[13] != u':' ||
        text[16] != u':') {
        return false;
    }
    ClockSetting c;
    if (!parseInt(text.substr(0, 4), 9999, c.year) || !parseInt(text.substr(5, 2), 12, c.month) ||
        !parseInt(text.substr(8, 2), 31, c.day) || !parseInt(text.substr(11, 2), 23, c.hour) ||
        !parseInt(text.substr(14, 2), 59, c.minute) || !parseInt(text.substr(17, 2), 59, c.second)) {
        return false;
    }
    if (c.year < 1601 || c.month < 1 || c.day < 1 || c.day > daysInMonth(c.year, c.month)) return false;
    clock = c;
    return true;
}

struct OptionHelp {
    const char* name;
    const char* text;
};

constexpr OptionHelp options[] = {
    {"--help", "print these lines and end"},
    {"--version", "print the program's name and version and end"},
    {"--headless", "run on the virtual desktop, without a display"},
    {"--frames N", "begin quitting after N frames"},
    {"--message-log FILE", "append every message box to FILE as \"caption: text\""},
    {"--seed N", "seed the random source with N (headless runs have a fixed seed)"},
    {"--screen WxH", "headless: the virtual desktop's size (default 1920x1080)"},
    {"--realtime", "headless: real time and pacing instead of the virtual clock"},
    {"--clock YYYY-MM-DDTHH:MM:SS", "headless: the virtual clock's start (default 2026-01-01T12:00:00)"},
    {"--events FILE", "headless: apply the input of FILE (lines \"FRAME ACTION ARGS\")"},
    {"--screenshot FILE", "headless: write a PNG of the desktop after the last frame"},
    {"--record DIR", "headless: write a PNG of the desktop after every frame into DIR"},
    {"--trace FILE", "headless: write every character's state after every frame"},
    {"/waitterminate PID", "wait for the process PID to end before starting"},
};

}  // namespace

CommandLine CommandLine::parse(const std::vector<std::u16string>& args) {
    CommandLine result;
    auto refuse = [&](std::string why) {
        if (result.error.empty()) result.error = std::move(why);
    };
    std::vector<std::string> headlessOnly;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::u16string& arg = args[i];
        if (isWaitSwitch(arg)) {
            // The id is a separate argument, consumed with the switch; a switch at the
            // very end has none and is ignored.
            if (i + 1 < args.size()) {
                const std::uint32_t id = leadingNumber(args[i + 1]);
                if (id != 0) result.waitTerminateProcessId = id;
                ++i;
            }
            continue;
        }
        if (arg.size() < 2 || arg.compare(0, 2, u"--") != 0) continue;
        const std::string name = Arbor::Text::toUtf8(arg);
        if (name == "--help") {
            result.help = true;
        } else if (name == "--version") {
            result.version = true;
        } else if (name == "--headless") {
            result.headless = true;
        } else if (name == "--realtime") {
            result.realtime = true;
            headlessOnly.push_back(name);
        } else if (name == "--frames" || name == "--message-log" || name == "--seed" || name == "--screen" ||
                   name == "--clock" || name == "--events" || name == "--screenshot" || name == "--record" ||
                   name == "--trace") {
            if (i + 1 >= args.size()) {
                refuse(name + " needs a value");
                break;
            }
            const std::u16string& value = args[++i];
            const std::string shown = Arbor::Text::toUtf8(value);
            if (name == "--frames") {
                std::uint64_t count = 0;
                if (parseNumber(value, 999999999999999999ull, count)) {
                    result.frameLimit = count;
                } else {
                    refuse("--frames needs a count, not \"" + shown + "\"");
                }
            } else if (name == "--seed") {
                std::uint64_t seed = 0;
                if (parseNumber(value, 0xFFFFFFFFull, seed)) {
                    result.seed = static_cast<std::uint32_t>(seed);
                } else {
                    refuse("--seed needs a number from 0 to 4294967295, not \"" + shown + "\"");
                }
            } else if (name == "--screen") {
                if (!parseScreen(value, result.screenWidth, result.screenHeight)) {
                    refuse("--screen needs WIDTHxHEIGHT (1 to 16384 each), not \"" + shown + "\"");
                }
            } else if (name == "--clock") {
                if (!parseClock(value, result.clock)) {
                    refuse("--clock needs a date and time as YYYY-MM-DDTHH:MM:SS, not \"" + shown + "\"");
                }
            } else if (value.empty()) {
                refuse(name + " needs a file or folder name");
            } else if (name == "--message-log") {
                result.messageLog = value;
            } else if (name == "--events") {
                result.eventsFile = value;
            } else if (name == "--screenshot") {
                result.screenshotFile = value;
            } else if (name == "--record") {
                result.recordDirectory = value;
            } else {
                result.traceFile = value;
            }
            if (name != "--frames" && name != "--message-log" && name != "--seed") headlessOnly.push_back(name);
        } else {
            refuse("unknown option \"" + name + "\" (tavizo --help lists the options)");
        }
    }
    if (!result.headless && !headlessOnly.empty()) refuse(headlessOnly.front() + " needs --headless");
    return result;
}

std::string CommandLine::helpText() {
    std::string text = "usage: tavizo [options]\n";
    for (const OptionHelp& option : options) {
        std::string line = std::string("  ") + option.name;
        line.resize(std::max<size_t>(line.size() + 2, 34), ' ');
        text += line + option.text + "\n";
    }
    return text;
}

}  // namespace Quenta::Application
