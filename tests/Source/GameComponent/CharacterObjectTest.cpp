// Characters built from tests/data/characters/scene, driven frame by frame on the
// headless desktop.
#include <gtest/gtest.h>

#include "Source/GameComponent/CharacterRegistry.h"
#include "Source/GameComponent/MainObject.h"
#include "Source/GameComponent/OrderObject.h"
#include "Source/GameComponent/ViewObject.h"
#include "Source/Interpreter/ScriptCommand.h"
#include "framework/Platform/Messages.h"
#include "framework/Platform/Window.h"
#include "tests/Source/GameComponent/SceneFixture.h"

using namespace SceneTesting;
using Quenta::GameComponent::InputEvent;
using Quenta::GameComponent::LifeState;
using Quenta::GameComponent::OrderRequest;
using Quenta::GameComponent::ViewObject;

namespace {

using Characters = SceneFixture;

// A view inside a character that answers clicks with its own pixels (all opaque).
class ClickProbe : public ViewObject {
public:
    bool isTransparentAt(double, double) const override { return false; }
    void onLeftButtonDown(ViewObject&, const InputEvent&) override { ++clicks; }
    int clicks = 0;
};

InputEvent leftDown(double x, double y) {
    InputEvent e;
    e.kind = InputEvent::ButtonDown;
    e.message = Arbor::Platform::WM_LBUTTONDOWN;
    e.x = x;
    e.y = y;
    return e;
}

OrderRequest request(std::u16string order, int priority, std::u16string code) {
    OrderRequest r;
    r.orderName = std::move(order);
    r.priority = priority;
    r.code.push_back(Quenta::Interpreter::tokenizeLine(code));
    return r;
}

}  // namespace

TEST_F(Characters, StartInTheirStartOrderAtTheirStartPositionInTheirOwnWindow) {
    CharacterObject& c = load(u"c1");
    EXPECT_TRUE(c.isShown());
    EXPECT_EQ(c.objectId(), u"c1");
    frame();
    EXPECT_EQ(c.currentOrderName(), u"Idle");
    EXPECT_EQ(c.x(), 100);
    EXPECT_EQ(c.y(), 50);
    EXPECT_EQ(c.width(), 20);
    EXPECT_EQ(c.height(), 10);
    const auto window = Arbor::Platform::windowService().bounds(c.activeWidget()->window().handle());
    ASSERT_TRUE(window.has_value());
    EXPECT_EQ(*window, (Arbor::Platform::Rect{100, 50, 120, 60}));
    // The presented picture: body.png with its transparent corner.
    const auto shown = Arbor::Platform::Headless::HeadlessDesktop::instance().window(c.activeWidget()->window().handle());
    ASSERT_TRUE(shown.has_value());
    ASSERT_EQ(shown->pixelWidth, 20);
    ASSERT_EQ(shown->pixelHeight, 10);
    EXPECT_EQ(shown->pixels[0], 0u);
    EXPECT_EQ(shown->pixels[5 * 20 + 5], 0xFFFF0000u);
    EXPECT_TRUE(shown->visible);
    EXPECT_TRUE(fatal.empty());
}

TEST_F(Characters, AClickOnATransparentPixelReachesNoChild) {
    CharacterObject& c = load(u"c1");
    frame();
    auto& probe = c.adopt(std::make_unique<ClickProbe>());
    probe.setShown();
    probe.setBounds(0, 0, 20, 10);
    // The corner pixel of body.png is transparent: the character itself takes it.
    c.queueInput(leftDown(0, 0));
    frame();
    EXPECT_EQ(probe.clicks, 0);
    c.queueInput(leftDown(5, 5));
    frame();
    EXPECT_EQ(probe.clicks, 1);
    // Children draw into the character's window instead of their own.
    EXPECT_EQ(probe.activeWidget(), nullptr);
}

TEST_F(Characters, OnlyTheHighestPriorityRequestOfAFrameTakesEffect) {
    CharacterObject& c = load(u"c1");
    frame();
    c.requestOrder(request(u"Other", 3, u"$n = 3"));
    c.requestOrder(request(u"Dropped", 5, u"$n = 5"));
    frame();
    EXPECT_EQ(c.currentOrderName(), u"Dropped");
    EXPECT_EQ(number(c, u"$n"), 5);
    // The loser is discarded, not deferred.
    EXPECT_EQ(c.pendingOrderRequests(), 0u);
    frame();
    EXPECT_EQ(c.currentOrderName(), u"Dropped");
    // Among equal priorities the first queued wins.
    c.requestOrder(request(u"Other", 4, u"$n = 1"));
    c.requestOrder(request(u"Idle", 4, u"$n = 2"));
    frame();
    EXPECT_EQ(c.currentOrderName(), u"Other");
    EXPECT_EQ(number(c, u"$n"), 1);
    EXPECT_EQ(text(c, u"$trail"), u"dropped,other,");
}

TEST_F(Characters, RequestsQueuedWhileTheWinnerIsCarriedOutAreForTheNextFrame) {
    CharacterObject& c = load(u"c1");
    frame();
    // The winner's own code queues another request (as an event firing when the new
    // order starts does): it is neither lost nor a deadlock.
    c.requestOrder(request(u"Dropped", 5, u"PostEvent(\"Other\", NONE, \"\")"));
    frame();
    EXPECT_EQ(c.currentOrderName(), u"Dropped");
    EXPECT_EQ(c.pendingOrderRequests(), 1u);
    frame();
    EXPECT_EQ(c.currentOrderName(), u"Other");
}

TEST_F(Characters, RequestsWaitWhileHiddenAndAreDecidedTogetherLater) {
    CharacterObject& c = load(u"c1");
    frame();
    run(c, {u"Hide()", u"number $shown = IsShowing()"});
    EXPECT_EQ(number(c, u"$shown"), 0);
    c.requestOrder(request(u"Other", 7, u"$n = 7"));
    frame(2);
    EXPECT_EQ(c.currentOrderName(), u"Idle");
    c.requestOrder(request(u"Dropped", 6, u"$n = 6"));
    run(c, {u"Show()"});
    frame();
    EXPECT_EQ(c.currentOrderName(), u"Other");
    EXPECT_EQ(number(c, u"$n"), 7);
}

TEST_F(Characters, ScriptErrorsInConfigurationOrOrderSelectionAreFatal) {
    CharacterObject& c = load(u"c1");
    frame();
    run(c, {u"PostEvent(\"Nowhere\", NONE, \"\")"});
    EXPECT_TRUE(fatal.empty());
    frame();
    EXPECT_EQ(fatal, std::vector<std::u16string>{u"Nowhereは存在しません。"});
    fatal.clear();
    write("badconfig", R"(<FUNC_INITIAL_REG>
<SET_CONFIG>
FuncName = Init
PosX = 1 / $noSuchVariable
</SET_CONFIG>
</FUNC_INITIAL_REG>
)");
    load(u"badconfig");
    ASSERT_EQ(fatal.size(), 1u);
    EXPECT_NE(fatal[0].find(u"$noSuchVariable"), std::u16string::npos) << std::string(fatal[0].begin(), fatal[0].end());
}

TEST_F(Characters, CmdBuiltInsWaitForTheNextInputPhase) {
    CharacterObject& c = load(u"c1");
    frame();
    run(c, {u"SetXCmd(10)"});
    EXPECT_EQ(c.baseX(), 100);
    EXPECT_EQ(c.pendingCommands(), 1u);
    c.inputPhase();
    EXPECT_EQ(c.baseX(), 10);
    run(c, {u"SetX(20)", u"MoveCmd(30, 40)"});
    EXPECT_EQ(c.baseX(), 20);
    frame();
    EXPECT_EQ(c.baseX(), 30);
    EXPECT_EQ(c.baseY(), 40);
    EXPECT_EQ(c.x(), 30);
}

TEST_F(Characters, PostCommandReachesEveryAddressedCharacterOnce) {
    CharacterObject& main = load(u"MAIN_OBJECT");
    CharacterObject& c1 = load(u"c1");
    CharacterObject& c2 = load(u"c2");
    CharacterObject& c3 = load(u"c3");
    frame();
    run(c2, {u"PostCommand(\"ALL\", \"SetVariable\", \"$n\", 7)"});
    for (CharacterObject* c : {&main, &c1, &c2, &c3}) EXPECT_EQ(c->pendingCommands(), 1u);
    frame();
    for (CharacterObject* c : {&main, &c1, &c2, &c3}) EXPECT_EQ(number(*c, u"$n"), 7);
    // Group g1 (c1 and c3) and c2; c1 named twice still gets it once.
    run(c2, {u"PostCommand(\"g1, c2,c1 \", \"SetVariable\", \"$n\", $n + 2)"});
    EXPECT_EQ(main.pendingCommands(), 0u);
    for (CharacterObject* c : {&c1, &c2, &c3}) EXPECT_EQ(c->pendingCommands(), 1u);
    frame();
    EXPECT_EQ(number(main, u"$n"), 7);
    for (CharacterObject* c : {&c1, &c2, &c3}) EXPECT_EQ(number(*c, u"$n"), 9);
}

TEST_F(Characters, ObjectVariablesReachAnotherCharacter) {
    CharacterObject& c1 = load(u"c1");
    CharacterObject& c2 = load(u"c2");
    run(c1, {u"CreateObjectVariable(\"c2\", \"$fromC1\", \"hello\")", u"SetObjectVariable(\"c2\", \"$n\", 4)",
             u"string $got = GetObjectVariable(\"c2\", \"$fromC1\")",
             u"number $none = GetObjectVariable(\"nobody\", \"$n\")"});
    EXPECT_EQ(text(c2, u"$fromC1"), u"hello");
    EXPECT_EQ(number(c2, u"$n"), 4);
    EXPECT_EQ(text(c1, u"$got"), u"hello");
    EXPECT_EQ(number(c1, u"$none"), 0);
}

TEST_F(Characters, DockingKeepsTheScreenPosition) {
    CharacterObject& c1 = load(u"c1");
    CharacterObject& c2 = load(u"c2");
    frame();
    run(c1, {u"number $docked = Dock(\"c2\")"});
    EXPECT_EQ(number(c1, u"$docked"), 1);
    EXPECT_EQ(c1.baseX(), 100 - 300);
    frame(3);
    EXPECT_EQ(c1.parent(), &c2);
    EXPECT_EQ(c1.absoluteX(), 100);
    EXPECT_EQ(c1.absoluteY(), 50);
    run(c1, {u"string $parent = GetParentID()"});
    EXPECT_EQ(text(c1, u"$parent"), u"c2");
    // Drawn into the window of the character it docked to.
    EXPECT_EQ(c1.activeWidget(), nullptr);
    // Back to the desktop, at the same place; an unknown id docks to the desktop too.
    run(c1, {u"$docked = Dock(\"nobody\")"});
    EXPECT_EQ(number(c1, u"$docked"), 0);
    frame(3);
    EXPECT_EQ(c1.parent(), &desktop);
    EXPECT_EQ(c1.absoluteX(), 100);
    EXPECT_NE(c1.activeWidget(), nullptr);
}

TEST_F(Characters, BackIntoDesktopMovesEachEdgeInsideAndLeavesDockedCharactersAlone) {
    CharacterObject& c = load(u"c1");
    frame();
    const auto backFrom = [&](double x, double y) {
        c.setBasePosition(x, y);
        frame();
        run(c, {u"BackIntoDesktop()"});
        frame();
        return std::pair<double, double>(c.x(), c.y());
    };
    EXPECT_EQ(backFrom(-5, 30), (std::pair<double, double>(0, 30)));
    EXPECT_EQ(backFrom(40, -3), (std::pair<double, double>(40, 0)));
    EXPECT_EQ(backFrom(1910, 30), (std::pair<double, double>(1900, 30)));
    EXPECT_EQ(backFrom(40, 1075), (std::pair<double, double>(40, 1070)));
    EXPECT_EQ(backFrom(0, 0), (std::pair<double, double>(0, 0)));
    CharacterObject& other = load(u"c2");
    frame();
    run(c, {u"Dock(\"c2\")"});
    frame(3);
    ASSERT_EQ(c.parent(), &other);
    c.setBasePosition(-500, -500);
    run(c, {u"BackIntoDesktop()"});
    EXPECT_EQ(c.baseX(), -500);
    EXPECT_EQ(c.baseY(), -500);
}

TEST_F(Characters, QuittingPlaysTheExitOrderThenRunsTheFinalBlock) {
    CharacterObject& c = load(u"c1");
    frame();
    c.terminate();
    EXPECT_EQ(c.lifeState(), LifeState::TerminationRequested);
    int frames = 0;
    while (c.lifeState() != LifeState::Terminated && frames < 10) {
        frame();
        ++frames;
    }
    EXPECT_EQ(c.lifeState(), LifeState::Terminated);
    EXPECT_EQ(text(c, u"$trail"), u"leaving,final");
    EXPECT_FALSE(c.isShown());
    EXPECT_TRUE(c.areSoundsMuted());
    // A hidden character has no exit order to play: it ends at once.
    CharacterObject& hidden = load(u"c2");
    frame();
    hidden.hideCharacter();
    hidden.terminate();
    hidden.inputPhase();
    EXPECT_EQ(hidden.lifeState(), LifeState::Terminated);
    EXPECT_EQ(text(hidden, u"$trail"), u"final");
    EXPECT_TRUE(fatal.empty());
}

TEST_F(Characters, ADragEndsWhenTheButtonIsReleasedOutsideTheWindow) {
    CharacterObject& c = load(u"c1");
    frame();
    auto& headless = Arbor::Platform::Headless::HeadlessDesktop::instance();
    headless.setKeyDown(Arbor::Platform::VK_LBUTTON, true);
    run(c, {u"PostEvent(\"\", DRAG, \"\")"});
    frame();
    EXPECT_TRUE(c.isDragging());
    // While dragging the character follows the cursor.
    host.mouseX = 700;
    host.mouseY = 300;
    frame();
    EXPECT_EQ(c.x(), 100 + 700);
    EXPECT_EQ(c.y(), 50 + 300);
    EXPECT_EQ(c.currentOrderName(), u"Idle");
    // Released somewhere else: the order's L_BUTTON_UP event drops the character.
    headless.setKeyDown(Arbor::Platform::VK_LBUTTON, false);
    frame(2);
    EXPECT_FALSE(c.isDragging());
    EXPECT_EQ(c.currentOrderName(), u"Dropped");
    EXPECT_EQ(text(c, u"$trail"), u"dropped,");
    // Dropping took the place it was dragged to as the base position.
    EXPECT_EQ(c.baseX(), 800);
    EXPECT_EQ(c.baseY(), 350);
}

TEST_F(Characters, ScaleChoosesTheSampling) {
    CharacterObject& c = load(u"c1");
    frame();
    EXPECT_EQ(c.lastSampling(), 0);  // unscaled
    run(c, {u"SetScale(0.5)"});
    frame();
    EXPECT_EQ(c.width(), 10);
    EXPECT_EQ(c.lastSampling(), 3);
    run(c, {u"SetScale(0.6)"});
    frame();
    EXPECT_EQ(c.lastSampling(), 2);
    run(c, {u"SetScale(-1)", u"number $s = GetScale()"});
    EXPECT_EQ(number(c, u"$s"), 0);
}

TEST_F(Characters, TheMainObjectStaysBehindAndRaisesItsBalloonsInstead) {
    auto& main = desktop.adopt(std::make_unique<Quenta::GameComponent::MainObject>(u"main window"));
    main.load();
    main.start();
    CharacterObject& c = load(u"c1");
    run(main, {u"SetZOrder(5)"});
    EXPECT_EQ(main.zOrder(), Quenta::GameComponent::MainObject::kZOrder);
    c.setZOrder(-1e9);
    frame();
    EXPECT_EQ(desktop.children().front(), &main);
    EXPECT_EQ(Quenta::GameComponent::CharacterRegistry::instance().mainObject(), &main);
    EXPECT_EQ(Arbor::Platform::windowService().title(main.window()), u"main window");
}

TEST_F(Characters, SceneBuiltInsActOnTheirCharacter) {
    CharacterObject& c = load(u"c1");
    frame();
    run(c, {u"string $order = GetFuncName()", u"number $top = IsTopmost()", u"SetTopmost()",
            u"number $topAfter = IsTopmost()", u"SetAlphaCmd(0.25)", u"number $alpha = GetAlpha()",
            u"SetMute(true)", u"number $muted = IsMuted()", u"Unmute()", u"number $unmuted = IsMuted()",
            u"number $image = LoadImage(\"body.png\")", u"number $noImage = LoadImage(\"nothing.png\")",
            u"number $baseX = GetBasePosX()",
            u"PostEvent(\"Other\", NONE, \"\", $n = 11, $trail = $trail + \"code,\")"});
    EXPECT_EQ(text(c, u"$order"), u"Idle");
    EXPECT_EQ(number(c, u"$top"), 0);
    EXPECT_EQ(number(c, u"$topAfter"), 1);
    EXPECT_EQ(c.zOrder(), 100000000.0);
    EXPECT_EQ(number(c, u"$alpha"), 1);
    EXPECT_EQ(number(c, u"$muted"), 1);
    EXPECT_EQ(number(c, u"$unmuted"), 0);
    EXPECT_EQ(number(c, u"$image"), 1);
    EXPECT_EQ(number(c, u"$noImage"), 0);
    EXPECT_EQ(number(c, u"$baseX"), 0);
    // The event's code runs when it wins, before its order starts.
    EXPECT_EQ(number(c, u"$n"), 0);
    frame();
    EXPECT_EQ(c.alpha(), 0.25);
    EXPECT_EQ(number(c, u"$n"), 11);
    EXPECT_EQ(text(c, u"$trail"), u"code,other,");
    EXPECT_EQ(c.currentOrderName(), u"Other");
    // "obj" and "box" follow the character.
    run(c, {u"number $objX = obj.X", u"number $boxWidth = box.Width", u"SetScale(2)", u"CreateBox()",
            u"number $halfWidth = box.Width"});
    EXPECT_EQ(number(c, u"$objX"), 100);
    EXPECT_EQ(number(c, u"$boxWidth"), 1920);
    EXPECT_EQ(number(c, u"$halfWidth"), 960);
    EXPECT_TRUE(fatal.empty());
}
