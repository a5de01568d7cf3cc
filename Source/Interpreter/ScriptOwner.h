#pragma once
// The object a Parser runs scripts for: a character. Built-ins that need their
// character ask `Parser::owner()` and return their failure value when it is null (a
// parser made by a tool, a test or a loader belongs to no character). Extended with
// what the built-in families need to reach; kept abstract so the interpreter does not
// depend on the scene objects. What belongs to the whole program rather than to one
// character is the ScriptHost's (parser.host()).
#include <filesystem>
#include <string>

#include "Source/Interpreter/ScriptHost.h"

namespace Arbor::Speech::Recognition {
class SpeechRecognitionEngine;
}

namespace Quenta::Interpreter {

class BalloonControl;
class SceneCharacter;
class KeyMacroQueue;
class ScriptMenus;
class ValueStore;
class VariableTable;
class WordRecognitionTrees;

class ScriptOwner {
public:
    virtual ~ScriptOwner() = default;

    // The character's name: its folder or package name under Data.
    virtual std::u16string ownerName() const { return {}; }
    // The character's "ObjectID", by which other characters' scripts find it.
    virtual std::u16string objectId() const { return {}; }
    // The folder its files are read from.
    virtual std::filesystem::path dataDirectory() const { return {}; }
    // Its value store; null when it has none.
    virtual ValueStore* valueStore() { return nullptr; }
    // Where FlushValues writes the store, asked at each flush because the writable
    // base may change while the program runs. Empty when it cannot be written.
    virtual std::filesystem::path valueStoreFile() const { return {}; }
    // The variable table of its Parser (what other characters' object-variable
    // built-ins reach); null when it has none.
    virtual VariableTable* variableTable() { return nullptr; }
    // Its word recognition trees; null when it keeps none (the tree built-ins then
    // answer their failure values).
    virtual WordRecognitionTrees* wordRecognitionTrees() { return nullptr; }
    // Its popup menus; null when it has none (the menu built-ins then do nothing).
    virtual ScriptMenus* scriptMenus() { return nullptr; }
    // The speech recogniser its speech built-ins drive; null when there is none.
    virtual Arbor::Speech::Recognition::SpeechRecognitionEngine* speechEngine() { return nullptr; }
    // The character on the desktop the scene built-ins act on; null for a parser of a
    // tool, a test or a loader.
    virtual SceneCharacter* sceneCharacter() { return nullptr; }
    // Its queue of key macros (played one after another, cancelled when the
    // foreground moves to another program); null when it plays none, and then sending
    // a macro answers false.
    virtual KeyMacroQueue* keyMacroQueue() { return nullptr; }
    // The frame's user input: the text recognised for the current frame, or empty. The
    // program's frame publishes it once for everyone, so by default the host answers.
    virtual std::u16string userInput() const { return ScriptHost::current().userInput(); }
    // Its balloons; null when it has none (the balloon built-ins then do nothing).
    virtual BalloonControl* balloonControl() { return nullptr; }
};

}  // namespace Quenta::Interpreter
