#pragma once
// Evaluating register-record fields: a field's token line is an expression evaluated
// with the owning object's Parser whenever the value is needed, and the two list
// conversions (name lists and weighted picks) and frame parameter lines built on it.
#include <optional>
#include <string>
#include <vector>

#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/ScopeNode.h"
#include "Source/Interpreter/Token.h"
#include "Source/Interpreter/Value.h"
#include "Source/Script/F/DefinitionRecord.h"
#include "Source/Script/F/RegisterKind.h"

namespace Quenta::Script {

// Makes the field's token line current, resets the temporaries and evaluates it at
// statement level. The result lives until the parser's temporaries are reset next.
// An unset field gives the void value. Throws ScriptException.
Interpreter::Value* evaluateField(Interpreter::Parser& parser, const DefinitionRecord& record, int fieldIndex);

// Evaluates a comma-separated list of expressions (argument mode), each converted to
// text. Empty entries ("a,,b", a trailing comma) are left out. Resets the temporaries.
std::vector<std::u16string> evaluateNameList(Interpreter::Parser& parser, const Interpreter::TokenLine& line);

// Evaluates a comma-separated list of function objects and picks one in proportion
// to the weights ("Name*3" weighs 3), drawing from the process-wide random source.
// The chosen record's name, or empty when no entry is a function object with a
// positive weight. Resets the temporaries.
std::u16string evaluateWeightedPick(Interpreter::Parser& parser, const Interpreter::TokenLine& line);
// The same with the uniform number in [0, 1) given.
std::u16string evaluateWeightedPick(Interpreter::Parser& parser, const Interpreter::TokenLine& line, double r);

// One frame row of a motion or image layer: the row's index (put in front by the
// loader), source x and y, move x and y, duration, image name and sound name.
struct FrameParameters {
    int index = 0;
    int sourceX = 0;
    int sourceY = 0;
    double moveX = 0.0;
    double moveY = 0.0;
    int duration = 0;
    std::u16string imageName;
    std::u16string soundName;
};

// Reads a parameter line as eight expressions in argument mode; missing ones are void.
// Resets the temporaries.
FrameParameters evaluateFrameLine(Interpreter::Parser& parser, const Interpreter::TokenLine& line);

// A temporary "local" scope holding named constants, current while it lives. Scopes
// nest: a view keeps one open for a whole record (where a hit area's Width and Height
// are stored) and opens one per field for that field's constants.
class ConstantScope {
public:
    ConstantScope(Interpreter::Parser& parser, const NamedConstants* constants);
    ConstantScope(const ConstantScope&) = delete;
    ConstantScope& operator=(const ConstantScope&) = delete;

    Interpreter::ScopeNode& node() { return node_; }

private:
    Interpreter::ScopeNode node_;
    Interpreter::ScopePush push_;
};

// evaluateField with the field's named constants (if its kind gives it any) visible.
Interpreter::Value* evaluateFieldWithConstants(Interpreter::Parser& parser, const DefinitionRecord& record,
                                               int fieldIndex);

}  // namespace Quenta::Script
