// The calling character's value store: ExistsValue, LoadValue, SaveValue, EraseValue,
// ClearValues, FlushValues. Without a character (or a store) they do nothing and
// answer 0, or false for ExistsValue; an absent key is not an error either.
#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/LibraryArguments.h"
#include "Source/Interpreter/ScriptOwner.h"
#include "Source/Interpreter/ValueStore.h"

namespace Quenta::Interpreter {

namespace {

ValueStore* storeOf(Parser& parser) {
    ScriptOwner* owner = parser.owner();
    return owner ? owner->valueStore() : nullptr;
}

Value* existsValueBuiltIn(Parser& parser, std::u16string_view name) {
    // Arguments are read even without a store, so the call still ends on its ")".
    LibraryArguments args(parser, name);
    Value* key = args.next();
    ValueStore* store = storeOf(parser);
    if (!store || !key) {
        return parser.makeBool(false);
    }
    return parser.makeBool(store->exists(key->toStr()));
}

Value* loadValueBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* key = args.next();
    ValueStore* store = storeOf(parser);
    if (!store || !key) {
        return parser.makeNum(0);
    }
    const Token* token = store->find(key->toStr());
    if (!token) {
        return parser.makeNum(0);
    }
    switch (token->kind) {
    case TokenKind::Number: return parser.makeNum(token->number);
    case TokenKind::String: return parser.makeStr(token->text);
    case TokenKind::KwTrue: return parser.makeBool(true);
    case TokenKind::KwFalse: return parser.makeBool(false);
    default: return parser.makeNum(0);
    }
}

Value* saveValueBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto key = args.nextText();
    if (!key) {
        return parser.makeNum(0);
    }
    Value* value = args.next();
    ValueStore* store = storeOf(parser);
    if (!store || !value) {
        return parser.makeNum(0);
    }
    switch (value->typeId()) {
    case 1: store->saveNumber(*key, value->toNum()); break;
    case 2: store->saveString(*key, value->toStr()); break;
    case 3: store->saveBool(*key, value->toBool()); break;
    default: break;  // the void value and function objects are not stored
    }
    return parser.makeNum(0);
}

Value* eraseValueBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* key = args.next();
    ValueStore* store = storeOf(parser);
    if (!store || !key) {
        return parser.makeNum(0);
    }
    store->erase(key->toStr());
    return parser.makeNum(0);
}

Value* clearValuesBuiltIn(Parser& parser, std::u16string_view) {
    if (ValueStore* store = storeOf(parser)) {
        store->clear();
    }
    return parser.makeNum(0);
}

Value* flushValuesBuiltIn(Parser& parser, std::u16string_view) {
    ScriptOwner* owner = parser.owner();
    ValueStore* store = owner ? owner->valueStore() : nullptr;
    if (store) {
        const auto file = owner->valueStoreFile();
        if (!file.empty()) {
            // A failed write keeps the previous file whole; scripts are not told.
            store->flushToFile(file);
        }
    }
    return parser.makeNum(0);
}

}  // namespace

void registerValueStoreBuiltIns(BuiltInTable& table) {
    table.add(u"ExistsValue", &existsValueBuiltIn);
    table.add(u"LoadValue", &loadValueBuiltIn);
    table.add(u"SaveValue", &saveValueBuiltIn);
    table.add(u"EraseValue", &eraseValueBuiltIn);
    table.add(u"ClearValues", &clearValuesBuiltIn);
    table.add(u"FlushValues", &flushValuesBuiltIn);
}

}  // namespace Quenta::Interpreter
