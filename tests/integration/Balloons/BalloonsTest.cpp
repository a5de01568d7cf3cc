// Balloons of a whole character on the headless desktop: a balloon that opens from its
// text, types Japanese text and a link whose command runs when clicked; the opening
// counters; the call types; a chain; closing with commands; mirroring; main-object
// balloons in front of every character.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Source/GameComponent/BalloonManager.h"
#include "Source/GameComponent/BalloonObject.h"
#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/DesktopObject.h"
#include "Source/GameComponent/MainObject.h"
#include "Source/GameComponent/RestackQueue.h"
#include "Source/GameComponent/SceneEnvironment.h"
#include "Source/Interpreter/Lexer.h"
#include "Source/Interpreter/StatementRunner.h"
#include "Source/Interpreter/Value.h"
#include "Source/Interpreter/VariableTable.h"
#include "framework/Graphics/BufferedImage.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Messages.h"
#include "support/BackendTest.h"
#include "support/TestPaths.h"

namespace {

using namespace Quenta::GameComponent;
using Arbor::Platform::Headless::HeadlessDesktop;

class BalloonsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!backend_.selected()) GTEST_SKIP() << "no headless backend";
        HeadlessDesktop::instance().reset();
        namespace fs = std::filesystem;
        const fs::path data = program_.path() / "Data";
        fs::create_directories(data);
        fs::copy(Testing::dataDir() / "characters" / "bal-talk", data / "bal-talk", fs::copy_options::recursive);
        fs::copy(Testing::dataDir() / "characters" / "bal-talk", data / "MAIN_OBJECT", fs::copy_options::recursive);
        saved_ = SceneEnvironment::current();
        SceneEnvironment& environment = SceneEnvironment::current();
        environment.programDirectory = program_.path();
        environment.writableBase = program_.path();
        environment.fatalError = [this](std::u16string_view message) { fatal_.emplace_back(message); };
        c_ = &DesktopObject::instance().adopt(std::make_unique<CharacterObject>(u"bal-talk"));
        c_->start();
        frame();
    }

    void TearDown() override {
        DesktopObject::instance().deleteChildren();
        SceneEnvironment::current() = saved_;
        EXPECT_TRUE(fatal_.empty()) << (fatal_.empty() ? "" : std::string(fatal_[0].begin(), fatal_[0].end()));
    }

    void frame() {
        DesktopObject& desktop = DesktopObject::instance();
        desktop.inputPhase();
        desktop.updatePhase();
        RestackQueue::instance().apply();
        desktop.motionPhase();
        desktop.animationPhase();
        desktop.renderPhase();
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) frame();
    }
    // Runs one statement in the character, as its own code would.
    void run(const std::u16string& code) {
        const Quenta::Interpreter::TokenLine line = Quenta::Interpreter::tokenizeLine(code);
        c_->runGuarded([&] {
            Quenta::Interpreter::Parser& parser = c_->parser();
            parser.setLine(line);
            parser.resetTemporaries();
            Quenta::Interpreter::runStatement(parser);
        });
    }
    double variable(const std::u16string& name) {
        const auto* value = c_->parser().variables().find(name);
        return value ? value->toNum() : -1.0;
    }
    BalloonManager& balloons() { return *static_cast<BalloonManager*>(c_->balloons()); }
    BalloonObject& balloon(std::u16string_view name = u"") {
        BalloonObject* found = balloons().find(name);
        if (!found) throw std::runtime_error("no such balloon");
        return *found;
    }
    void click(BalloonObject& b, std::uint32_t message, double x, double y) {
        InputEvent event;
        event.kind = message == Arbor::Platform::WM_LBUTTONDOWN ? InputEvent::ButtonDown : InputEvent::ButtonUp;
        event.message = message;
        event.x = x;
        event.y = y;
        b.queueInput(event);
    }

    Testing::BackendScope backend_{"Headless"};
    Testing::TempDir program_;
    SceneEnvironment saved_;
    std::vector<std::u16string> fatal_;
    CharacterObject* c_ = nullptr;
};

TEST_F(BalloonsTest, BalloonsAreMadeWithTheCharacterAsItsSiblings) {
    ASSERT_NE(balloons().find(u""), nullptr);
    EXPECT_EQ(balloons().find(u""), balloons().find(u"#bal00"));
    EXPECT_NE(balloons().find(u"side"), nullptr);  // named by balloon orders
    EXPECT_EQ(balloons().find(u"nobody"), nullptr);
    EXPECT_EQ(balloon().parent(), c_->parent());
    EXPECT_GT(balloon().zOrder(), c_->zOrder());
    run(u"CreateBalloon(\"extra\")");
    ASSERT_NE(balloons().find(u"extra"), nullptr);
    EXPECT_EQ(balloons().stacking().back(), balloons().find(u"extra"));
    EXPECT_FALSE(balloon().isShown());
}

TEST_F(BalloonsTest, TalkOpensTypesJapaneseAndTheLinkRunsItsCommand) {
    run(u"CallBalloon(\"Talk\")");
    EXPECT_EQ(balloons().pendingCalls(), 1u);
    frame();  // the call starts the order; its text opens the balloon at once
    BalloonObject& b = balloon();
    EXPECT_EQ(b.order().record().funcName, u"Talk");
    EXPECT_TRUE(b.isOpen());
    EXPECT_TRUE(b.isShown());
    // Above the character (PosY -100), following it.
    EXPECT_DOUBLE_EQ(b.x(), c_->x());
    EXPECT_DOUBLE_EQ(b.y(), c_->y() - 100);
    EXPECT_DOUBLE_EQ(b.width(), 200);
    frames(20);
    TextLayerObject* words = b.order().textLayer(u"Words");
    ASSERT_NE(words, nullptr);
    EXPECT_TRUE(words->isFinished());
    EXPECT_EQ(words->revealed(), words->box().charCount());

    // The window shows the balloon with text drawn on it.
    const auto window = HeadlessDesktop::instance().window(b.ownWidget()->window().handle());
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->visible);
    ASSERT_EQ(window->pixelWidth, 200);
    int dark = 0;
    for (int y = 12; y < 40; ++y) {
        for (int x = 12; x < 180; ++x) {
            const std::uint32_t p = window->pixels[static_cast<std::size_t>(y) * 200 + x];
            if ((p & 0xFF) < 0x80 && (p >> 24) == 0xFF) ++dark;
        }
    }
    EXPECT_GT(dark, 40);

    // A click on the link runs its command in the character.
    const auto& link = *words->box().pieces().back();
    ASSERT_TRUE(link.isLink());
    const CharItem& k = link.chars()[0];
    HeadlessDesktop::instance().setKeyDown(Arbor::Platform::VK_LBUTTON, true);
    click(b, Arbor::Platform::WM_LBUTTONDOWN, k.x + 2, k.y + k.height / 2);
    frame();
    EXPECT_EQ(variable(u"clicked"), 1);
    EXPECT_TRUE(static_cast<const LinkTextLayout&>(link).pressed());
    HeadlessDesktop::instance().setKeyDown(Arbor::Platform::VK_LBUTTON, false);
    click(b, Arbor::Platform::WM_LBUTTONUP, k.x + 2, k.y + k.height / 2);
    frame();
    EXPECT_FALSE(static_cast<const LinkTextLayout&>(link).pressed());
    // A press whose release happens outside the balloon ends with the button.
    HeadlessDesktop::instance().setKeyDown(Arbor::Platform::VK_LBUTTON, true);
    click(b, Arbor::Platform::WM_LBUTTONDOWN, k.x + 2, k.y + k.height / 2);
    frame();
    EXPECT_TRUE(static_cast<const LinkTextLayout&>(link).pressed());
    HeadlessDesktop::instance().setKeyDown(Arbor::Platform::VK_LBUTTON, false);
    frame();
    EXPECT_FALSE(static_cast<const LinkTextLayout&>(link).pressed());

    // The balloon moves with its character.
    c_->setBasePosition(150, 320);
    frames(2);
    EXPECT_DOUBLE_EQ(b.x(), c_->x());
}

TEST_F(BalloonsTest, OpeningCountersRunAtTheirSteps) {
    run(u"CallBalloon(\"Quiet\")");
    frame();
    BalloonObject& b = balloon();
    EXPECT_FALSE(b.isOpen());
    run(u"OpenBalloon(\"\", 10, 10)");
    frame();
    EXPECT_TRUE(b.isShown());
    EXPECT_EQ(b.openPercent(), 10);
    frames(8);
    EXPECT_EQ(b.openPercent(), 90);
    EXPECT_LT(b.width(), 200);
    frame();
    EXPECT_EQ(b.queuedTransitions(), 0u);
    EXPECT_EQ(b.openPercent(), 100);
    EXPECT_DOUBLE_EQ(b.width(), 200);

    // "ALL" with steps 0: one percentage point a frame for every balloon.
    run(u"CloseBalloon(\"ALL\", 100, 100)");
    frame();
    EXPECT_FALSE(b.isOpen());
    run(u"OpenBalloon(\"ALL\", 0, 0)");
    frames(3);
    EXPECT_EQ(b.openPercent(), 3);
    EXPECT_EQ(balloon(u"side").openPercent(), 3);

    // Steps of 100: full size and opacity on the next frame.
    run(u"TerminateBalloon(\"ALL\")");
    run(u"OpenBalloon(\"side\", 100, 100)");
    frame();
    EXPECT_TRUE(balloon(u"side").isOpen());
    EXPECT_EQ(balloon(u"side").queuedTransitions(), 0u);
}

TEST_F(BalloonsTest, CallTypesWhileTheBalloonIsBusy) {
    run(u"CallBalloon(\"Slow\")");
    frame();
    BalloonObject& b = balloon();
    ASSERT_EQ(b.order().record().funcName, u"Slow");
    ASSERT_TRUE(b.isBusy());
    // A second WAIT replaces the first; it runs right after the text.
    run(u"CallBalloon(\"WaitA\")");
    run(u"CallBalloon(\"WaitB\")");
    frame();
    EXPECT_EQ(b.pendingOrder(), u"WaitB");
    EXPECT_EQ(b.order().record().funcName, u"Slow");
    // NORMAL is dropped and cancels the waiting order.
    run(u"CallBalloon(\"Normal\")");
    frame();
    EXPECT_EQ(b.pendingOrder(), u"");
    EXPECT_EQ(b.order().record().funcName, u"Slow");
    run(u"CallBalloon(\"WaitA\")");
    frames(12);
    EXPECT_EQ(b.order().record().funcName, u"WaitA");

    // FORCE replaces a busy order at once and drops its transitions.
    run(u"CallBalloon(\"Slow\")");
    frame();
    run(u"OpenBalloon(\"\", 1, 1)");
    run(u"CallBalloon(\"Force\")");
    frame();
    EXPECT_EQ(b.order().record().funcName, u"Force");
    EXPECT_EQ(b.queuedTransitions(), 0u);
}

TEST_F(BalloonsTest, ChainFollowsAndCloseRunsItsCommandsOnceHidden) {
    run(u"CallBalloon(\"First\")");
    frame();
    BalloonObject& side = balloon(u"side");
    EXPECT_EQ(side.order().record().funcName, u"First");
    frames(3);
    EXPECT_EQ(side.order().record().funcName, u"Second");
    EXPECT_DOUBLE_EQ(side.x(), 320);

    run(u"OpenBalloon(\"side\", 100, 100)");
    frame();
    ASSERT_TRUE(side.isShown());
    run(u"CloseBalloon(\"side\", 50, 50, SetVariable(\"clicked\", 7))");
    frame();
    EXPECT_TRUE(side.isShown());
    EXPECT_EQ(variable(u"clicked"), 0);
    frame();  // closed: hidden, and the commands wait for the next input phase
    EXPECT_FALSE(side.isShown());
    EXPECT_FALSE(side.isOpen());
    frame();
    EXPECT_EQ(variable(u"clicked"), 7);
}

TEST_F(BalloonsTest, MoveAndFrameNumbers) {
    run(u"CallBalloon(\"Quiet\")");
    frame();
    run(u"MoveBalloon(\"\", 40, 50)");
    run(u"OpenBalloon(\"\", 100, 100)");
    frame();
    EXPECT_DOUBLE_EQ(balloon().x(), 40);
    EXPECT_DOUBLE_EQ(balloon().y(), 50);
    run(u"MoveBalloon(\"nobody\", 1, 1)");  // an unknown name does nothing
    run(u"SetBalloonFrameNumCmd(\"\", 5)");
    EXPECT_EQ(c_->pendingCommands(), 1u);
    run(u"SetVariable(\"clicked\", GetBalloonFrameNum(\"\"))");
    EXPECT_NE(variable(u"clicked"), 5);
    frame();
    run(u"SetVariable(\"clicked\", GetBalloonFrameNum(\"\"))");
    EXPECT_EQ(variable(u"clicked"), 5);
}

TEST_F(BalloonsTest, MainObjectBalloonsStandInFrontOfEveryCharacter) {
    MainObject& main = DesktopObject::instance().adopt(std::make_unique<MainObject>(u"main window"));
    main.load();
    auto* mainBalloons = static_cast<BalloonManager*>(main.balloons());
    ASSERT_NE(mainBalloons, nullptr);
    EXPECT_LT(main.zOrder(), c_->zOrder());
    EXPECT_GT(mainBalloons->find(u"")->zOrder(), balloon().zOrder());
    c_->setZOrder(5000);
    main.setZOrder(3);
    EXPECT_GT(mainBalloons->find(u"")->zOrder(), balloon().zOrder());
    EXPECT_GT(balloon().zOrder(), c_->zOrder());
}

TEST_F(BalloonsTest, MirroredBalloonMirrorsItsHitTest) {
    run(u"CallBalloon(\"Mirror\")");
    frame();
    run(u"OpenBalloon(\"side\", 100, 100)");
    frame();
    BalloonObject& side = balloon(u"side");
    ASSERT_EQ(side.order().flip(), 1);
    // The picture is opaque on its left half; mirrored, the right half is hit.
    EXPECT_TRUE(side.isTransparentAt(5, 30));
    EXPECT_FALSE(side.isTransparentAt(60, 30));
}

}  // namespace
