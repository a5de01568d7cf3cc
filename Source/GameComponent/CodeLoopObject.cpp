#include "Source/GameComponent/CodeLoopObject.h"

#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/StatementRunner.h"
#include "Source/Script/F/DefinitionRecord.h"

namespace Quenta::GameComponent {

CodeLoopObject::CodeLoopObject(Interpreter::Parser& parser, const Script::DefinitionRecord& block)
    : parser_(parser), block_(block) {}

void CodeLoopObject::run() {
    const Interpreter::TokenBlock* code = block_.section(Script::SectionKind::CodeLoop);
    if (!code || code->empty()) return;
    Interpreter::ScopePush push(parser_, scope_);
    Interpreter::runBlock(parser_, *code);
}

void runCodeInit(Interpreter::Parser& parser, const Script::DefinitionRecord& block) {
    const Interpreter::TokenBlock* code = block.section(Script::SectionKind::CodeInit);
    if (!code || code->empty()) return;
    Interpreter::ScopeNode node(u"codeInit");
    Interpreter::ScopePush push(parser, node);
    Interpreter::runBlock(parser, *code);
}

}  // namespace Quenta::GameComponent
