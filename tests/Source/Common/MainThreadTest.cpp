#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "Source/Application/ApplicationState.h"
#include "Source/Common/ClockSnapshot.h"
#include "Source/Common/FrameEnvironment.h"
#include "Source/Common/MainThread.h"
#include "Source/Common/SystemVariables.h"
#include "Source/Common/UserInput.h"
#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/DesktopObject.h"
#include "Source/GameComponent/DisplayChange.h"
#include "Source/GameComponent/RestackQueue.h"
#include "Source/Interpreter/Evaluator.h"
#include "Source/Interpreter/Lexer.h"
#include "Source/Interpreter/Parser.h"
#include "framework/Platform/Backend.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/MessageQueue.h"

using namespace Quenta;
using Common::SystemVariables;

namespace {

class FakeEnvironment : public Common::FrameEnvironment {
public:
    std::uint32_t tickCount() override { return now.load(); }
    void beginTimerResolution(std::uint32_t ms) override { resolution += static_cast<int>(ms); }
    void endTimerResolution(std::uint32_t ms) override { resolution -= static_cast<int>(ms); }
    Common::DesktopGeometry desktopGeometry() override {
        ++desktopQueries;
        return geometry;
    }
    Arbor::Platform::Point cursorPosition() override { return cursor; }
    std::u16string takeRecognizedText() override {
        std::lock_guard guard(lock);
        if (texts.empty()) return {};
        std::u16string t = texts.front();
        texts.pop_front();
        return t;
    }
    void postQuit(int code) override {
        quitCode = code;
        ++quits;
    }

    std::atomic<std::uint32_t> now{0};
    std::atomic<int> resolution{0};
    int desktopQueries = 0;
    Common::DesktopGeometry geometry{-1280, -100, 3200, 1180};
    Arbor::Platform::Point cursor{-1000, 50};
    std::mutex lock;
    std::deque<std::u16string> texts;
    std::atomic<int> quits{0};
    std::atomic<int> quitCode{-1};
};

// Records the order in which the frame's steps reach it.
class RecordingObject : public GameComponent::GameObject {
public:
    explicit RecordingObject(std::vector<std::string>& log) : log_(log) {}
    void inputPhase() override { log_.push_back("input"); }
    void updatePhase() override { log_.push_back("update"); }
    void motionPhase() override {
        log_.push_back("motion:" + std::to_string(parent() == moved ? 1 : 0));
    }
    void animationPhase() override { log_.push_back("animation"); }
    void renderPhase() override { log_.push_back("render"); }
    GameComponent::GameObject* moved = nullptr;

private:
    std::vector<std::string>& log_;
};

// A frame thread whose wait runs against the fake clock: it advances the clock by the
// wait and reports what the stop event says right now.
class SteppedMainThread : public Common::MainThread {
public:
    using MainThread::MainThread;
    int wait(int milliseconds) override {
        waits.push_back(milliseconds);
        if (onWait) onWait(static_cast<int>(waits.size()));
        env->now += static_cast<std::uint32_t>(milliseconds);
        return MainThread::wait(0);
    }
    FakeEnvironment* env = nullptr;
    std::vector<int> waits;
    std::function<void(int)> onWait;
};

struct MainThreadFixture : ::testing::Test {
    void TearDown() override { desktop.deleteChildren(); }
    FakeEnvironment env;
    Application::ApplicationState state;
    GameComponent::DesktopObject desktop;
};

}  // namespace

TEST_F(MainThreadFixture, FrameRunsItsStepsInOrderAndPublishesTheDesktop) {
    std::vector<std::string> log;
    auto& target = desktop.adopt(std::make_unique<GameComponent::GameObject>());
    auto& child = static_cast<RecordingObject&>(desktop.adopt(std::make_unique<RecordingObject>(log)));
    child.moved = &target;
    // The restack step runs between update and motion: the move is visible in motion.
    GameComponent::RestackQueue::instance().push(target, child);
    env.texts = {u"こんにちは", u"second"};
    GameComponent::DisplayChange::signal();

    Common::MainThread thread(env, state, desktop);
    thread.runFrame();
    EXPECT_EQ(log, (std::vector<std::string>{"input", "update", "motion:1", "animation", "render"}));
    EXPECT_EQ(Common::UserInput::get(), u"こんにちは");
    auto& vars = SystemVariables::instance();
    EXPECT_EQ(vars.get(SystemVariables::Id::Left), 0);
    EXPECT_EQ(vars.get(SystemVariables::Id::Right), 3200);
    EXPECT_EQ(vars.get(SystemVariables::Id::Height), 1180);
    // The cursor counts from the virtual screen's corner.
    EXPECT_EQ(vars.get(SystemVariables::Id::MouseX), 280);
    EXPECT_EQ(vars.get(SystemVariables::Id::MouseY), 150);
    EXPECT_EQ(desktop.originX(), -1280);

    // One text per frame; the desktop is read again only after a display change.
    env.cursor = {0, 0};
    thread.runFrame();
    EXPECT_EQ(Common::UserInput::get(), u"second");
    thread.runFrame();
    EXPECT_EQ(Common::UserInput::get(), u"");
    EXPECT_EQ(env.desktopQueries, 1);
    EXPECT_EQ(vars.get(SystemVariables::Id::MouseX), 1280);
    EXPECT_EQ(thread.framesRun(), 3u);
}

TEST_F(MainThreadFixture, WaitsFollowThePacingRule) {
    SteppedMainThread thread(env, state, desktop);
    thread.env = &env;
    thread.onWait = [&](int count) {
        if (count == 1) env.now += 100;  // the first wait overruns: frame 2 starts 100 ms late
        if (count == 6) thread.requestStop();
    };
    thread.runHere();
    // Frames 2, 3 and 4 (due at 33, 66 and 99) run back to back; 5 is on time again.
    ASSERT_EQ(thread.waits.size(), 6u);
    EXPECT_EQ(thread.waits[0], 33);
    EXPECT_EQ(thread.waits[1], 0);
    EXPECT_EQ(thread.waits[2], 0);
    EXPECT_EQ(thread.waits[3], 0);
    EXPECT_EQ(thread.waits[4], 33);
    EXPECT_EQ(env.resolution.load(), 0);  // raised and restored
}

TEST_F(MainThreadFixture, StopDuringTheWaitEndsTheLoopWithoutAnotherFrame) {
    SteppedMainThread thread(env, state, desktop);
    thread.env = &env;
    thread.onWait = [&](int count) {
        if (count == 3) thread.requestStop();
    };
    thread.runHere();
    EXPECT_EQ(thread.framesRun(), 3u);
    EXPECT_EQ(env.quits.load(), 0);
}

TEST_F(MainThreadFixture, AStopRequestEndsARealWaitAtOnce) {
    // The fake clock stands still, so every frame would wait its full 33 ms; the
    // thread must still end as soon as it is asked to.
    Common::MainThread thread(env, state, desktop);
    ASSERT_TRUE(thread.start());
    while (thread.framesRun() < 2) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const std::uint64_t before = thread.framesRun();
    thread.stopAndJoin();
    EXPECT_LE(thread.framesRun(), before + 1);
    EXPECT_FALSE(thread.isExecuting());
}

TEST_F(MainThreadFixture, QuitIsPostedInTheFirstFrameAfterEveryCharacterTerminated) {
    auto& a = static_cast<GameComponent::CharacterObject&>(
        desktop.adopt(std::make_unique<GameComponent::CharacterObject>(u"a")));
    SteppedMainThread thread(env, state, desktop);
    thread.env = &env;
    std::vector<int> statesSeen;
    thread.onWait = [&](int count) {
        statesSeen.push_back(static_cast<int>(a.lifeState()));
        if (count == 2) state.beginQuitting();
        if (count > 10) thread.requestStop();  // a safety net; the quit must come first
    };
    thread.runHere();
    // Frame 3's input phase takes the character from 1 to 3; the quit follows frame 3.
    EXPECT_EQ(statesSeen, (std::vector<int>{0, 0, 3}));
    EXPECT_EQ(env.quits.load(), 1);
    EXPECT_EQ(env.quitCode.load(), 0);
    EXPECT_FALSE(state.messageLoopRunning());
    EXPECT_EQ(thread.framesRun(), 3u);
}

TEST_F(MainThreadFixture, FrameLimitBeginsQuitting) {
    desktop.adopt(std::make_unique<GameComponent::CharacterObject>(u"a"));
    SteppedMainThread thread(env, state, desktop);
    thread.env = &env;
    thread.setFrameLimit(4);
    thread.onWait = [&](int count) {
        if (count > 20) thread.requestStop();
    };
    thread.runHere();
    EXPECT_TRUE(state.isQuitting());
    EXPECT_EQ(env.quits.load(), 1);
    EXPECT_EQ(thread.framesRun(), 5u);  // quitting begins after frame 4; frame 5 ends it
}

namespace {

// An object that runs scripts with its own Parser, as a character does.
class ScriptedObject : public GameComponent::GameObject {
public:
    void adoptScriptThread() override {
        parser.adoptCurrentThread();
        GameObject::adoptScriptThread();
    }
    void inputPhase() override { ownedWhileRunning = parser.isOwnedByCurrentThread(); }
    double evaluate(const std::u16string& text) {
        const Interpreter::TokenLine line = Interpreter::tokenizeLine(text);
        parser.setLine(line);
        return Interpreter::evaluate(parser, false)->toNum();
    }
    Interpreter::Parser parser;
    std::atomic<bool> ownedWhileRunning{false};
};

}  // namespace

TEST_F(MainThreadFixture, TheFrameThreadAdoptsTheScriptsOfTheSceneWhenItStarts) {
    auto& holder = desktop.adopt(std::make_unique<GameComponent::GameObject>());
    auto& scripted = static_cast<ScriptedObject&>(holder.adopt(std::make_unique<ScriptedObject>()));
    ASSERT_TRUE(scripted.parser.isOwnedByCurrentThread());
    Common::MainThread thread(env, state, desktop);
    ASSERT_TRUE(thread.start());
    while (thread.framesRun() < 1) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    thread.stopAndJoin();
    EXPECT_TRUE(scripted.ownedWhileRunning.load());
    EXPECT_FALSE(scripted.parser.isOwnedByCurrentThread());
}

TEST_F(MainThreadFixture, ScriptsSeeWhatTheFramePublishesWhileTheFrameThreadExists) {
    auto& scripted = static_cast<ScriptedObject&>(desktop.adopt(std::make_unique<ScriptedObject>()));
    {
        Common::MainThread thread(env, state, desktop);
        GameComponent::DisplayChange::signal();
        env.texts = {u"おはよう"};
        thread.runFrame();
        EXPECT_EQ(scripted.evaluate(u"Width + MouseY"), 3200 + 150);
        EXPECT_EQ(Interpreter::ScriptHost::current().userInput(), u"おはよう");
        // The date built-ins read the snapshot, not the clock.
        Common::ClockSnapshot::instance().update(Common::LocalClock{2001, 2, 6, 3, 4, 5, 6, 7});
        EXPECT_EQ(scripted.evaluate(u"Year() * 1000 + DayOfYear()"), 2001 * 1000 + 34);
    }
    Common::ClockSnapshot::instance().refresh();
    // Without a program the variables read 0 and there is no user input.
    EXPECT_EQ(scripted.evaluate(u"Width + MouseY"), 0);
    EXPECT_EQ(Interpreter::ScriptHost::current().userInput(), u"");
}

TEST(PlatformFrameEnvironment, DesktopIsTheVirtualScreenUnlessDisplayFormatsDiffer) {
    if (Arbor::Platform::currentBackendName() != "Headless") GTEST_SKIP();
    auto& desktop = Arbor::Platform::Headless::HeadlessDesktop::instance();
    desktop.reset();
    Common::PlatformFrameEnvironment environment(Arbor::Platform::messageQueueService().currentThreadId());
    desktop.setScreen({Arbor::Platform::Rect{-1280, -200, 1920, 1080}, 1920, 1080, true});
    Common::DesktopGeometry g = environment.desktopGeometry();
    EXPECT_EQ(g.originX, -1280);
    EXPECT_EQ(g.originY, -200);
    EXPECT_EQ(g.width, 3200);
    EXPECT_EQ(g.height, 1280);
    // Displays of mixed formats: the primary screen's size, the virtual screen's corner.
    desktop.setScreen({Arbor::Platform::Rect{-1280, -200, 1920, 1080}, 1920, 1080, false});
    g = environment.desktopGeometry();
    EXPECT_EQ(g.originX, -1280);
    EXPECT_EQ(g.originY, -200);
    EXPECT_EQ(g.width, 1920);
    EXPECT_EQ(g.height, 1080);
    desktop.reset();
}
