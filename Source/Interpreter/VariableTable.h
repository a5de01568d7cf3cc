#pragma once
// The "$" variables of one Parser: an ordered map (plain UTF-16 code-unit order) from
// the name, "$" included, to a writable value owned by the table.
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "Source/Interpreter/Value.h"

namespace Quenta::Interpreter {

class VariableTable {
public:
    using Map = std::map<std::u16string, std::unique_ptr<Value>, std::less<>>;

    VariableTable() : stamp_(newLookupStamp()) {}
    VariableTable(const VariableTable&) = delete;
    VariableTable& operator=(const VariableTable&) = delete;

    // Creates a variable of type 1 (number, 0), 2 (text, empty), 3 (bool, false) or 4
    // (function object, no record, weight 1). Null when the name exists or the type is
    // not one of these.
    Value* create(std::u16string_view name, int typeId);
    Value* find(std::u16string_view name) const;
    // find(token.text), remembered in the token while the table keeps its variables
    // (variables are only ever removed all at once, by clear()).
    Value* find(const Token& token) const {
        if (token.cache.stamp == stamp_) {
            return static_cast<Value*>(token.cache.target);
        }
        return findAndRemember(token);
    }
    void clear() {
        map_.clear();
        stamp_ = newLookupStamp();
    }

    // In name order, for listing.
    const Map& entries() const { return map_; }
    std::size_t size() const { return map_.size(); }

private:
    Value* findAndRemember(const Token& token) const;

    Map map_;
    std::uint64_t stamp_;
};

}  // namespace Quenta::Interpreter
