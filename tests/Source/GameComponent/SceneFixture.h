#pragma once
// Characters from tests/data/characters/scene on the headless desktop, driven frame by
// frame on the test's thread. Fatal errors are collected instead of ending the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/DesktopObject.h"
#include "Source/GameComponent/RestackQueue.h"
#include "Source/GameComponent/SceneEnvironment.h"
#include "Source/Interpreter/Lexer.h"
#include "Source/Interpreter/ScriptHost.h"
#include "Source/Interpreter/StatementRunner.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "support/BackendTest.h"
#include "support/TestPaths.h"

namespace SceneTesting {

using namespace Quenta;
using GameComponent::CharacterObject;
using GameComponent::DesktopObject;

// The cursor as the frame would publish it.
class CursorHost : public Interpreter::ScriptHost {
public:
    double systemVariable(Interpreter::SystemVariable v) const override {
        switch (v) {
        case Interpreter::SystemVariable::MouseX: return mouseX;
        case Interpreter::SystemVariable::MouseY: return mouseY;
        case Interpreter::SystemVariable::Right:
        case Interpreter::SystemVariable::Width: return 1920;
        case Interpreter::SystemVariable::Bottom:
        case Interpreter::SystemVariable::Height: return 1080;
        default: return 0;
        }
    }
    double mouseX = 0;
    double mouseY = 0;
};

class SceneFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Arbor::Platform::Headless::HeadlessDesktop::instance().reset();
        std::filesystem::copy(Testing::dataDir() / "characters" / "scene", program.path() / "Data",
                              std::filesystem::copy_options::recursive);
        auto& environment = GameComponent::SceneEnvironment::current();
        environment = GameComponent::SceneEnvironment{};
        environment.programDirectory = program.path();
        environment.writableBase = program.path();
        environment.fatalError = [this](std::u16string_view message) { fatal.emplace_back(message); };
        desktop.setDesktop(0, 0, 1920, 1080);
        Interpreter::ScriptHost::install(host);
    }
    void TearDown() override {
        desktop.deleteChildren();
        GameComponent::RestackQueue::instance().apply();
        Interpreter::ScriptHost::uninstall(host);
        GameComponent::SceneEnvironment::current() = GameComponent::SceneEnvironment{};
        Arbor::Platform::Headless::HeadlessDesktop::instance().reset();
    }

    // A character of Data (construction and start, as start-up does).
    CharacterObject& load(const std::u16string& name) {
        auto& c = desktop.adopt(std::make_unique<CharacterObject>(name));
        c.start();
        return c;
    }
    // Writes a character of one definition file into Data.
    void write(const std::string& name, const std::string& funcText) {
        const auto folder = program.path() / "Data" / name;
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(program.path() / "Data" / "c1" / "body.png", folder / "body.png",
                                   std::filesystem::copy_options::overwrite_existing);
        std::ofstream(folder / "main.func") << funcText;
    }

    // One frame's steps on the desktop, as the frame loop runs them.
    void frame(int count = 1) {
        for (int i = 0; i < count; ++i) {
            desktop.inputPhase();
            desktop.updatePhase();
            GameComponent::RestackQueue::instance().apply();
            desktop.motionPhase();
            desktop.animationPhase();
            desktop.renderPhase();
        }
    }

    // Runs script lines in the character's context.
    void run(CharacterObject& c, const std::vector<std::u16string>& lines) {
        Interpreter::TokenBlock block;
        for (const auto& line : lines) block.push_back(Interpreter::tokenizeLine(line));
        Interpreter::runBlock(c.parser(), block);
    }
    std::u16string text(CharacterObject& c, std::u16string_view variable) {
        const Interpreter::Value* v = c.parser().variables().find(variable);
        return v ? v->toStr() : u"(none)";
    }
    double number(CharacterObject& c, std::u16string_view variable) {
        const Interpreter::Value* v = c.parser().variables().find(variable);
        return v ? v->toNum() : -12345;
    }

    Testing::BackendScope backend{"Headless"};
    Testing::TempDir program;
    CursorHost host;
    std::vector<std::u16string> fatal;
    DesktopObject& desktop = DesktopObject::instance();
};

}  // namespace SceneTesting
