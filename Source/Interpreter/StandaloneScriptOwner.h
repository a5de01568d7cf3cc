#pragma once
// A character for running scripts outside the program (the command-line tool, tests):
// it has a name, a data folder and a value store kept under a writable base exactly
// where the program keeps that character's store, but no scene objects.
#include <filesystem>
#include <string>
#include <utility>

#include "Source/Interpreter/KeyMacroQueue.h"
#include "Source/Interpreter/ScriptOwner.h"
#include "Source/Interpreter/ValueStore.h"
#include "Source/Interpreter/WordRecognition.h"

namespace Quenta::Interpreter {

class StandaloneScriptOwner : public ScriptOwner {
public:
    // The ObjectID is the name, as a character without its own ObjectID has.
    StandaloneScriptOwner(std::u16string name, std::filesystem::path writableBase,
                          std::filesystem::path dataDirectory = {});
    StandaloneScriptOwner(const StandaloneScriptOwner&) = delete;
    StandaloneScriptOwner& operator=(const StandaloneScriptOwner&) = delete;

    std::u16string ownerName() const override { return name_; }
    std::u16string objectId() const override { return name_; }
    std::filesystem::path dataDirectory() const override { return dataDirectory_; }
    ValueStore* valueStore() override { return &store_; }
    std::filesystem::path valueStoreFile() const override;
    VariableTable* variableTable() override { return variables_; }
    WordRecognitionTrees* wordRecognitionTrees() override { return &trees_; }
    Arbor::Speech::Recognition::SpeechRecognitionEngine* speechEngine() override { return speech_; }
    std::u16string userInput() const override { return userInput_; }
    KeyMacroQueue* keyMacroQueue() override { return &macros_; }

    // The table of the Parser that runs this character's scripts.
    void setVariableTable(VariableTable* variables) { variables_ = variables; }
    // The recogniser its speech built-ins reach (none unless given).
    void setSpeechEngine(Arbor::Speech::Recognition::SpeechRecognitionEngine* engine) { speech_ = engine; }
    // What GetUserInput answers, as if the recogniser had heard it this frame.
    void setUserInput(std::u16string text) { userInput_ = std::move(text); }
    // Fills the store from its file, as loading a character's definition does; false
    // when there is no readable file (the store then stays empty).
    bool loadValueStore();

private:
    std::u16string name_;
    std::filesystem::path writableBase_;
    std::filesystem::path dataDirectory_;
    ValueStore store_;
    VariableTable* variables_ = nullptr;
    WordRecognitionTrees trees_;
    Arbor::Speech::Recognition::SpeechRecognitionEngine* speech_ = nullptr;
    std::u16string userInput_;
    KeyMacroQueue macros_;
};

}  // namespace Quenta::Interpreter
