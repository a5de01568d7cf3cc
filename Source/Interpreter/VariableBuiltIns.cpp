// Variables reached by name: CreateVariable, SetVariable, GetVariable. They work on
// the calling Parser's own variable table, so they need no character. A name must
// include its "$" to be reachable from script text; without it the variable exists
// but only these functions find it.
#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/LibraryArguments.h"
#include "Source/Interpreter/VariableTable.h"

namespace Quenta::Interpreter {

namespace {

Value* createVariableBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto key = args.nextText();
    if (!key) {
        return parser.makeNum(0);
    }
    Value* value = args.next();
    if (!value) {
        return parser.makeNum(0);
    }
    Value* variable = parser.variables().find(*key);
    if (!variable) {
        variable = parser.variables().create(*key, value->typeId());
        if (!variable) {
            return parser.makeNum(0);
        }
    }
    variable->assign(parser, *value);
    return variable;
}

Value* setVariableBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto key = args.nextText();
    if (!key) {
        return parser.makeNum(0);
    }
    Value* value = args.next();
    if (!value) {
        return parser.makeNum(0);
    }
    if (Value* variable = parser.variables().find(*key)) {
        variable->assign(parser, *value);
    }
    return parser.makeNum(0);
}

Value* getVariableBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* variableName = args.next();
    if (!variableName) {
        return parser.makeNum(0);
    }
    // The variable itself, so that `GetVariable("$n") = 3` assigns $n.
    Value* variable = parser.variables().find(variableName->toStr());
    return variable ? variable : parser.makeNum(0);
}

}  // namespace

void registerVariableBuiltIns(BuiltInTable& table) {
    table.add(u"CreateVariable", &createVariableBuiltIn);
    table.add(u"SetVariable", &setVariableBuiltIn);
    table.add(u"GetVariable", &getVariableBuiltIn);
}

}  // namespace Quenta::Interpreter
