// Key names, key commands, macro files and the per-character macro queue, on the
// headless backend, whose key input records every injected batch.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "Source/Interpreter/KeyCommand.h"
#include "Source/Interpreter/KeyMacro.h"
#include "Source/Interpreter/KeyMacroQueue.h"
#include "Source/Interpreter/KeyNames.h"
#include "Source/Interpreter/ScriptTestSupport.h"
#include "Source/Interpreter/StandaloneScriptOwner.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Headless/HeadlessEffects.h"
#include "support/BackendTest.h"
#include "support/TestPaths.h"

using namespace ScriptTest;
using Arbor::Platform::InjectedInput;
using Arbor::Platform::Headless::HeadlessDesktop;
using Arbor::Platform::Headless::HeadlessEffects;
using Batches = std::vector<std::vector<InjectedInput>>;
using Step = KeyMacroStep;

namespace {

constexpr int CTRL = 0x11, SHIFT = 0x10, C = 'C';

InjectedInput down(int code) { return InjectedInput::key(code, false); }
InjectedInput up(int code) { return InjectedInput::key(code, true); }

bool waitUntil(const std::function<bool()>& done, int milliseconds = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

class KeyInput : public ::testing::Test {
protected:
    void SetUp() override {
        if (!scope_.selected()) GTEST_SKIP() << "no headless backend";
        HeadlessDesktop::instance().reset();
    }
    void TearDown() override { HeadlessDesktop::instance().reset(); }
    static Batches sent() { return HeadlessEffects::instance().inputBatches(); }

    Testing::BackendScope scope_{"Headless"};
};

}  // namespace

TEST(KeyNames, TableRunsEndWhereTheirCodesDo) {
    EXPECT_EQ(KeyNames::codeOf(u"LBUTTON"), 0x01);
    EXPECT_EQ(KeyNames::codeOf(u"HELP"), 0x2F);
    EXPECT_EQ(KeyNames::codeOf(u"9"), 0x39);
    EXPECT_EQ(KeyNames::codeOf(u"APPS"), 0x5D);
    EXPECT_EQ(KeyNames::codeOf(u"RELEASE"), 0x89);
    EXPECT_EQ(KeyNames::codeOf(u"LAUNCH_APP2"), 0xB7);
    EXPECT_EQ(KeyNames::codeOf(u"OEM_8"), 0xDF);
    EXPECT_EQ(KeyNames::codeOf(u"PACKET"), 0xE7);
    EXPECT_EQ(KeyNames::codeOf(u"OEM_CLEAR"), 0xFE);
    EXPECT_EQ(KeyNames::nameOf(0x07), u"VK_0x07");
    EXPECT_EQ(KeyNames::nameOf(0xFF), u"VK_0xFF");
    // Display names and lower case are not input.
    EXPECT_FALSE(KeyNames::codeOf(u"VK_0x07"));
    EXPECT_FALSE(KeyNames::codeOf(u"ctrl"));
}

TEST_F(KeyInput, CtrlCPressesInOrderAndReleasesInOneCallBackwards) {
    const auto command = parseKeyCommand(u"CTRL C");
    ASSERT_TRUE(command);
    std::vector<int> pauses;
    EXPECT_EQ(sendKeyCommand(*command, [&](int ms) { pauses.push_back(ms); }), 4u);
    EXPECT_EQ(sent(), (Batches{{down(CTRL)}, {down(C)}, {up(C), up(CTRL)}}));
    EXPECT_EQ(pauses, (std::vector<int>{20, 30}));
    EXPECT_EQ(parseKeyCommand(u" ctrl  c "), command);
}

TEST_F(KeyInput, PressAndReleaseChooseThePhases) {
    std::vector<int> pauses;
    const auto pause = [&](int ms) { pauses.push_back(ms); };
    sendKeyCommand(*parseKeyCommand(u"PRESS SHIFT"), pause);
    sendKeyCommand(*parseKeyCommand(u"RELEASE SHIFT"), pause);
    sendKeyCommand(*parseKeyCommand(u"PRESS RELEASE SHIFT"), pause);
    EXPECT_EQ(sent(), (Batches{{down(SHIFT)}, {up(SHIFT)}, {down(SHIFT)}, {up(SHIFT)}}));
    EXPECT_EQ(pauses, (std::vector<int>{30}));
}

TEST_F(KeyInput, AnUnknownNameSendsNothingAndRejectionsLowerTheCount) {
    EXPECT_FALSE(parseKeyCommand(u"CTRL Q1"));
    EXPECT_FALSE(parseKeyCommand(u"VK_0x07"));
    Parser parser;
    Evaluation eval(parser);
    EXPECT_FALSE(eval(u"SendKeyEventToForegroundWindow(\"CTRL Q1\")")->toBool());
    EXPECT_TRUE(sent().empty());
    // Mouse buttons go as mouse events.
    sendKeyCommand(*parseKeyCommand(u"LBUTTON"), [](int) {});
    EXPECT_EQ(sent().back(), (std::vector{InjectedInput::mouse(Arbor::Platform::MouseLeftUp)}));
    HeadlessEffects::instance().setAcceptedInputLimit(0);
    EXPECT_EQ(sendKeyCommand(*parseKeyCommand(u"A B"), [](int) {}), 0u);
}

TEST_F(KeyInput, ACountRepeatsTheCommandWithAPauseAfterEach) {
    Parser parser;
    Evaluation eval(parser);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(eval(u"SendKeyEventToForegroundWindow(\"A\", 3)")->toBool());
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(sent(), (Batches{{down('A')}, {up('A')}, {down('A')}, {up('A')}, {down('A')}, {up('A')}}));
    EXPECT_GE(elapsed, std::chrono::milliseconds(3 * (30 + 30)));
    EXPECT_FALSE(eval(u"SendKeyEventToForegroundWindow(\"\")")->toBool());
    EXPECT_EQ(sent().size(), 6u);
}

TEST_F(KeyInput, HeldKeysAreNamedInCodeOrder) {
    Parser parser;
    Evaluation eval(parser);
    EXPECT_EQ(eval(u"GetPressedKeysAndButtonsStr()")->toStr(), u"");
    HeadlessDesktop::instance().setKeyDown(0xA0, true);  // left Shift
    HeadlessDesktop::instance().setKeyDown(1, true);
    EXPECT_EQ(eval(u"GetPressedKeysStr()")->toStr(), u"SHIFT LSHIFT");
    EXPECT_EQ(eval(u"GetPressedButtonsStr()")->toStr(), u"LBUTTON");
    EXPECT_EQ(eval(u"GetPressedKeysAndButtonsStr()")->toStr(), u"LBUTTON SHIFT LSHIFT");
}

TEST(KeyMacros, LinesDefineNamedStepSequences) {
    const auto copy = parseMacroLine(u"@copy [CTRL [C %50 ]C ]CTRL");
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->name, u"copy");
    EXPECT_EQ(copy->steps, (std::vector<Step>{{Step::Kind::Press, 0x11},
                                              {Step::Kind::Press, 'C'},
                                              {Step::Kind::Wait, 50},
                                              {Step::Kind::Release, 'C'},
                                              {Step::Kind::Release, 0x11}}));
    // Unknown keys give code 0, non-numbers wait 0, a later name wins, others are ignored.
    const auto odd = parseMacroLine(u"@first [Q1 %5x junk  @a\\sb %99999999999");
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->name, u"a b");
    EXPECT_EQ(odd->steps, (std::vector<Step>{{Step::Kind::Press, 0}, {Step::Kind::Wait, 0}, {Step::Kind::Wait, 0xFFFFFFFFu}}));
    EXPECT_FALSE(parseMacroLine(u" @late"));
    EXPECT_FALSE(parseMacroLine(u""));
}

TEST(KeyMacros, LoadKeepsTheFirstAndAddKeepsTheLast) {
    KeyMacroMap macros;
    EXPECT_TRUE(addMacros(macros, {u"@old %1"}));
    EXPECT_FALSE(loadMacros(macros, {}));
    EXPECT_EQ(macros.size(), 1u);  // no lines: untouched
    EXPECT_TRUE(loadMacros(macros, {u"@m %1", u"comment", u"@m %2"}));
    ASSERT_EQ(macros.size(), 1u);
    EXPECT_EQ(macros.at(u"m").steps[0].value, 1u);
    EXPECT_TRUE(addMacros(macros, {u"@m %3"}));
    EXPECT_EQ(macros.at(u"m").steps[0].value, 3u);

    std::vector<std::u16string> many;
    for (int i = 0; i < 10005; ++i) {
        const std::string digits = std::to_string(i);
        many.push_back(u"@m" + std::u16string(digits.begin(), digits.end()));
    }
    EXPECT_TRUE(loadMacros(macros, many));
    EXPECT_EQ(macros.size(), maximumLoadedMacros);
    EXPECT_TRUE(addMacros(macros, many));
    EXPECT_EQ(macros.size(), 10005u);
}

TEST_F(KeyInput, MacroFilesLoadThroughTheBuiltIns) {
    Testing::TempDir temp;
    std::ofstream(temp.path() / "m.txt", std::ios::binary) << "\xEF\xBB\xBF@copy [CTRL [C ]C ]CTRL\r\n@paste [CTRL [V ]V ]CTRL\r\n";
    std::ofstream(temp.path() / "empty.txt", std::ios::binary) << "";
    StandaloneScriptOwner owner(u"Mika", temp.path(), temp.path());
    Parser parser(&owner);
    Evaluation eval(parser);
    EXPECT_TRUE(eval(u"LoadMacrosFromFile(\"m.txt\")")->toBool());
    EXPECT_FALSE(eval(u"LoadMacrosFromFile(\"empty.txt\")")->toBool());
    EXPECT_FALSE(eval(u"AddMacrosFromFile(\"missing.txt\")")->toBool());
    EXPECT_EQ(parser.keyMacros().size(), 2u);

    EXPECT_FALSE(eval(u"SendKeyEventToForegroundWindow(\"@cut\")")->toBool());
    EXPECT_TRUE(eval(u"SendKeyEventToForegroundWindow(\"@copy\", 5)")->toBool());
    ASSERT_TRUE(waitUntil([] { return HeadlessEffects::instance().inputBatches().size() == 4; }));
    EXPECT_EQ(sent(), (Batches{{down(CTRL)}, {down(C)}, {up(C)}, {up(CTRL)}}));

    // Without a character nobody plays macros.
    Parser alone;
    alone.keyMacros() = parser.keyMacros();
    Evaluation evalAlone(alone);
    EXPECT_FALSE(evalAlone(u"SendKeyEventToForegroundWindow(\"@copy\")")->toBool());
}

TEST_F(KeyInput, QueuePlaysOneMacroAfterAnother) {
    KeyMacroQueue queue([] { return Arbor::Platform::ForegroundWindow{7, 70}; });
    queue.add({u"a", {{Step::Kind::Press, 'A'}, {Step::Kind::Wait, 30}, {Step::Kind::Release, 'A'}}});
    queue.add({u"b", {{Step::Kind::Press, 'B'}}});
    EXPECT_EQ(queue.size(), 2u);
    ASSERT_TRUE(waitUntil([&] {
        queue.step();
        return queue.size() == 0;
    }));
    EXPECT_EQ(sent(), (Batches{{down('A')}, {up('A')}, {down('B')}}));
}

TEST_F(KeyInput, AnotherProgramInFrontCancelsEveryQueuedMacro) {
    Arbor::Platform::ForegroundWindow front{7, 70};
    KeyMacroQueue queue([&] { return front; });
    const KeyMacro longWait{u"slow", {{Step::Kind::Press, 'A'}, {Step::Kind::Wait, 60000}, {Step::Kind::Release, 'A'}}};
    queue.add(longWait);
    queue.add(longWait);
    ASSERT_TRUE(waitUntil([] { return HeadlessEffects::instance().inputBatches().size() == 1; }));
    front = {8, 70};  // another window of the same program
    queue.step();
    EXPECT_EQ(queue.size(), 2u);
    front = {9, 90};
    const auto start = std::chrono::steady_clock::now();
    queue.step();
    EXPECT_EQ(queue.size(), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));  // the wait was cut short
    EXPECT_EQ(sent().size(), 1u);
    // Handing over a macro checks too: the front moved again, nothing queued to cancel.
    front = {10, 100};
    queue.add({u"b", {{Step::Kind::Press, 'B'}}});
    EXPECT_EQ(queue.size(), 1u);
}
