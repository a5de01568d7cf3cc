// Arbitrary bytes as a macro file and as key-command lines: every macro read has only
// known step kinds and key codes within the table's range, loading keeps within its
// limit, and every line that parses as a key command names table keys only.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Source/Data/Repository/RepositoryFiles.h"
#include "Source/Data/Repository/ShortcutSettings.h"
#include "Source/Interpreter/KeyCommand.h"
#include "Source/Interpreter/KeyMacro.h"
#include "Source/Interpreter/KeyNames.h"

using namespace Quenta::Interpreter;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text =
        Quenta::Data::Repository::decodeText(std::string_view(reinterpret_cast<const char*>(data), size));
    const auto lines = Quenta::Data::Repository::ShortcutSettings::splitLines(text);
    KeyMacroMap loaded, added;
    loadMacros(loaded, lines);
    addMacros(added, lines);
    if (loaded.size() > maximumLoadedMacros || loaded.size() > added.size()) __builtin_trap();
    for (const auto& [name, macro] : added) {
        if (name != macro.name) __builtin_trap();
        for (const KeyMacroStep& step : macro.steps) {
            if (step.kind != KeyMacroStep::Kind::Wait && step.value > 0xFF) __builtin_trap();
        }
    }
    for (const auto& line : lines) {
        const auto command = parseKeyCommand(line);
        if (!command) continue;
        if (!command->press && !command->release) __builtin_trap();
        for (int code : command->codes) {
            if (code == KeyNames::Press || code == KeyNames::Release || KeyNames::nameOf(code).starts_with(u"VK_0x")) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
