#pragma once
// What the evaluator needs to know of a register record (the definition's named blocks
// that double as script functions). The records themselves belong to the character's
// definition; a function object only points at one.
#include <string>

namespace Quenta::Interpreter {

class RegisterRecord {
public:
    virtual ~RegisterRecord() = default;
    // The record's FuncName: a function object's text.
    virtual const std::u16string& funcName() const = 0;
    // The record's position in its character's list of all records: a function
    // object's number, and the FUNC_BLOCK token's value.
    virtual int recordIndex() const = 0;
};

}  // namespace Quenta::Interpreter
