// Word recognition built-ins: WRAddCondition, WRClearConditions,
// WRAddConditionsFromCommandTemplate and WRRecognize work on the calling character's
// trees; without a character they read their arguments, do nothing and answer their
// failure value.
#include "Source/Data/Repository/CommandTemplateManager.h"
#include "Source/Data/Repository/RepositoryFiles.h"
#include "Source/Interpreter/ActionCapture.h"
#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/CommandAction.h"
#include "Source/Interpreter/LibraryArguments.h"
#include "Source/Interpreter/RulePattern.h"
#include "Source/Interpreter/ScriptPaths.h"
#include "Source/Interpreter/WordRecognition.h"

namespace Quenta::Interpreter {

namespace {
namespace Repository = Data::Repository;

constexpr double kDefaultCommandLimit = 100000;

WordRecognitionTrees* treesOf(Parser& parser) {
    ScriptOwner* owner = parser.owner();
    return owner ? owner->wordRecognitionTrees() : nullptr;
}

std::u16string_view trimBlanks(std::u16string_view text) {
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::vector<std::u16string> nonEmptyWords(std::u16string_view text, char16_t separator) {
    std::vector<std::u16string> words;
    for (std::u16string& word : splitWords(text, separator)) {
        if (!word.empty()) words.push_back(std::move(word));
    }
    return words;
}

Value* addConditionBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto tree = args.nextText();
    const auto words = args.nextText();
    const auto exclusions = args.nextText();
    WordRecognitionTrees* trees = treesOf(parser);
    TokenLine action;
    if (exclusions && parser.currentToken().kind == TokenKind::Comma) {
        parser.nextToken();
        action = captureAction(parser, trees != nullptr);
    }
    // Without words a condition would match every text: a call that omits them adds none.
    if (!trees || !tree || !words) return parser.makeNum(0);
    trees->addCondition(*tree, splitWords(*words, u' '),
                        nonEmptyWords(exclusions.value_or(u""), u' '), std::move(action));
    return parser.makeNum(0);
}

Value* clearConditionsBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto tree = args.nextText();
    WordRecognitionTrees* trees = treesOf(parser);
    if (!trees || !tree) return parser.makeBool(false);
    trees->clear(*tree);
    return parser.makeBool(true);
}

// Adds the conditions of every command of the template, in category, group and command
// order; false when the limit stops it before the end.
bool addTemplateConditions(WordRecognitionTrees& trees, std::u16string_view tree,
                           const Repository::CommandTemplateManager& manager, double limit) {
    double visited = 0;
    for (const auto& [category, collection] : manager.categories()) {
        for (const auto& group : collection->groups()) {
            for (const auto& command : group->commands) {
                if (visited >= limit) return false;
                ++visited;
                // Commands of other categories have no action to run: they add nothing.
                const std::optional<TokenLine> action = commandAction(category, *command);
                if (!action) continue;
                for (const Repository::CommandRule& rule : command->rules) {
                    const auto lists = expandRulePattern(rule[0]);
                    if (!lists) continue;
                    const std::vector<std::u16string> exclusions = nonEmptyWords(rule[2], u'|');
                    for (const WordList& words : *lists) trees.addCondition(tree, words, exclusions, *action);
                }
            }
        }
    }
    return true;
}

Value* addConditionsFromTemplateBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto tree = args.nextText();
    const auto pathText = args.nextText();
    Value* limitValue = args.next();
    const double limit = limitValue ? limitValue->toNum() : kDefaultCommandLimit;
    WordRecognitionTrees* trees = treesOf(parser);
    if (!trees || !tree || !pathText) return parser.makeBool(false);
    const std::filesystem::path path = resolveScriptPath(parser, *pathText);
    if (Repository::extensionOf(path) != u".ctpl" || !Repository::isRegularFile(path)) {
        return parser.makeBool(false);
    }
    Repository::CommandTemplateManager manager;
    manager.load(path);
    trees->tree(*tree);  // the tree exists from now on, even for an empty template
    return parser.makeBool(addTemplateConditions(*trees, *tree, manager, limit));
}

Value* recognizeBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto names = args.nextText();
    const auto text = args.nextText();
    WordRecognitionTrees* trees = treesOf(parser);
    if (!trees || !names || !text) return parser.makeBool(false);
    std::vector<std::u16string> treeNames;
    for (const std::u16string& part : splitWords(*names, u',')) treeNames.emplace_back(trimBlanks(part));
    const WordRecognitionNode* winner = trees->recognize(treeNames, *text);
    if (!winner) return parser.makeBool(false);
    runAction(parser, winner->action());
    return parser.makeBool(true);
}

}  // namespace

void registerWordRecognitionBuiltIns(BuiltInTable& table) {
    table.add(u"WRAddCondition", &addConditionBuiltIn);
    table.add(u"WRClearConditions", &clearConditionsBuiltIn);
    table.add(u"WRAddConditionsFromCommandTemplate", &addConditionsFromTemplateBuiltIn);
    table.add(u"WRRecognize", &recognizeBuiltIn);
}

}  // namespace Quenta::Interpreter
