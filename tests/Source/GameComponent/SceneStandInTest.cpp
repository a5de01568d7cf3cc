#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Source/GameComponent/DisplayChange.h"
#include "Source/GameComponent/RestackQueue.h"
#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/CharacterRegistry.h"
#include "Source/GameComponent/DesktopObject.h"
#include "Source/GameComponent/MainObject.h"
#include "framework/Platform/MessageQueue.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/Window.h"

using namespace Quenta;
using GameComponent::CharacterObject;
using GameComponent::CharacterRegistry;
using GameComponent::GameObject;
using GameComponent::LifeState;

TEST(CharacterRegistry, HoldsCharactersInConstructionOrderWhileTheyExist) {
    const size_t before = CharacterRegistry::instance().size();
    auto a = std::make_unique<CharacterObject>(u"a");
    CharacterObject b(u"b");
    std::vector<std::u16string> names;
    CharacterRegistry::instance().forEach([&](CharacterObject& c) { names.push_back(c.name()); });
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(names[names.size() - 2], u"a");
    EXPECT_EQ(names.back(), u"b");
    const CharacterObject* gone = a.get();
    a.reset();
    EXPECT_FALSE(CharacterRegistry::instance().contains(gone));
    EXPECT_FALSE(CharacterRegistry::instance().postCommandIfRegistered(gone, {u"X"}));
    EXPECT_EQ(CharacterRegistry::instance().size(), before + 1);
}

TEST(CharacterObject, WindsDownThroughTheLifeStates) {
    CharacterObject c(u"c");
    EXPECT_EQ(c.lifeState(), LifeState::Running);
    c.terminate();
    EXPECT_EQ(c.lifeState(), LifeState::TerminationRequested);
    EXPECT_FALSE(CharacterRegistry::instance().allTerminated());
    c.inputPhase();
    EXPECT_EQ(c.lifeState(), LifeState::Terminated);
}

TEST(CharacterObject, CommandsRunInOrderAtTheNextInputPhase) {
    CharacterObject c(u"c");
    std::vector<std::u16string> ran;
    c.setCommandExecutor([&](CharacterObject& self, const GameComponent::CharacterCommand& command) {
        ran.push_back(command.at(0));
        // A command posting another: it runs in the next frame, not this one.
        if (command.at(0) == u"first") self.postCommand({u"later"});
    });
    c.postCommand({u"first"});
    c.postCommand({u"second"});
    c.inputPhase();
    EXPECT_EQ(ran, (std::vector<std::u16string>{u"first", u"second"}));
    c.inputPhase();
    EXPECT_EQ(ran.back(), u"later");
}

namespace {
// Notes each phase it takes part in, as "<name><phase letter>".
class PhaseLog : public GameObject {
public:
    PhaseLog(std::string name, std::string& log) : name_(std::move(name)), log_(log) {}
    void inputPhase() override { note('i', [this] { GameObject::inputPhase(); }); }
    void updatePhase() override { note('u', [this] { GameObject::updatePhase(); }); }
    void motionPhase() override { note('m', [this] { GameObject::motionPhase(); }); }
    void animationPhase() override { note('a', [this] { GameObject::animationPhase(); }); }
    void renderPhase() override { note('r', [this] { GameObject::renderPhase(); }); }

private:
    template <typename Walk>
    void note(char phase, Walk walk) {
        log_ += name_ + phase + ' ';
        walk();
    }
    std::string name_;
    std::string& log_;
};
}  // namespace

TEST(GameObject, PhasesWalkChildrenAndRestackMovesObjects) {
    GameComponent::DesktopObject desktop;
    std::string log;
    auto& parent = desktop.addChild(std::make_unique<PhaseLog>("p", log));
    auto& child = desktop.addChild(std::make_unique<PhaseLog>("c", log));
    parent.addChild(std::make_unique<PhaseLog>("g", log));
    desktop.inputPhase();
    desktop.updatePhase();
    desktop.motionPhase();
    desktop.animationPhase();
    desktop.renderPhase();
    // Depth first, children in order, every phase.
    EXPECT_EQ(log, "pi gi ci pu gu cu pm gm cm pa ga ca pr gr cr ");

    GameComponent::RestackQueue::instance().push(parent, child);
    GameComponent::RestackQueue::instance().apply();
    EXPECT_EQ(child.parent(), &parent);
    EXPECT_EQ(desktop.children().size(), 1u);
    // Applied requests are gone: a later apply does not move the object back.
    EXPECT_EQ(GameComponent::RestackQueue::instance().size(), 0u);
    child.attachTo(desktop);
    GameComponent::RestackQueue::instance().apply();
    EXPECT_EQ(child.parent(), &desktop);
    child.attachTo(parent);
    // Never under its own subtree.
    parent.attachTo(child);
    EXPECT_EQ(parent.parent(), &desktop);
    // A deleted object's pending request is dropped.
    GameComponent::RestackQueue::instance().push(desktop, child);
    desktop.deleteChildren();
    EXPECT_EQ(GameComponent::RestackQueue::instance().size(), 0u);
}

TEST(MainObject, CloseRequestAsksToQuitAndDisplayChangesAreNoted) {
    int closes = 0;
    GameComponent::MainObject main(u"タヴィゾー_Main_Window", [&] { ++closes; });
    ASSERT_NE(main.window(), Arbor::Platform::WindowHandle::None);
    auto& windows = Arbor::Platform::windowService();
    EXPECT_EQ(windows.title(main.window()), u"タヴィゾー_Main_Window");
    EXPECT_TRUE(windows.exStyle(main.window()) & Arbor::Platform::WS_EX_TOOLWINDOW);
    auto& queue = Arbor::Platform::messageQueueService();
    queue.sendMessage(main.window(), Arbor::Platform::WM_CLOSE, 0, 0);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(windows.exists(main.window()));
    GameComponent::DisplayChange::take();
    queue.sendMessage(main.window(), Arbor::Platform::WM_DISPLAYCHANGE, 32, 0);
    EXPECT_TRUE(GameComponent::DisplayChange::take());
    EXPECT_FALSE(GameComponent::DisplayChange::take());
}
