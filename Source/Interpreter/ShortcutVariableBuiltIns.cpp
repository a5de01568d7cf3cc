// Shortcut variables: the command texts of a character's voice commands live in
// script variables named after the commands ("$u_..." the user may change, "$c_..."
// fixed). SetVariablesFromFile fills them from a command template or a settings file;
// ClearShortcutVariables empties them all.
#include "Source/Data/Repository/CommandTemplateManager.h"
#include "Source/Data/Repository/RepositoryFiles.h"
#include "Source/Data/Repository/ShortcutSettings.h"
#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/LibraryArguments.h"
#include "Source/Interpreter/ScriptPaths.h"
#include "Source/Interpreter/VariableTable.h"

namespace Quenta::Interpreter {

namespace {
namespace Repository = Data::Repository;

void setStringVariable(Parser& parser, std::u16string_view name, std::u16string_view text) {
    Value* variable = parser.variables().find(name);
    if (!variable) variable = parser.variables().create(name, static_cast<int>(ValueType::String));
    if (variable) variable->assign(parser, *parser.makeStr(text));
}

Value* setVariablesFromFileBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto pathText = args.nextText();
    if (!pathText) return parser.makeBool(false);
    const std::filesystem::path path = resolveScriptPath(parser, *pathText);
    if (!Repository::isRegularFile(path)) return parser.makeBool(false);
    const std::u16string extension = Repository::extensionOf(path);
    if (extension == u".ctpl") {
        Repository::CommandTemplateManager manager;
        manager.load(path);
        for (const auto& [category, collection] : manager.categories()) {
            for (const auto& group : collection->groups()) {
                for (const auto& command : group->commands) {
                    setStringVariable(parser, command->identifier(), command->command);
                }
            }
        }
        return parser.makeBool(true);
    }
    if (extension == u".cnf") {
        const auto text = Repository::readTextFile(path);
        const std::vector<std::u16string> lines =
            text ? Repository::ShortcutSettings::splitLines(*text) : std::vector<std::u16string>();
        if (lines.empty()) return parser.makeBool(false);
        for (const auto& setting : Repository::ShortcutSettings::parseLines(lines)) {
            setStringVariable(parser, setting.identifier, setting.value);
        }
        return parser.makeBool(true);
    }
    return parser.makeBool(false);
}

Value* clearShortcutVariablesBuiltIn(Parser& parser, std::u16string_view) {
    for (const auto& [variableName, value] : parser.variables().entries()) {
        if (variableName.starts_with(u"$c_") || variableName.starts_with(u"$u_")) {
            value->assign(parser, *parser.makeStr(u""));
        }
    }
    return parser.makeBool(true);
}

}  // namespace

void registerShortcutVariableBuiltIns(BuiltInTable& table) {
    table.add(u"SetVariablesFromFile", &setVariablesFromFileBuiltIn);
    table.add(u"ClearShortcutVariables", &clearShortcutVariablesBuiltIn);
}

}  // namespace Quenta::Interpreter
