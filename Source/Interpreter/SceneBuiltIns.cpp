// The built-ins that act on characters on the desktop ("scene objects"), and the
// object-variable built-ins that reach another character's variables. Each acts on
// the character whose code runs (parser.owner()->sceneCharacter()) and returns its
// failure value when the parser belongs to none. A name ending in "Cmd" queues the
// same call without "Cmd" on the character's own command queue, for its next input
// phase.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/LibraryArguments.h"
#include "Source/Interpreter/ScopeNode.h"
#include "Source/Interpreter/SceneCharacter.h"
#include "Source/Interpreter/ScriptCommand.h"
#include "Source/Interpreter/ScriptOwner.h"
#include "Source/Interpreter/VariableTable.h"

namespace Quenta::Interpreter {

namespace {

SceneCharacter* characterOf(Parser& parser) {
    ScriptOwner* owner = parser.owner();
    return owner ? owner->sceneCharacter() : nullptr;
}

Value* zero(Parser& parser) { return parser.makeNum(0); }

// Reads every remaining argument as its value.
std::vector<Value*> remainingValues(LibraryArguments& args) {
    std::vector<Value*> values;
    while (Value* v = args.next()) values.push_back(v);
    return values;
}

std::u16string trimmed(std::u16string_view text) {
    auto isSpace = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\u3000'; };
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && isSpace(text[b])) ++b;
    while (e > b && isSpace(text[e - 1])) --e;
    return std::u16string(text.substr(b, e - b));
}

// --- commands and events -----------------------------------------------------------------

// PostCommand(targets, name, args...): the targets split at "," and trimmed; a
// character whose GroupID or ObjectID equals a part, or every character for "ALL",
// gets the command once.
Value* postCommandBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto targets = args.nextText();
    const auto function = targets ? args.nextText() : std::nullopt;
    SceneCharacter* self = characterOf(parser);
    if (!targets || !function || !self) return zero(parser);
    const std::vector<Value*> values = remainingValues(args);
    const TokenLine command = makeCommandLine(*function, std::vector<const Value*>(values.begin(), values.end()));
    std::vector<std::u16string> parts;
    std::u16string_view rest = *targets;
    for (;;) {
        const std::size_t comma = rest.find(u',');
        parts.push_back(trimmed(rest.substr(0, comma)));
        if (comma == std::u16string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    const bool all = std::find(parts.begin(), parts.end(), u"ALL") != parts.end();
    self->forEachCharacter([&](SceneCharacter& character) {
        const bool addressed = all || std::any_of(parts.begin(), parts.end(), [&](const std::u16string& part) {
                                   return !part.empty() && (part == character.groupId() || part == character.objectIdText());
                               });
        if (addressed) character.postCommand(command);
    });
    return zero(parser);
}

// The tokens of the arguments from the current one to the closing ")", one line each,
// without evaluating them (the index ends on the ")").
TokenBlock remainingArgumentCode(Parser& parser) {
    TokenBlock code;
    TokenLine statement;
    int depth = 0;
    for (;;) {
        const Token& token = parser.currentToken();
        if (token.kind == TokenKind::Invalid && token.text.empty()) break;
        if (depth == 0 && token.kind == TokenKind::CloseParen) break;
        parser.nextToken();
        if (token.kind == TokenKind::OpenParen || token.kind == TokenKind::OpenBracket) ++depth;
        if ((token.kind == TokenKind::CloseParen || token.kind == TokenKind::CloseBracket) && depth > 0) --depth;
        if (token.kind == TokenKind::Comma && depth == 0) {
            if (!statement.empty()) code.push_back(std::move(statement));
            statement.clear();
            continue;
        }
        statement.push_back(token);
    }
    if (!statement.empty()) code.push_back(std::move(statement));
    return code;
}

// PostEvent(order, dragMode, sound, code...): an order request with priority 8. The
// drag mode is read with NONE, DRAG and DROP defined; the remaining arguments are
// kept as code, run when the request wins.
Value* postEventBuiltIn(Parser& parser, std::u16string_view name) {
    BuiltInArguments args(parser, name);
    SceneCharacter* self = characterOf(parser);
    if (args.empty()) return zero(parser);
    const std::u16string orderName = args.first()->toStr();
    int dragMode = 0;
    std::u16string sound;
    if (args.hasMore()) {
        ScopeNode local(u"local");
        local.setNumber(u"NONE", 0);
        local.setNumber(u"DRAG", 1);
        local.setNumber(u"DROP", 2);
        ScopePush push(parser, local);
        dragMode = static_cast<int>(args.next()->toNum());
    }
    if (args.hasMore()) sound = args.next()->toStr();
    TokenBlock code;
    if (args.hasMore()) {
        parser.nextToken();  // the ","
        code = remainingArgumentCode(parser);
    }
    if (self) self->postEvent(orderName, dragMode, std::move(sound), std::move(code));
    return zero(parser);
}

// Any "...Cmd": the call without "Cmd", with the same argument values, for the next
// input phase.
Value* queuedCommandBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const std::vector<Value*> values = remainingValues(args);
    SceneCharacter* self = characterOf(parser);
    if (!self || name.size() <= 3) return zero(parser);
    self->postCommand(makeCommandLine(name.substr(0, name.size() - 3),
                                      std::vector<const Value*>(values.begin(), values.end())));
    return zero(parser);
}

// --- plain actions -----------------------------------------------------------------------------

// A built-in of no arguments that does one thing to the character.
template <auto Act>
Value* actionBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    remainingValues(args);
    if (SceneCharacter* self = characterOf(parser)) Act(*self);
    return zero(parser);
}

// A built-in of one number argument; nothing happens without it.
template <auto Act>
Value* numberBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* value = args.next();
    remainingValues(args);
    SceneCharacter* self = characterOf(parser);
    if (value && self) Act(*self, value->toNum());
    return zero(parser);
}

template <auto Read>
Value* readNumberBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    remainingValues(args);
    SceneCharacter* self = characterOf(parser);
    return parser.makeNum(self ? Read(*self) : 0.0);
}

template <auto Read>
Value* readBoolBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    remainingValues(args);
    SceneCharacter* self = characterOf(parser);
    return parser.makeBool(self ? Read(*self) : false);
}

template <auto Load>
Value* fileBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto file = args.nextText();
    remainingValues(args);
    SceneCharacter* self = characterOf(parser);
    return parser.makeBool(file && self && Load(*self, *file));
}

Value* getParentIdBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    remainingValues(args);
    SceneCharacter* self = characterOf(parser);
    return parser.makeStr(self ? self->parentObjectId() : std::u16string());
}

Value* getFuncNameBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    remainingValues(args);
    SceneCharacter* self = characterOf(parser);
    return parser.makeStr(self ? self->currentOrderName() : std::u16string());
}

Value* dockBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto id = args.nextText();
    remainingValues(args);
    SceneCharacter* self = characterOf(parser);
    if (!id || !self) return zero(parser);
    return parser.makeNum(self->dockTo(*id) ? 1 : 0);
}

Value* setNoActivateWindowBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* on = args.next();
    remainingValues(args);
    if (SceneCharacter* self = characterOf(parser)) self->setNoActivate(on ? on->toBool() : true);
    return zero(parser);
}

Value* moveBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* xValue = args.next();
    const double x = xValue ? xValue->toNum() : 0.0;
    Value* yValue = xValue ? args.next() : nullptr;
    remainingValues(args);
    SceneCharacter* self = characterOf(parser);
    if (yValue && self) self->setBasePosition(x, yValue->toNum());
    return zero(parser);
}

Value* setMuteBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* on = args.next();
    remainingValues(args);
    SceneCharacter* self = characterOf(parser);
    if (on && self) {
        if (on->toBool()) {
            self->muteSounds();
        } else {
            self->unmuteSounds();
        }
    }
    return zero(parser);
}

Value* playOneShotBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto sound = args.nextText();
    remainingValues(args);
    SceneCharacter* self = characterOf(parser);
    if (sound && self) self->playOneShot(*sound);
    return zero(parser);
}

Value* rotateImageBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto layer = args.nextText();
    std::array<double, 3> numbers{};
    bool complete = layer.has_value();
    for (double& n : numbers) {
        Value* v = complete ? args.next() : nullptr;
        if (!v) {
            complete = false;
            break;
        }
        n = v->toNum();
    }
    remainingValues(args);
    SceneCharacter* self = characterOf(parser);
    if (complete && self) self->rotateImage(*layer, numbers[0], numbers[1], numbers[2]);
    return zero(parser);
}

// --- object variables -------------------------------------------------------------------------

VariableTable* tableOf(Parser& parser, std::u16string_view objectId) {
    SceneCharacter* self = characterOf(parser);
    SceneCharacter* other = self ? self->findCharacter(objectId) : nullptr;
    return other ? other->scriptOwner().variableTable() : nullptr;
}

Value* createObjectVariableBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto id = args.nextText();
    const auto key = id ? args.nextText() : std::nullopt;
    Value* value = key ? args.next() : nullptr;
    if (!value) return zero(parser);
    if (VariableTable* table = tableOf(parser, *id)) {
        Value* variable = table->find(*key);
        if (!variable) variable = table->create(*key, value->typeId());
        if (variable) variable->assign(parser, *value);
    }
    return zero(parser);
}

Value* setObjectVariableBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto id = args.nextText();
    const auto key = id ? args.nextText() : std::nullopt;
    Value* value = key ? args.next() : nullptr;
    if (!value) return zero(parser);
    if (VariableTable* table = tableOf(parser, *id)) {
        if (Value* variable = table->find(*key)) variable->assign(parser, *value);
    }
    return zero(parser);
}

Value* getObjectVariableBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto id = args.nextText();
    const auto key = id ? args.nextText() : std::nullopt;
    if (!key) return zero(parser);
    VariableTable* table = tableOf(parser, *id);
    const Value* variable = table ? table->find(*key) : nullptr;
    if (!variable) return zero(parser);
    // A copy: the other character's variable stays its own.
    switch (variable->type()) {
    case ValueType::Number:
        return parser.makeNum(variable->toNum());
    case ValueType::String:
        return parser.makeStr(variable->toStr());
    case ValueType::Bool:
        return parser.makeBool(variable->toBool());
    default:
        return zero(parser);
    }
}

}  // namespace

void registerSceneBuiltIns(BuiltInTable& table) {
    table.add(u"PostCommand", &postCommandBuiltIn);
    table.add(u"PostEvent", &postEventBuiltIn);
    table.add(u"GetParentID", &getParentIdBuiltIn);
    table.add(u"GetFuncName", &getFuncNameBuiltIn);
    table.add(u"Dock", &dockBuiltIn);
    table.add(u"SetNoActivateWindow", &setNoActivateWindowBuiltIn);
    table.add(u"IsShowing", &readBoolBuiltIn<[](const SceneCharacter& c) { return c.isShowing(); }>);
    table.add(u"Show", &actionBuiltIn<[](SceneCharacter& c) { c.showCharacter(); }>);
    table.add(u"Hide", &actionBuiltIn<[](SceneCharacter& c) { c.hideCharacter(); }>);
    table.add(u"SetX", &numberBuiltIn<[](SceneCharacter& c, double v) { c.setBaseX(v); }>);
    table.add(u"SetY", &numberBuiltIn<[](SceneCharacter& c, double v) { c.setBaseY(v); }>);
    table.add(u"Move", &moveBuiltIn);
    table.add(u"GetBasePosX", &readNumberBuiltIn<[](const SceneCharacter& c) { return c.basePosX(); }>);
    table.add(u"GetBasePosY", &readNumberBuiltIn<[](const SceneCharacter& c) { return c.basePosY(); }>);
    table.add(u"GetScale", &readNumberBuiltIn<[](const SceneCharacter& c) { return c.scale(); }>);
    table.add(u"SetScale", &numberBuiltIn<[](SceneCharacter& c, double v) { c.setScale(v); }>);
    table.add(u"GetAlpha", &readNumberBuiltIn<[](const SceneCharacter& c) { return c.alpha(); }>);
    table.add(u"SetAlpha", &numberBuiltIn<[](SceneCharacter& c, double v) { c.setAlpha(v); }>);
    table.add(u"GetZOrder", &readNumberBuiltIn<[](const SceneCharacter& c) { return c.zOrder(); }>);
    table.add(u"SetZOrder", &numberBuiltIn<[](SceneCharacter& c, double v) { c.setZOrder(v); }>);
    table.add(u"GetFrameNum", &readNumberBuiltIn<[](const SceneCharacter& c) { return double(c.frameNumber()); }>);
    table.add(u"SetFrameNum", &numberBuiltIn<[](SceneCharacter& c, double v) { c.setFrameNumber(int(v)); }>);
    table.add(u"BackIntoDesktop", &actionBuiltIn<[](SceneCharacter& c) { c.backIntoDesktop(); }>);
    table.add(u"IsMuted", &readBoolBuiltIn<[](const SceneCharacter& c) { return c.areSoundsMuted(); }>);
    table.add(u"Mute", &actionBuiltIn<[](SceneCharacter& c) { c.muteSounds(); }>);
    table.add(u"Unmute", &actionBuiltIn<[](SceneCharacter& c) { c.unmuteSounds(); }>);
    table.add(u"SetMute", &setMuteBuiltIn);
    table.add(u"PlayOneShot", &playOneShotBuiltIn);
    table.add(u"CreateBox", &actionBuiltIn<[](SceneCharacter& c) { c.publishBox(); }>);
    table.add(u"IsTopmost", &readBoolBuiltIn<[](const SceneCharacter& c) { return c.isTopmost(); }>);
    table.add(u"SetTopmost", &actionBuiltIn<[](SceneCharacter& c) { c.setTopmost(); }>);
    table.add(u"SetNoTopmost", &actionBuiltIn<[](SceneCharacter& c) { c.clearTopmost(); }>);
    table.add(u"LoadImage", &fileBuiltIn<[](SceneCharacter& c, std::u16string_view f) { return c.loadImage(f); }>);
    table.add(u"LoadFontFile",
              &fileBuiltIn<[](SceneCharacter& c, std::u16string_view f) { return c.loadFontFile(f); }>);
    table.add(u"RotateImage", &rotateImageBuiltIn);
    for (const char16_t* queued : {u"ShowCmd", u"HideCmd", u"SetXCmd", u"SetYCmd", u"MoveCmd", u"SetScaleCmd",
                                   u"SetAlphaCmd", u"SetZOrderCmd", u"SetFrameNumCmd", u"BackIntoDesktopCmd"}) {
        table.add(queued, &queuedCommandBuiltIn);
    }
    table.add(u"CreateObjectVariable", &createObjectVariableBuiltIn);
    table.add(u"SetObjectVariable", &setObjectVariableBuiltIn);
    table.add(u"GetObjectVariable", &getObjectVariableBuiltIn);
}

}  // namespace Quenta::Interpreter
