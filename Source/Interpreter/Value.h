#pragma once
// Script values. `Value` itself is the void value (no type); the four kinds below carry
// a payload. Variables are writable values owned by a VariableTable; everything the
// evaluator makes is a read-only temporary owned by the Parser.
#include <cstdint>
#include <string>

#include "Source/Interpreter/Token.h"

namespace Quenta::Interpreter {

class Parser;
class RegisterRecord;

enum class ValueType : int { Void = 0, Number = 1, String = 2, Bool = 3, FuncObject = 4 };

class Value {
public:
    Value() = default;
    Value(const Value&) = delete;
    Value& operator=(const Value&) = delete;
    virtual ~Value() = default;

    virtual int typeId() const { return 0; }
    virtual std::int32_t toInt() const { return 0; }
    virtual double toNum() const { return 0.0; }
    virtual std::u16string toStr() const { return {}; }
    virtual bool toBool() const { return false; }
    // The left operand decides; the result is a temporary of `parser` or, for the
    // in-place operators, this value itself.
    virtual Value* binaryOp(Parser& parser, const Token& op, Value& right);
    virtual Value* unaryOp(Parser& parser, const Token& op);
    // Conversion assignment, as declarations store their initialiser.
    virtual void assign(Parser& parser, const Value& source);

    ValueType type() const { return static_cast<ValueType>(typeId()); }
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }

protected:
    // Throws "'<text>'には代入できません。" when this value is read-only.
    void checkWritable() const;

private:
    bool readOnly_ = false;
};

class NumValue final : public Value {
public:
    NumValue() = default;
    explicit NumValue(double v) : value_(v) {}

    int typeId() const override { return 1; }
    std::int32_t toInt() const override;
    double toNum() const override { return value_; }
    std::u16string toStr() const override;
    bool toBool() const override { return value_ != 0.0 || value_ != value_; }
    Value* binaryOp(Parser& parser, const Token& op, Value& right) override;
    Value* unaryOp(Parser& parser, const Token& op) override;
    void assign(Parser& parser, const Value& source) override;

    double value() const { return value_; }
    void set(double v) { value_ = v; }

private:
    double value_ = 0.0;
};

class StrValue final : public Value {
public:
    StrValue() = default;
    explicit StrValue(std::u16string v) : value_(std::move(v)) {}

    int typeId() const override { return 2; }
    std::int32_t toInt() const override;
    double toNum() const override;
    std::u16string toStr() const override { return value_; }
    bool toBool() const override { return !value_.empty(); }
    Value* binaryOp(Parser& parser, const Token& op, Value& right) override;
    Value* unaryOp(Parser& parser, const Token& op) override;
    void assign(Parser& parser, const Value& source) override;

    const std::u16string& value() const { return value_; }
    std::u16string& mutableValue() { return value_; }
    void set(std::u16string_view v) { value_.assign(v.data(), v.size()); }

private:
    std::u16string value_;
};

class BoolValue final : public Value {
public:
    BoolValue() = default;
    explicit BoolValue(bool v) : value_(v) {}

    int typeId() const override { return 3; }
    std::int32_t toInt() const override { return value_ ? 1 : 0; }
    double toNum() const override { return value_ ? 1.0 : 0.0; }
    std::u16string toStr() const override;
    bool toBool() const override { return value_; }
    Value* binaryOp(Parser& parser, const Token& op, Value& right) override;
    Value* unaryOp(Parser& parser, const Token& op) override;
    void assign(Parser& parser, const Value& source) override;

    bool value() const { return value_; }
    void set(bool v) { value_ = v; }

private:
    bool value_ = false;
};

class FuncObjectValue final : public Value {
public:
    FuncObjectValue() = default;
    explicit FuncObjectValue(RegisterRecord* record, double weight = 1.0)
        : record_(record), weight_(weight) {}

    int typeId() const override { return 4; }
    std::int32_t toInt() const override;
    double toNum() const override;
    std::u16string toStr() const override;
    bool toBool() const override { return record_ != nullptr; }
    Value* binaryOp(Parser& parser, const Token& op, Value& right) override;
    Value* unaryOp(Parser& parser, const Token& op) override;
    void assign(Parser& parser, const Value& source) override;

    RegisterRecord* record() const { return record_; }
    double weight() const { return weight_; }
    void set(RegisterRecord* record, double weight) {
        record_ = record;
        weight_ = weight;
    }

private:
    RegisterRecord* record_ = nullptr;
    double weight_ = 1.0;
};

// Writes a value's text without allocating when it is a string (used by string
// concatenation and comparison in the hot path).
void appendText(std::u16string& out, const Value& value);

}  // namespace Quenta::Interpreter
