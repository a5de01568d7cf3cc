#include "Source/Interpreter/Value.h"

#include <algorithm>
#include <cmath>

#include "Source/Interpreter/NumberText.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/RegisterRecord.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Interpreter/ScriptMessages.h"

namespace Quenta::Interpreter {

namespace {

[[noreturn]] void throwMessage(std::u16string_view message) {
    throw ScriptException(std::u16string(message));
}

// Numbers are equal when they agree to about twelve significant digits.
bool nearlyEqual(double x, double y) {
    return std::min(std::fabs(x), std::fabs(y)) >= std::fabs(x - y) * 1e12;
}

// 32-bit remainder; INT32_MIN % -1 would trap, and its true result is 0.
std::int32_t remainder32(std::int32_t a, std::int32_t b) {
    return b == -1 ? 0 : a % b;
}

// Compares a text with a value's text without building a string for texts.
bool textEquals(const std::u16string& text, const Value& right) {
    if (right.typeId() == 2) {
        return text == static_cast<const StrValue&>(right).value();
    }
    return text == right.toStr();
}

}  // namespace

void appendText(std::u16string& out, const Value& value) {
    switch (value.typeId()) {
    case 1: {
        char16_t buffer[16];
        std::size_t pos = 16;
        const std::int32_t v = value.toInt();
        std::uint32_t magnitude = v < 0 ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
        do {
            buffer[--pos] = static_cast<char16_t>(u'0' + magnitude % 10u);
            magnitude /= 10u;
        } while (magnitude != 0);
        if (v < 0) {
            buffer[--pos] = u'-';
        }
        out.append(buffer + pos, 16 - pos);
        break;
    }
    case 2: out += static_cast<const StrValue&>(value).value(); break;
    case 3: out += tokenKindText(value.toBool() ? TokenKind::KwTrue : TokenKind::KwFalse); break;
    default: out += value.toStr(); break;
    }
}

// --- Value (void) -------------------------------------------------------------------

Value* Value::binaryOp(Parser&, const Token&, Value&) { throwMessage(Messages::kInvalidOperation); }

Value* Value::unaryOp(Parser&, const Token&) { throwMessage(Messages::kInvalidOperation); }

void Value::assign(Parser&, const Value&) { throwMessage(Messages::kAssignToVoid); }

void Value::checkWritable() const {
    if (readOnly_) {
        throw ScriptException(Messages::cannotAssign(toStr()));
    }
}

// --- NumValue -------------------------------------------------------------------------

std::int32_t NumValue::toInt() const { return truncateToInt(value_); }

std::u16string NumValue::toStr() const { return intToText(toInt()); }

Value* NumValue::binaryOp(Parser& parser, const Token& op, Value& right) {
    switch (op.kind) {
    case TokenKind::Equal: return parser.makeBool(nearlyEqual(value_, right.toNum()));
    case TokenKind::NotEqual: return parser.makeBool(!nearlyEqual(value_, right.toNum()));
    case TokenKind::GreaterEqual: return parser.makeBool(value_ >= right.toNum());
    case TokenKind::Greater: return parser.makeBool(value_ > right.toNum());
    case TokenKind::LessEqual: return parser.makeBool(value_ <= right.toNum());
    case TokenKind::Less: return parser.makeBool(value_ < right.toNum());
    case TokenKind::Plus: return parser.makeNum(value_ + right.toNum());
    case TokenKind::Minus: return parser.makeNum(value_ - right.toNum());
    case TokenKind::Multiply: return parser.makeNum(value_ * right.toNum());
    case TokenKind::Divide: {
        const double y = right.toNum();
        if (y == 0.0) {
            throwMessage(Messages::kDivisionByZero);
        }
        return parser.makeNum(value_ / y);
    }
    case TokenKind::Modulo: {
        const std::int32_t y = right.toInt();
        if (y == 0) {
            throwMessage(Messages::kDivisionByZero);
        }
        return parser.makeNum(remainder32(toInt(), y));
    }
    case TokenKind::BitAnd: return parser.makeNum(toInt() & right.toInt());
    case TokenKind::BitOr: return parser.makeNum(toInt() | right.toInt());
    case TokenKind::BitXor: return parser.makeNum(toInt() ^ right.toInt());
    case TokenKind::LogicalAnd: return parser.makeBool(toBool() && right.toBool());
    case TokenKind::LogicalOr: return parser.makeBool(toBool() || right.toBool());
    case TokenKind::Assign:
        checkWritable();
        value_ = right.toNum();
        return this;
    case TokenKind::AddAssign:
        checkWritable();
        value_ += right.toNum();
        return this;
    case TokenKind::SubAssign:
        checkWritable();
        value_ -= right.toNum();
        return this;
    case TokenKind::MulAssign:
        checkWritable();
        value_ *= right.toNum();
        return this;
    case TokenKind::DivAssign: {
        checkWritable();
        const double y = right.toNum();
        if (y == 0.0) {
            throwMessage(Messages::kDivisionByZero);
        }
        value_ /= y;
        return this;
    }
    case TokenKind::ModAssign: {
        checkWritable();
        const std::int32_t y = right.toInt();
        if (y == 0) {
            throwMessage(Messages::kDivisionByZero);
        }
        value_ = remainder32(toInt(), y);
        return this;
    }
    case TokenKind::AndAssign:
        checkWritable();
        value_ = toInt() & right.toInt();
        return this;
    case TokenKind::XorAssign:
        checkWritable();
        value_ = toInt() ^ right.toInt();
        return this;
    case TokenKind::OrAssign:
        checkWritable();
        value_ = toInt() | right.toInt();
        return this;
    default: throwMessage(Messages::kInvalidValue);
    }
}

Value* NumValue::unaryOp(Parser& parser, const Token& op) {
    switch (op.kind) {
    case TokenKind::LogicalNot: return parser.makeBool(!toBool());
    case TokenKind::BitNot: return parser.makeNum(~toInt());
    case TokenKind::UnaryPlus: return parser.makeNum(value_);
    case TokenKind::UnaryMinus: return parser.makeNum(-value_);
    default: throwMessage(Messages::kInvalidValue);
    }
}

void NumValue::assign(Parser&, const Value& source) {
    checkWritable();
    value_ = source.toNum();
}

// --- StrValue -------------------------------------------------------------------------

std::int32_t StrValue::toInt() const { return stringToInt(value_); }

double StrValue::toNum() const {
    return stringToNumber(value_, std::numeric_limits<double>::infinity());
}

Value* StrValue::binaryOp(Parser& parser, const Token& op, Value& right) {
    switch (op.kind) {
    case TokenKind::Equal: return parser.makeBool(textEquals(value_, right));
    case TokenKind::NotEqual: return parser.makeBool(!textEquals(value_, right));
    case TokenKind::Plus: {
        StrValue* result = parser.makeStr(value_);
        appendText(result->value_, right);
        return result;
    }
    case TokenKind::AddAssign:
        checkWritable();
        if (&right == this) {
            value_.append(value_);  // a copy of itself: append's aliasing is defined
        } else {
            appendText(value_, right);
        }
        return this;
    case TokenKind::Assign:
        checkWritable();
        if (&right != this) {
            value_.clear();
            appendText(value_, right);
        }
        return this;
    case TokenKind::LogicalAnd: return parser.makeBool(toBool() && right.toBool());
    case TokenKind::LogicalOr: return parser.makeBool(toBool() || right.toBool());
    default: throwMessage(Messages::kInvalidValue);
    }
}

Value* StrValue::unaryOp(Parser& parser, const Token& op) {
    if (op.kind == TokenKind::LogicalNot) {
        return parser.makeBool(!toBool());
    }
    throwMessage(Messages::kInvalidValue);
}

void StrValue::assign(Parser&, const Value& source) {
    checkWritable();
    if (&source != this) {
        value_.clear();
        appendText(value_, source);
    }
}

// --- BoolValue ------------------------------------------------------------------------

std::u16string BoolValue::toStr() const {
    return std::u16string(tokenKindText(value_ ? TokenKind::KwTrue : TokenKind::KwFalse));
}

Value* BoolValue::binaryOp(Parser& parser, const Token& op, Value& right) {
    switch (op.kind) {
    case TokenKind::Equal: return parser.makeBool(value_ == right.toBool());
    case TokenKind::NotEqual: return parser.makeBool(value_ != right.toBool());
    case TokenKind::LogicalAnd:
    case TokenKind::BitAnd: return parser.makeBool(value_ && right.toBool());
    case TokenKind::LogicalOr:
    case TokenKind::BitOr: return parser.makeBool(value_ || right.toBool());
    case TokenKind::BitXor: return parser.makeBool(value_ != right.toBool());
    case TokenKind::Assign:
        checkWritable();
        value_ = right.toBool();
        return this;
    default: throwMessage(Messages::kInvalidValue);
    }
}

Value* BoolValue::unaryOp(Parser& parser, const Token& op) {
    if (op.kind == TokenKind::LogicalNot) {
        return parser.makeBool(!value_);
    }
    throwMessage(Messages::kInvalidValue);
}

void BoolValue::assign(Parser&, const Value& source) {
    checkWritable();
    value_ = source.toBool();
}

// --- FuncObjectValue -------------------------------------------------------------------

std::int32_t FuncObjectValue::toInt() const { return record_ ? record_->recordIndex() : 0; }

double FuncObjectValue::toNum() const { return record_ ? record_->recordIndex() : 0.0; }

std::u16string FuncObjectValue::toStr() const { return record_ ? record_->funcName() : std::u16string(); }

Value* FuncObjectValue::binaryOp(Parser&, const Token& op, Value& right) {
    switch (op.kind) {
    case TokenKind::Assign: {
        checkWritable();
        if (right.typeId() != 4) {
            throwMessage(Messages::kInvalidValue);
        }
        const auto& source = static_cast<const FuncObjectValue&>(right);
        record_ = source.record_;
        weight_ = source.weight_;
        return this;
    }
    case TokenKind::Multiply:
        // Weights a pick in place; allowed on temporaries too.
        weight_ *= right.toNum();
        return this;
    default: throwMessage(Messages::kInvalidValue);
    }
}

Value* FuncObjectValue::unaryOp(Parser&, const Token&) { throwMessage(Messages::kInvalidOperation); }

void FuncObjectValue::assign(Parser&, const Value&) {
    throw ScriptException(Messages::cannotAssign(toStr()));
}

}  // namespace Quenta::Interpreter
