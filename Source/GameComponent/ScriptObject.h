#pragma once
// The base of the objects a character's current order is made of (the order itself,
// its motion and image layers, hit areas, hit events and condition events). Each is
// built from one register block of the character's definition and has a scope node of
// its own in the character's parameter tree, made current while it evaluates its
// record or runs its code, where it publishes its parameters ("FuncName", "Width", ...).
#include <string>

#include "Source/Interpreter/ScopeNode.h"

namespace Quenta::Script {
class DefinitionRecord;
}

namespace Quenta::GameComponent {

class CharacterObject;

class ScriptObject {
public:
    // The register index of the block kind the object is built from.
    enum Kind : int { Order = 2, Motion = 3, ImageLayer = 4, HitArea = 5, HitEvent = 6, ConditionEvent = 7 };

    ScriptObject(CharacterObject& character, std::u16string scopeName);
    virtual ~ScriptObject();
    ScriptObject(const ScriptObject&) = delete;
    ScriptObject& operator=(const ScriptObject&) = delete;

    virtual int registerKind() const = 0;
    // Per-frame work of the character's motion phase.
    virtual void update() {}

    CharacterObject& character() const { return character_; }
    // The block the object was last started with; null before that.
    const Script::DefinitionRecord* block() const { return block_; }
    const std::u16string& funcName() const { return funcName_; }
    Interpreter::ScopeNode& scope() { return scope_; }

    // The character's block of that name and register kind; throws ScriptException
    // with name + "は存在しません。" when there is none of that kind.
    const Script::DefinitionRecord& blockNamed(std::u16string_view name, int kind) const;

protected:
    void setBlock(const Script::DefinitionRecord& block) { block_ = &block; }
    // Records the FuncName, publishes it in the object's scope and enters the object
    // in the character's named-object map.
    void publishFuncName(std::u16string name);

private:
    CharacterObject& character_;
    const Script::DefinitionRecord* block_ = nullptr;
    std::u16string funcName_;
    Interpreter::ScopeNode scope_;
};

}  // namespace Quenta::GameComponent
