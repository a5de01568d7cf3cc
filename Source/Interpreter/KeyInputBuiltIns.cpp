// Key input built-ins: key commands and macros sent to the foreground window, the
// macro files, and the names of the keys and buttons held down.
#include <algorithm>

#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/KeyCommand.h"
#include "Source/Interpreter/KeyMacro.h"
#include "Source/Interpreter/KeyMacroQueue.h"
#include "Source/Interpreter/KeyNames.h"
#include "Source/Interpreter/LibraryArguments.h"
#include "Source/Interpreter/ScriptPaths.h"
#include "framework/Platform/Window.h"

namespace Quenta::Interpreter {

namespace {

// A key command repeats at most this often: each sending blocks the script thread for
// its pauses, and a runaway count must not stop the frames for good.
constexpr int maximumRepetitions = 100;

Value* sendKeyEventBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto text = args.nextText();
    Value* count = args.next();
    if (!text) return parser.makeBool(false);
    if (text->starts_with(u"@")) {
        KeyMacroQueue* queue = parser.owner() ? parser.owner()->keyMacroQueue() : nullptr;
        const auto it = parser.keyMacros().find(std::u16string_view(*text).substr(1));
        if (!queue || it == parser.keyMacros().end()) return parser.makeBool(false);
        queue->add(it->second);
        return parser.makeBool(true);
    }
    const int times = count ? std::clamp(count->toInt(), 0, maximumRepetitions) : 1;
    const auto command = parseKeyCommand(*text);
    if (!command) return parser.makeBool(false);
    for (int i = 0; i < times; ++i) {
        sendKeyCommand(*command, &sleepMilliseconds);
        if (count) sleepMilliseconds(30);
    }
    return parser.makeBool(false);
}

Value* macrosFromFile(Parser& parser, std::u16string_view name, bool replaceAll) {
    LibraryArguments args(parser, name);
    const auto path = args.nextText();
    if (!path) return parser.makeBool(false);
    const auto lines = readMacroFile(resolveScriptPath(parser, *path));
    return parser.makeBool(replaceAll ? loadMacros(parser.keyMacros(), lines) : addMacros(parser.keyMacros(), lines));
}

Value* loadMacrosBuiltIn(Parser& parser, std::u16string_view name) { return macrosFromFile(parser, name, true); }
Value* addMacrosBuiltIn(Parser& parser, std::u16string_view name) { return macrosFromFile(parser, name, false); }

// The names of the held codes, ascending, joined with single spaces.
Value* pressedNames(Parser& parser, bool keys, bool buttons) {
    Arbor::Platform::WindowService& windows = Arbor::Platform::windowService();
    std::u16string names;
    for (int code = 0; code < 256; ++code) {
        if (!(KeyNames::isMouseButton(code) ? buttons : keys) || !windows.isKeyDown(code)) continue;
        if (!names.empty()) names += u' ';
        names += KeyNames::nameOf(code);
    }
    return parser.makeStr(names);
}

Value* pressedKeysBuiltIn(Parser& parser, std::u16string_view) { return pressedNames(parser, true, false); }
Value* pressedButtonsBuiltIn(Parser& parser, std::u16string_view) { return pressedNames(parser, false, true); }
Value* pressedKeysAndButtonsBuiltIn(Parser& parser, std::u16string_view) { return pressedNames(parser, true, true); }

}  // namespace

void registerKeyInputBuiltIns(BuiltInTable& table) {
    table.add(u"SendKeyEventToForegroundWindow", &sendKeyEventBuiltIn);
    table.add(u"LoadMacrosFromFile", &loadMacrosBuiltIn);
    table.add(u"AddMacrosFromFile", &addMacrosBuiltIn);
    table.add(u"GetPressedKeysStr", &pressedKeysBuiltIn);
    table.add(u"GetPressedButtonsStr", &pressedButtonsBuiltIn);
    table.add(u"GetPressedKeysAndButtonsStr", &pressedKeysAndButtonsBuiltIn);
}

}  // namespace Quenta::Interpreter
