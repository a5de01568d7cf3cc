#include "Source/Application/CommandLine.h"

#include <string_view>

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

bool parseCount(std::u16string_view text, std::uint64_t& out) {
    if (text.empty() || text.size() > 18) return false;
    std::uint64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return false;
        value = value * 10 + static_cast<std::uint64_t>(c - u'0');
    }
    out = value;
    return true;
}

}  // namespace

CommandLine CommandLine::parse(const std::vector<std::u16string>& args) {
    CommandLine result;
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
        } else if (arg == u"--headless") {
            result.headless = true;
        } else if (arg == u"--message-log" && i + 1 < args.size()) {
            result.messageLog = args[++i];
        } else if (arg == u"--frames" && i + 1 < args.size()) {
            std::uint64_t count = 0;
            if (parseCount(args[i + 1], count)) {
                result.frameLimit = count;
                ++i;
            }
        }
    }
    return result;
}

}  // namespace Quenta::Application
