#include "Source/Interpreter/BuiltInTable.h"

#include "Source/Interpreter/Evaluator.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Interpreter/ScriptMessages.h"

namespace Quenta::Interpreter {

// Each family's registration function, declared from the list.
#define TAVIZO_BUILTIN_FAMILY(fn) void fn(BuiltInTable& table);
#include "Source/Interpreter/BuiltInFamilies.def"
#undef TAVIZO_BUILTIN_FAMILY

namespace {
BuiltInTable* buildTable() {
    static BuiltInTable table;
#define TAVIZO_BUILTIN_FAMILY(fn) fn(table);
#include "Source/Interpreter/BuiltInFamilies.def"
#undef TAVIZO_BUILTIN_FAMILY
    return &table;
}
}  // namespace

const BuiltInTable& BuiltInTable::instance() {
    // Built once, thread-safely, before any parser reads it; read-only afterwards.
    static const BuiltInTable* const table = buildTable();
    return *table;
}

bool BuiltInTable::add(std::u16string_view name, BuiltInHandler handler) {
    if (!handler) {
        return false;
    }
    auto it = map_.lower_bound(name);
    if (it != map_.end() && it->first == name) {
        return false;
    }
    map_.emplace_hint(it, std::u16string(name), handler);
    stamp_ = newLookupStamp();
    return true;
}

BuiltInHandler BuiltInTable::find(std::u16string_view name) const {
    auto it = map_.find(name);
    return it == map_.end() ? nullptr : it->second;
}

BuiltInHandler BuiltInTable::find(const Token& token) const {
    if (token.cache.stamp == stamp_) {
        return reinterpret_cast<BuiltInHandler>(token.cache.target);
    }
    const BuiltInHandler handler = find(token.text);
    if (handler) {
        token.cache.stamp = stamp_;
        token.cache.target = reinterpret_cast<void*>(handler);
    }
    return handler;
}

bool BuiltInArguments::empty() const { return parser_.currentToken().kind == TokenKind::CloseParen; }

bool BuiltInArguments::hasMore() const { return parser_.currentToken().kind == TokenKind::Comma; }

Value* BuiltInArguments::first() { return evaluate(parser_, true); }

Value* BuiltInArguments::next() {
    if (parser_.currentToken().kind != TokenKind::Comma) {
        throw ScriptException(Messages::builtInMalformed(name_));
    }
    parser_.nextToken();
    return evaluate(parser_, true);
}

}  // namespace Quenta::Interpreter
