#include "Source/GameComponent/ScriptObject.h"

#include "Source/GameComponent/CharacterObject.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Script/F/DefinitionData.h"
#include "Source/Script/F/DefinitionMessages.h"

namespace Quenta::GameComponent {

ScriptObject::ScriptObject(CharacterObject& character, std::u16string scopeName)
    : character_(character), scope_(std::move(scopeName)) {}

ScriptObject::~ScriptObject() = default;

const Script::DefinitionRecord& ScriptObject::blockNamed(std::u16string_view name, int kind) const {
    const Script::DefinitionRecord* record = character_.definition().find(name);
    if (!record || record->registerIndex() != kind)
        throw Interpreter::ScriptException(Script::Messages::unknownRecord(name));
    return *record;
}

void ScriptObject::publishFuncName(std::u16string name) {
    funcName_ = std::move(name);
    scope_.setString(u"FuncName", funcName_);
    character_.enterNamedObject(funcName_, this);
}

}  // namespace Quenta::GameComponent
