#include <gtest/gtest.h>

#include <stdexcept>

#include "Source/Application/Application.h"
#include "Source/Application/ApplicationState.h"
#include "Source/Application/FatalError.h"
#include "Source/Common/FrameScriptHost.h"
#include "Source/Interpreter/ScriptTestSupport.h"
#include "Source/GameComponent/CharacterObject.h"
#include "framework/Platform/Backend.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/MessageBox.h"
#include "framework/Platform/Messages.h"

using namespace Quenta;
using Application::ApplicationState;
using Application::SystemAction;
using GameComponent::LifeState;
using Arbor::Platform::Headless::HeadlessDesktop;
using Arbor::Platform::Headless::SessionRecord;

namespace {

struct HeadlessFixture : ::testing::Test {
    void SetUp() override {
        if (Arbor::Platform::currentBackendName() != "Headless") {
            GTEST_SKIP() << "records outside effects only on the headless backend";
        }
        HeadlessDesktop::instance().reset();
    }
};

struct FatalExit : std::runtime_error {
    FatalExit() : std::runtime_error("fatal") {}
};

}  // namespace

TEST(ApplicationState, BeginQuittingTerminatesEveryCharacterOnce) {
    GameComponent::CharacterObject a(u"a"), b(u"b");
    ApplicationState state;
    EXPECT_FALSE(state.isQuitting());
    state.beginQuitting();
    EXPECT_TRUE(state.isQuitting());
    EXPECT_EQ(a.lifeState(), LifeState::TerminationRequested);
    EXPECT_EQ(b.lifeState(), LifeState::TerminationRequested);
    a.inputPhase();
    EXPECT_EQ(a.lifeState(), LifeState::Terminated);
    // A second request does nothing: it must not restart a finished character, nor
    // reach one made after quitting began.
    GameComponent::CharacterObject late(u"late");
    state.beginQuitting();
    EXPECT_EQ(a.lifeState(), LifeState::Terminated);
    EXPECT_EQ(late.lifeState(), LifeState::Running);
}

TEST(ApplicationState, SystemRebootAfterQuittingBeganStillRecordsTheReboot) {
    ApplicationState state;
    state.beginQuitting();
    state.requestSystemReboot();
    EXPECT_EQ(state.systemAction(), SystemAction::Reboot);
    EXPECT_TRUE(state.isQuitting());
    state.requestSystemShutdown();
    EXPECT_EQ(state.systemAction(), SystemAction::Shutdown);
}

TEST_F(HeadlessFixture, SystemRebootAfterQuittingBeganRebootsAfterTheEnd) {
    ApplicationState state;
    state.beginQuitting();
    state.requestSystemReboot();
    EXPECT_TRUE(Application::Application::performSystemAction(state.systemAction()));
    const auto requests = HeadlessDesktop::instance().sessionRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].kind, SessionRecord::Kind::EnableShutdownPrivilege);
    EXPECT_EQ(requests[1].kind, SessionRecord::Kind::ExitSystem);
    EXPECT_EQ(requests[1].flags, Arbor::Platform::EWX_REBOOT);
    EXPECT_EQ(requests[1].reason, 0u);
}

TEST_F(HeadlessFixture, NoSystemActionWithoutThePrivilege) {
    HeadlessDesktop::instance().setShutdownPrivilegeGranted(false);
    EXPECT_FALSE(Application::Application::performSystemAction(SystemAction::Shutdown));
    for (const auto& r : HeadlessDesktop::instance().sessionRequests()) {
        EXPECT_NE(r.kind, SessionRecord::Kind::ExitSystem);
    }
}

TEST_F(HeadlessFixture, NoSystemActionRequestedDoesNothing) {
    EXPECT_FALSE(Application::Application::performSystemAction(SystemAction::None));
    EXPECT_TRUE(HeadlessDesktop::instance().sessionRequests().empty());
}

TEST_F(HeadlessFixture, FatalErrorShowsTheBoxEndsWithZeroAndNeverShutsDown) {
    ApplicationState state;
    state.requestSystemShutdown();
    int exitCode = -1;
    auto previous = Application::FatalError::setTerminator([&](int code) {
        exitCode = code;
        throw FatalExit();
    });
    EXPECT_THROW(Application::FatalError::raise(u"Initial 関数が存在しません。"), FatalExit);
    Application::FatalError::setTerminator(previous);

    EXPECT_EQ(exitCode, 0);
    const auto boxes = HeadlessDesktop::instance().messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"Initial 関数が存在しません。");
    EXPECT_EQ(boxes[0].caption, u"Error");
    EXPECT_EQ(boxes[0].owner, Arbor::Platform::WindowHandle::None);
    EXPECT_EQ(boxes[0].type & 0xF0u, Arbor::Platform::MB_ICONERROR);
    // The requested shutdown stays requested but nothing carried it out.
    EXPECT_EQ(state.systemAction(), SystemAction::Shutdown);
    EXPECT_TRUE(HeadlessDesktop::instance().sessionRequests().empty());
}

// A script's SystemShutdown reaches the application through the frame's script host:
// it only records the action and begins quitting; the session is asked after the end.
TEST_F(HeadlessFixture, ScriptShutdownWaitsForTheOrderlyExit) {
    GameComponent::CharacterObject character(u"a");
    ApplicationState state;
    Common::FrameScriptHost host(&state);
    Interpreter::ScriptHost::install(host);
    Interpreter::Parser parser;
    ScriptTest::Evaluation eval(parser);
    EXPECT_FALSE(eval(u"SystemShutdown()")->toBool());
    Interpreter::ScriptHost::uninstall(host);
    EXPECT_TRUE(state.isQuitting());
    EXPECT_EQ(character.lifeState(), LifeState::TerminationRequested);
    EXPECT_EQ(state.systemAction(), SystemAction::Shutdown);
    EXPECT_TRUE(HeadlessDesktop::instance().sessionRequests().empty());
    EXPECT_TRUE(Application::Application::performSystemAction(state.systemAction()));
    const auto requests = HeadlessDesktop::instance().sessionRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].flags, Arbor::Platform::EWX_SHUTDOWN);
}
