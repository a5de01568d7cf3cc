// Arbitrary bytes as a ".cnf" file: every counting line is read; every value read,
// written back as a line, reads again as itself (unless it ends in a double quote,
// which the format cannot keep).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Source/Data/Repository/RepositoryFiles.h"
#include "Source/Data/Repository/ShortcutSettings.h"

using namespace Quenta::Data::Repository;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = decodeText(std::string_view(reinterpret_cast<const char*>(data), size));
    const auto lines = ShortcutSettings::splitLines(text);
    for (const auto& setting : ShortcutSettings::parseLines(lines)) {
        if (setting.identifier.empty() || setting.identifier.front() != u'$') __builtin_trap();
        if (!setting.value.empty() && setting.value.back() == u'"') continue;
        const auto again = ShortcutSettings::parseLine(ShortcutSettings::formatLine(u"$x", setting.value));
        if (!again || again->identifier != u"$x" || again->value != setting.value) __builtin_trap();
    }
    return 0;
}
