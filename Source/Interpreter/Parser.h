#pragma once
// The evaluation context of one character's scripts: the current token line and index,
// the control stack of the running block, the current parameter scope, the
// temporaries and the variable table. Every object of a character evaluates its code
// with the character's one Parser; loaders and tools make short-lived ones of their
// own (owner() null).
//
// Not thread-safe: a Parser is used by one thread at a time. The thread that builds it
// owns it until another adopts it (the frame thread, when it starts, for every
// character built during start-up); running a block or evaluating checks the caller in
// debug builds.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "Source/Interpreter/KeyMacro.h"
#include "Source/Interpreter/OwningThread.h"
#include "Source/Interpreter/ScriptHost.h"
#include "Source/Interpreter/ScriptOwner.h"
#include "Source/Interpreter/TemporaryArray.h"
#include "Source/Interpreter/Token.h"
#include "Source/Interpreter/Value.h"
#include "Source/Interpreter/VariableTable.h"

namespace Quenta::Interpreter {

class BuiltInTable;
class RegisterRecord;
class ScopeNode;

// One open if or while of the running block.
struct ControlRecord {
    enum Kind : std::int32_t { If = 1, While = 2 };
    enum State : std::int32_t { NotTaken = 0, Active = 1, Finished = 2 };
    std::int32_t kind = If;
    std::int32_t state = NotTaken;
    std::int32_t line = -10000;  // a while's own line in its block
};

// An operator waiting on the evaluator's stack, with the precedence it waits with.
struct PendingOperator {
    const Token* token;
    std::uint8_t stack;
    std::uint8_t arity;
};

class Parser {
public:
    // Each kind of temporary may be made this many times less one per line.
    static constexpr std::size_t kTemporaryLimit = 100000;

    explicit Parser(ScriptOwner* owner = nullptr);
    ~Parser();
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    // The character this parser runs scripts for; null for none.
    ScriptOwner* owner() const { return owner_; }
    // What the running program offers scripts (system variables, clock, ...).
    ScriptHost& host() const { return ScriptHost::current(); }

    // The thread that may use this parser (see OwningThread).
    void adoptCurrentThread() { thread_.adopt(); }
    bool isOwnedByCurrentThread() const { return thread_.isCurrent(); }
    void checkThread() const { thread_.check(); }

    // --- token line -------------------------------------------------------------
    // The line must outlive its use; the index goes back to 0.
    void setLine(const TokenLine& line) {
        line_ = &line;
        tokens_ = line.data();
        tokenCount_ = static_cast<int>(line.size());
        index_ = 0;
    }
    const TokenLine* line() const { return line_; }
    int tokenIndex() const { return index_; }
    void setTokenIndex(int index) { index_ = index; }
    // The token at the index, or the shared end token past the end.
    const Token& currentToken() const { return tokenAtOffset(0); }
    // The token at the index, advancing past it.
    const Token& nextToken() {
        const Token& t = currentToken();
        ++index_;
        return t;
    }
    const Token& peekToken(int offset) const { return tokenAtOffset(offset); }

    // --- temporaries --------------------------------------------------------------
    // Read-only values valid until resetTemporaries(). Throw "許容量を超えた式があり
    // ます。" when a kind reaches kTemporaryLimit.
    NumValue* makeNum(double value) {
        NumValue* v = checked(nums_, nums_.append());
        v->set(value);
        return v;
    }
    StrValue* makeStr(std::u16string_view value) {
        StrValue* v = checked(strs_, strs_.append());
        v->set(value);
        return v;
    }
    BoolValue* makeBool(bool value) {
        BoolValue* v = checked(bools_, bools_.append());
        v->set(value);
        return v;
    }
    FuncObjectValue* makeFuncObject(RegisterRecord* record, double weight = 1.0) {
        FuncObjectValue* v = checked(funcs_, funcs_.append());
        v->set(record, weight);
        return v;
    }
    // The shared void value (never written: every operation on it throws).
    static Value* voidValue();
    // Forgets the temporaries made since the floor (normally: all of them).
    void resetTemporaries();
    // How many temporaries of each kind exist; as a floor, how many a reset keeps.
    struct TemporaryMark {
        std::size_t nums = 0;
        std::size_t strs = 0;
        std::size_t bools = 0;
        std::size_t funcs = 0;
    };
    TemporaryMark temporaryMark() const { return {nums_.size(), strs_.size(), bools_.size(), funcs_.size()}; }
    TemporaryMark temporaryFloor() const { return floor_; }
    void setTemporaryFloor(const TemporaryMark& floor) { floor_ = floor; }
    std::size_t temporaryCount(ValueType type) const;
    // Chunks reserved so far over all kinds (how much memory the temporaries hold).
    std::size_t temporaryChunkCount() const;

    // --- variables, scope, records -------------------------------------------------
    VariableTable& variables() { return variables_; }
    // The key macros this context loaded, by name (LoadMacrosFromFile, AddMacrosFromFile).
    KeyMacroMap& keyMacros() { return keyMacros_; }
    const VariableTable& variables() const { return variables_; }
    ScopeNode* scope() const { return scope_; }
    void setScope(ScopeNode* scope) { scope_ = scope; }
    // The owning character's records, by index (FUNC_BLOCK tokens); may be null.
    void setFunctionObjects(const std::vector<RegisterRecord*>* records) { functionObjects_ = records; }
    RegisterRecord* functionObject(double index) const;

    // The built-in functions this parser calls: the shared table unless replaced (a
    // test or tool may give its own; it must outlive the parser's use of it).
    const BuiltInTable& builtIns() const { return *builtIns_; }
    void setBuiltIns(const BuiltInTable& table) { builtIns_ = &table; }

    // --- block state ----------------------------------------------------------------
    std::vector<ControlRecord>& controlStack() { return controlStack_; }
    const std::vector<ControlRecord>& controlStack() const { return controlStack_; }
    int currentLineIndex() const { return currentLine_; }
    void setCurrentLineIndex(int index) { currentLine_ = index; }
    bool returnFlag() const { return return_; }
    void setReturnFlag(bool value) { return_ = value; }

    // The evaluator's two stacks, shared by nested evaluations (built-in arguments) so
    // that their storage is reused from frame to frame.
    std::vector<Value*>& operandStack() { return operands_; }
    std::vector<PendingOperator>& operatorStack() { return operators_; }

private:
    const Token& tokenAtOffset(int offset) const {
        const int i = index_ + offset;
        return static_cast<unsigned>(i) < static_cast<unsigned>(tokenCount_) ? tokens_[i] : *end_;
    }
    // Throws once an array reaches the limit (the element just made stays counted).
    template <typename T>
    static T* checked(const TemporaryArray<T>& array, T* element) {
        if (array.size() >= kTemporaryLimit) [[unlikely]] {
            throwTooManyTemporaries();
        }
        return element;
    }
    [[noreturn]] static void throwTooManyTemporaries();

    ScriptOwner* owner_;
    OwningThread thread_;
    const TokenLine* line_ = nullptr;
    const Token* tokens_ = nullptr;
    int tokenCount_ = 0;
    const Token* end_ = &endToken();
    int index_ = 0;
    std::vector<ControlRecord> controlStack_;
    int currentLine_ = 0;
    bool return_ = false;
    ScopeNode* scope_ = nullptr;
    TemporaryArray<NumValue> nums_;
    TemporaryArray<StrValue> strs_;
    TemporaryArray<BoolValue> bools_;
    TemporaryArray<FuncObjectValue> funcs_;
    TemporaryMark floor_;
    VariableTable variables_;
    KeyMacroMap keyMacros_;
    const std::vector<RegisterRecord*>* functionObjects_ = nullptr;
    const BuiltInTable* builtIns_;
    std::vector<Value*> operands_;
    std::vector<PendingOperator> operators_;
};

// Runs other code in the middle of a statement (a built-in evaluating stored code, a
// record field read while a line runs) without disturbing that statement: it saves
// the line, token index and current line index, keeps the statement's temporaries
// alive (resets inside only forget what the nested code made), gives the nested code
// an empty control stack and return flag, and puts everything back when it goes out
// of scope.
class ParserPositionSaver {
public:
    explicit ParserPositionSaver(Parser& parser)
        : parser_(parser),
          line_(parser.line()),
          index_(parser.tokenIndex()),
          currentLine_(parser.currentLineIndex()),
          returnFlag_(parser.returnFlag()),
          floor_(parser.temporaryFloor()),
          controlStack_(std::move(parser.controlStack())) {
        parser.controlStack().clear();
        parser.setReturnFlag(false);
        parser.setTemporaryFloor(parser.temporaryMark());
    }
    ~ParserPositionSaver() {
        parser_.resetTemporaries();
        parser_.setTemporaryFloor(floor_);
        parser_.controlStack() = std::move(controlStack_);
        parser_.setReturnFlag(returnFlag_);
        if (line_) {
            parser_.setLine(*line_);
        }
        parser_.setTokenIndex(index_);
        parser_.setCurrentLineIndex(currentLine_);
    }
    ParserPositionSaver(const ParserPositionSaver&) = delete;
    ParserPositionSaver& operator=(const ParserPositionSaver&) = delete;

private:
    Parser& parser_;
    const TokenLine* line_;
    int index_;
    int currentLine_;
    bool returnFlag_;
    Parser::TemporaryMark floor_;
    std::vector<ControlRecord> controlStack_;
};

}  // namespace Quenta::Interpreter
