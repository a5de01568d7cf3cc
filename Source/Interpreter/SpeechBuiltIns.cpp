// Speech recognition built-ins and GetUserInput. They drive the recogniser the
// calling character reaches; without a character or a recogniser they answer false
// (InitializeSpeechRecognition without argument, StopSpeechRecognition and
// SetSpeechRecognitionContinuous: the number 0). Grammar paths name a pair of files,
// the path plus ".dfa" and plus ".dict".
#include <system_error>

#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/LibraryArguments.h"
#include "Source/Interpreter/ScriptPaths.h"
#include "framework/Platform/NativePath.h"
#include "framework/Speech/SpeechRecognitionEngine.h"

namespace Quenta::Interpreter {

namespace {
using Arbor::Speech::Recognition::SpeechRecognitionEngine;

SpeechRecognitionEngine* engineOf(Parser& parser) {
    ScriptOwner* owner = parser.owner();
    SpeechRecognitionEngine* engine = owner ? owner->speechEngine() : nullptr;
    return engine && engine->hasRecognizer() ? engine : nullptr;
}

// The engine takes system paths.
std::u16string systemPath(const Parser& parser, std::u16string_view path) {
    return Arbor::Platform::fromNativePath(resolveScriptPath(parser, path));
}

Value* initializeBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto path = args.nextText();
    if (!path) return parser.makeNum(0);
    SpeechRecognitionEngine* engine = engineOf(parser);
    std::error_code ec;
    if (!engine || !std::filesystem::is_regular_file(resolveScriptPath(parser, *path), ec)) {
        return parser.makeBool(false);
    }
    return parser.makeBool(engine->initialize(systemPath(parser, *path)));
}

Value* addGrammarBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto grammar = args.nextText();
    const auto base = args.nextText();
    SpeechRecognitionEngine* engine = engineOf(parser);
    if (!engine || !grammar || !base) return parser.makeBool(false);
    return parser.makeBool(engine->addGrammar(*grammar, systemPath(parser, *base)));
}

Value* changeGrammarBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto grammar = args.nextText();
    const auto base = args.nextText();
    SpeechRecognitionEngine* engine = engineOf(parser);
    if (!engine || !grammar || !base) return parser.makeBool(false);
    return parser.makeBool(engine->changeGrammar(*grammar, systemPath(parser, *base)));
}

// Delete, deactivate and activate take the grammar's name alone.
template <bool (SpeechRecognitionEngine::*operation)(std::u16string_view)>
Value* grammarBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto grammar = args.nextText();
    SpeechRecognitionEngine* engine = engineOf(parser);
    if (!engine || !grammar) return parser.makeBool(false);
    return parser.makeBool((engine->*operation)(*grammar));
}

Value* startBuiltIn(Parser& parser, std::u16string_view) {
    SpeechRecognitionEngine* engine = engineOf(parser);
    return parser.makeBool(engine && engine->start());
}

Value* stopBuiltIn(Parser& parser, std::u16string_view) {
    if (SpeechRecognitionEngine* engine = engineOf(parser)) engine->stop();
    return parser.makeNum(0);
}

Value* isStartedBuiltIn(Parser& parser, std::u16string_view) {
    SpeechRecognitionEngine* engine = engineOf(parser);
    return parser.makeBool(engine && engine->isStarted());
}

Value* setContinuousBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    args.next();
    return parser.makeNum(0);
}

Value* getUserInputBuiltIn(Parser& parser, std::u16string_view) {
    const ScriptOwner* owner = parser.owner();
    return parser.makeStr(owner ? owner->userInput() : parser.host().userInput());
}

}  // namespace

void registerSpeechBuiltIns(BuiltInTable& table) {
    table.add(u"InitializeSpeechRecognition", &initializeBuiltIn);
    table.add(u"AddGrammarSpeechRecognition", &addGrammarBuiltIn);
    table.add(u"ChangeGrammarSpeechRecognition", &changeGrammarBuiltIn);
    table.add(u"DeleteGrammarSpeechRecognition", &grammarBuiltIn<&SpeechRecognitionEngine::deleteGrammar>);
    table.add(u"DeactivateGrammarSpeechRecognition", &grammarBuiltIn<&SpeechRecognitionEngine::deactivateGrammar>);
    table.add(u"ActivateGrammarSpeechRecognition", &grammarBuiltIn<&SpeechRecognitionEngine::activateGrammar>);
    table.add(u"StartSpeechRecognition", &startBuiltIn);
    table.add(u"StopSpeechRecognition", &stopBuiltIn);
    table.add(u"IsSpeechRecognitionStarted", &isStartedBuiltIn);
    table.add(u"SetSpeechRecognitionContinuous", &setContinuousBuiltIn);
    table.add(u"GetUserInput", &getUserInputBuiltIn);
}

}  // namespace Quenta::Interpreter
