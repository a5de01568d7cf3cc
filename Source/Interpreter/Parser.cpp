#include "Source/Interpreter/Parser.h"

#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/RegisterRecord.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Interpreter/ScriptMessages.h"

namespace Quenta::Interpreter {

namespace {
// Texts longer than this are released at reset so that one huge line does not pin its
// memory for the parser's lifetime; shorter ones keep their buffer for reuse.
constexpr std::size_t kKeptTextCapacity = 1024;

}  // namespace

Parser::Parser(ScriptOwner* owner) : owner_(owner), builtIns_(&BuiltInTable::instance()) {}

Parser::~Parser() = default;

void Parser::throwTooManyTemporaries() {
    throw ScriptException(std::u16string(Messages::kTooManyTemporaries));
}

Value* Parser::voidValue() {
    static Value theVoid;
    return &theVoid;
}

void Parser::resetTemporaries() {
    nums_.resetTo(floor_.nums);
    bools_.resetTo(floor_.bools);
    funcs_.resetTo(floor_.funcs);
    strs_.resetTo(floor_.strs, [](StrValue& s) {
        if (s.mutableValue().capacity() > kKeptTextCapacity) {
            std::u16string().swap(s.mutableValue());
        }
    });
}

std::size_t Parser::temporaryCount(ValueType type) const {
    switch (type) {
    case ValueType::Number: return nums_.size();
    case ValueType::String: return strs_.size();
    case ValueType::Bool: return bools_.size();
    case ValueType::FuncObject: return funcs_.size();
    case ValueType::Void: break;
    }
    return 0;
}

std::size_t Parser::temporaryChunkCount() const {
    return nums_.chunkCount() + strs_.chunkCount() + bools_.chunkCount() + funcs_.chunkCount();
}

RegisterRecord* Parser::functionObject(double index) const {
    if (!functionObjects_ || !(index >= 0.0) ||
        index >= static_cast<double>(functionObjects_->size())) {
        return nullptr;
    }
    return (*functionObjects_)[static_cast<std::size_t>(index)];
}

}  // namespace Quenta::Interpreter
