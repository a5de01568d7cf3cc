// Menu built-ins: build, change and ask about the calling character's popup menus
// (ScriptMenus.h). Every one answers the number 0 unless it says otherwise; without a
// character, or when an argument is missing, it reads its arguments and does nothing.
// Arguments the call form carries without a meaning here are read as text and
// dropped. Actions are captured without being evaluated, as WRAddCondition does.
#include <optional>

#include "Source/Interpreter/ActionCapture.h"
#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/LibraryArguments.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Interpreter/ScriptMenus.h"
#include "Source/Interpreter/ScriptMessages.h"

namespace Quenta::Interpreter {

namespace {

using Kind = ScriptMenuItem::Kind;

// Reads a call's arguments in order, noting when one is missing.
class MenuArguments {
public:
    MenuArguments(Parser& parser, std::u16string_view name)
        : parser_(parser), name_(name), args_(parser, name), menus_(parser.owner() ? parser.owner()->scriptMenus() : nullptr) {}

    ScriptMenus* menus() const { return menus_; }
    bool complete() const { return !missing_; }
    // The character's menus when every argument was there; null otherwise.
    ScriptMenus* target() const { return missing_ ? nullptr : menus_; }

    std::u16string text() {
        auto value = args_.nextText();
        if (!value) missing_ = true;
        return value.value_or(u"");
    }
    void ignored() { text(); }
    bool flag() {
        Value* value = args_.next();
        if (!value) missing_ = true;
        return value && value->toBool();
    }
    std::int64_t index() {
        Value* value = args_.next();
        if (!value) missing_ = true;
        return value ? value->toInt() : 0;
    }
    // An action: the tokens up to the next "," or ")", taken as they are.
    TokenLine action() {
        const TokenKind kind = parser_.currentToken().kind;
        if (kind == TokenKind::CloseParen) {
            missing_ = true;
            return {};
        }
        if (kind != TokenKind::Comma) throw ScriptException(Messages::builtInMalformed(name_));
        parser_.nextToken();
        return captureAction(parser_, menus_ != nullptr);
    }

private:
    Parser& parser_;
    std::u16string_view name_;
    LibraryArguments args_;
    ScriptMenus* menus_;
    bool missing_ = false;
};

Value* zero(Parser& parser) { return parser.makeNum(0); }

// The placement forms share their argument order: the menu, [the group,] [the index,]
// then the item's own arguments.
MenuPlacement placementOf(std::u16string_view name) {
    if (name.starts_with(u"Insert")) return MenuPlacement::Insert;
    if (name.starts_with(u"Set")) return MenuPlacement::Replace;
    return MenuPlacement::Append;
}

Value* placeItem(Parser& parser, std::u16string_view name, Kind kind) {
    MenuArguments args(parser, name);
    const MenuPlacement placement = placementOf(name);
    ScriptMenuItem item;
    item.kind = kind;
    const std::u16string menu = args.text();
    if (kind == Kind::GroupCheck) item.group = args.text();
    const std::int64_t index = placement == MenuPlacement::Append ? 0 : args.index();
    switch (kind) {
        case Kind::Plain:
            args.ignored();
            item.text = args.text();
            item.firstAction = args.action();
            break;
        case Kind::Check:
            item.checked = args.flag();
            args.ignored();
            args.ignored();
            item.text = args.text();
            item.firstAction = args.action();
            item.secondAction = args.action();
            break;
        case Kind::GroupCheck:
            item.checked = args.flag();
            args.ignored();
            args.ignored();
            item.text = args.text();
            item.firstAction = args.action();
            break;
        case Kind::SubMenu:
            item.subMenu = args.text();
            args.ignored();
            item.text = args.text();
            break;
        case Kind::Separator:
            break;
    }
    if (ScriptMenus* menus = args.target(); menus && !menu.empty()) {
        menus->placeItem(menu, placement, index, std::move(item));
    }
    return zero(parser);
}

template <Kind kind>
Value* placeItemBuiltIn(Parser& parser, std::u16string_view name) {
    return placeItem(parser, name, kind);
}

Value* createMenuBuiltIn(Parser& parser, std::u16string_view name) {
    MenuArguments args(parser, name);
    const std::u16string menu = args.text();
    if (ScriptMenus* menus = args.target(); menus && !menu.empty()) menus->createMenu(menu);
    return zero(parser);
}

Value* deleteMenuBuiltIn(Parser& parser, std::u16string_view name) {
    MenuArguments args(parser, name);
    const std::u16string menu = args.text();
    if (ScriptMenus* menus = args.target(); menus && !menu.empty()) menus->deleteMenu(menu);
    return zero(parser);
}

Value* removeMenuItemBuiltIn(Parser& parser, std::u16string_view name) {
    MenuArguments args(parser, name);
    const std::u16string menu = args.text();
    const std::int64_t index = args.index();
    if (ScriptMenus* menus = args.target(); menus && !menu.empty()) menus->removeItem(menu, index);
    return zero(parser);
}

Value* removeAllMenuItemBuiltIn(Parser& parser, std::u16string_view name) {
    MenuArguments args(parser, name);
    const std::u16string menu = args.text();
    if (ScriptMenus* menus = args.target(); menus && !menu.empty()) menus->removeAllItems(menu);
    return zero(parser);
}

template <bool enabled>
Value* enableMenuItemBuiltIn(Parser& parser, std::u16string_view name) {
    MenuArguments args(parser, name);
    const std::u16string menu = args.text();
    const std::int64_t index = args.index();
    if (ScriptMenus* menus = args.target(); menus && !menu.empty()) menus->setItemEnabled(menu, index, enabled);
    return zero(parser);
}

template <bool checked>
Value* checkMenuItemBuiltIn(Parser& parser, std::u16string_view name) {
    MenuArguments args(parser, name);
    const std::u16string menu = args.text();
    const std::u16string text = args.text();
    if (ScriptMenus* menus = args.target(); menus && !menu.empty()) menus->setItemChecked(menu, text, checked);
    return zero(parser);
}

Value* checkMenuGroupItemBuiltIn(Parser& parser, std::u16string_view name) {
    MenuArguments args(parser, name);
    const std::u16string menu = args.text();
    const std::u16string text = args.text();
    if (ScriptMenus* menus = args.target(); menus && !menu.empty()) menus->checkGroupItem(menu, text);
    return zero(parser);
}

Value* indexOfMenuItemBuiltIn(Parser& parser, std::u16string_view name) {
    MenuArguments args(parser, name);
    const std::u16string menu = args.text();
    const std::u16string text = args.text();
    ScriptMenus* menus = args.target();
    if (!menus || menu.empty()) return parser.makeNum(-1);
    return parser.makeNum(static_cast<double>(menus->indexOfItem(menu, text)));
}

Value* addMenuObjectNamesBuiltIn(Parser& parser, std::u16string_view name) {
    MenuArguments args(parser, name);
    const std::u16string menu = args.text();
    if (ScriptMenus* menus = args.target(); menus && !menu.empty()) menus->addObjectNames(menu);
    return zero(parser);
}

Value* isPopupMenuVisibleBuiltIn(Parser& parser, std::u16string_view) {
    ScriptOwner* owner = parser.owner();
    ScriptMenus* menus = owner ? owner->scriptMenus() : nullptr;
    return parser.makeBool(menus && menus->isPopupMenuVisible());
}

}  // namespace

void registerMenuBuiltIns(BuiltInTable& table) {
    table.add(u"CreateMenu", &createMenuBuiltIn);
    table.add(u"DeleteMenu", &deleteMenuBuiltIn);
    for (const char16_t* prefix : {u"Add", u"Insert", u"Set"}) {
        const std::u16string p(prefix);
        table.add(p + u"MenuItem", &placeItemBuiltIn<Kind::Plain>);
        table.add(p + u"MenuCheckItem", &placeItemBuiltIn<Kind::Check>);
        table.add(p + u"MenuGroupCheckItem", &placeItemBuiltIn<Kind::GroupCheck>);
        table.add(p + u"MenuSubMenu", &placeItemBuiltIn<Kind::SubMenu>);
        table.add(p + u"MenuSeparator", &placeItemBuiltIn<Kind::Separator>);
    }
    table.add(u"RemoveMenuItem", &removeMenuItemBuiltIn);
    table.add(u"RemoveAllMenuItem", &removeAllMenuItemBuiltIn);
    table.add(u"EnableMenuItem", &enableMenuItemBuiltIn<true>);
    table.add(u"DisableMenuItem", &enableMenuItemBuiltIn<false>);
    table.add(u"CheckMenuItem", &checkMenuItemBuiltIn<true>);
    table.add(u"UncheckMenuItem", &checkMenuItemBuiltIn<false>);
    table.add(u"CheckMenuGroupItem", &checkMenuGroupItemBuiltIn);
    table.add(u"IndexOfMenuItem", &indexOfMenuItemBuiltIn);
    table.add(u"AddMenuObjectNames", &addMenuObjectNamesBuiltIn);
    table.add(u"IsPopupMenuVisible", &isPopupMenuVisibleBuiltIn);
}

}  // namespace Quenta::Interpreter
