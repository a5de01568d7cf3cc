#include "Source/Interpreter/VariableTable.h"

namespace Quenta::Interpreter {

Value* VariableTable::create(std::u16string_view name, int typeId) {
    std::unique_ptr<Value> value;
    switch (typeId) {
    case 1: value = std::make_unique<NumValue>(); break;
    case 2: value = std::make_unique<StrValue>(); break;
    case 3: value = std::make_unique<BoolValue>(); break;
    case 4: value = std::make_unique<FuncObjectValue>(); break;
    default: return nullptr;
    }
    auto it = map_.lower_bound(name);
    if (it != map_.end() && it->first == name) {
        return nullptr;
    }
    Value* raw = value.get();
    map_.emplace_hint(it, std::u16string(name), std::move(value));
    return raw;
}

Value* VariableTable::find(std::u16string_view name) const {
    auto it = map_.find(name);
    return it == map_.end() ? nullptr : it->second.get();
}

Value* VariableTable::findAndRemember(const Token& token) const {
    Value* value = find(token.text);
    if (value) {
        token.cache.stamp = stamp_;
        token.cache.target = value;
    }
    return value;
}

}  // namespace Quenta::Interpreter
