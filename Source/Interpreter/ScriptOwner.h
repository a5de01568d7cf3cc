#pragma once
// The object a Parser runs scripts for: a character. Built-ins that need their
// character ask `Parser::owner()` and return their failure value when it is null (a
// parser made by a tool, a test or a loader belongs to no character). Extended with
// what the built-in families need to reach; kept abstract so the interpreter does not
// depend on the scene objects.

namespace Quenta::Interpreter {

class ScriptOwner {
public:
    virtual ~ScriptOwner() = default;
};

}  // namespace Quenta::Interpreter
