#pragma once
// Runs the CodeLoop section of one block once per call, in the character's script
// context, with a "codeLoop" scope node current. Also the home of running a block's
// CodeInit section the same way, which every script object does when it starts.
#include "Source/Interpreter/ScopeNode.h"

namespace Quenta::Interpreter {
class Parser;
}
namespace Quenta::Script {
class DefinitionRecord;
}

namespace Quenta::GameComponent {

class CodeLoopObject {
public:
    CodeLoopObject(Interpreter::Parser& parser, const Script::DefinitionRecord& block);
    CodeLoopObject(const CodeLoopObject&) = delete;
    CodeLoopObject& operator=(const CodeLoopObject&) = delete;

    // Does nothing for a block without a CodeLoop section. Throws ScriptException.
    void run();

private:
    Interpreter::Parser& parser_;
    const Script::DefinitionRecord& block_;
    Interpreter::ScopeNode scope_{u"codeLoop"};
};

// Runs the block's CodeInit section (if any) with a fresh "codeInit" node current.
void runCodeInit(Interpreter::Parser& parser, const Script::DefinitionRecord& block);

}  // namespace Quenta::GameComponent
