// A character's own menus: a right click on it opens the menu its hit event names, and
// choosing an item runs the item's action in the character's context, on the headless
// desktop where the test thread is the user-interface thread.
#include <gtest/gtest.h>

#include "Source/GameComponent/ScriptObject/MenuManager.h"
#include "framework/Platform/Headless/HeadlessPopupMenu.h"
#include "framework/Platform/MessageQueue.h"
#include "tests/Source/GameComponent/SceneFixture.h"

using namespace SceneTesting;
namespace Headless = Arbor::Platform::Headless;

namespace {

class CharacterMenus : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        Headless::resetPopupMenus();
        write("mn", R"(
<FUNC_INITIAL_REG>
<SET_CONFIG>
FuncName = Init
ObjectID = "mn"
ObjectName = "Menu tester"
PosX = 100
PosY = 50
FuncListStart = Idle
</SET_CONFIG>
<SET_CODE_INIT>
string $chosen = ""
AddMenuItem("Char", 0, "Say hi", SetVariable("$chosen", "hi"))
AddMenuSubMenu("Char", "More", 0, "More")
AddMenuCheckItem("More", false, 0, 0, "Deep", SetVariable("$chosen", "deep on"), SetVariable("$chosen", "deep off"))
</SET_CODE_INIT>
</FUNC_INITIAL_REG>

<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName = Idle
FuncNameMotion = Still
PosX = obj.X
PosY = obj.Y
ListHitEvent = Menu
</SET_CONFIG>
</FUNC_ORDER_REG>

<FUNC_MOTION_REG>
<SET_CONFIG>
FuncName = Still
ImageName = "body.png"
</SET_CONFIG>
<SET_PARAM>
0, 0, 0, 0, 1, "", ""
</SET_PARAM>
</FUNC_MOTION_REG>

<FUNC_HIT_AREA_REG>
<SET_CONFIG>
FuncName = Whole
Width = 20
Height = 10
</SET_CONFIG>
</FUNC_HIT_AREA_REG>

<FUNC_HIT_EVENT_REG>
<SET_CONFIG>
FuncName = Menu
HitType = R_BUTTON_DOWN
MyHitArea = Whole
PopupMenuName = "Char"
</SET_CONFIG>
</FUNC_HIT_EVENT_REG>
)");
    }
    void TearDown() override {
        Headless::resetPopupMenus();
        SceneFixture::TearDown();
    }
    static void pump() {
        auto& queue = Arbor::Platform::messageQueueService();
        Arbor::Platform::Message message;
        while (queue.peekMessage(message)) queue.dispatchMessage(message);
    }
    // A frame, then what it posted to the user-interface thread (this one).
    void step() {
        frame();
        pump();
    }
    bool visible(CharacterObject& c) {
        run(c, {u"bool $visible = IsPopupMenuVisible()"});
        return text(c, u"$visible") == u"true";
    }
};

}  // namespace

TEST_F(CharacterMenus, ARightClickOpensTheNamedMenuAndAChoiceRunsItsAction) {
    CharacterObject& c = load(u"mn");
    step();
    step();
    auto& screen = Arbor::Platform::Headless::HeadlessDesktop::instance();
    screen.pressButton({105, 55}, Headless::MouseButton::Right, true);
    screen.pressButton({105, 55}, Headless::MouseButton::Right, false);
    step();  // the hit event's request asks for the menu
    const auto open = Headless::openPopupMenus();
    ASSERT_EQ(open.size(), 1u) << "no menu opened";
    const Headless::OpenPopupMenu& shown = open.front();
    ASSERT_EQ(shown.menu.entries.size(), 2u);
    EXPECT_EQ(shown.menu.entries[0].text, u"Say hi");
    EXPECT_EQ(shown.owner, c.ownWidget()->window().handle());
    // At the click, on the screen.
    EXPECT_EQ(shown.at.x, 105);
    EXPECT_EQ(shown.at.y, 55);
    step();  // the character hears that its menu opened and remembers the menu window
    EXPECT_TRUE(visible(c));

    EXPECT_EQ(Headless::choosePopupMenuItem(u"More"), Headless::PopupChoice::OpenedSubMenu);
    EXPECT_EQ(Headless::choosePopupMenuItem(u"Deep"), Headless::PopupChoice::Chosen);
    pump();
    EXPECT_EQ(text(c, u"$chosen"), u"");  // the choice waits for the next input phase
    step();
    EXPECT_EQ(text(c, u"$chosen"), u"deep on");
    EXPECT_FALSE(visible(c));
    EXPECT_TRUE(fatal.empty());
}

TEST_F(CharacterMenus, AMenuClosedWithoutAChoiceRunsNothing) {
    CharacterObject& c = load(u"mn");
    step();
    auto& screen = Arbor::Platform::Headless::HeadlessDesktop::instance();
    screen.pressButton({105, 55}, Headless::MouseButton::Right, true);
    screen.pressButton({105, 55}, Headless::MouseButton::Right, false);
    step();
    step();
    ASSERT_TRUE(visible(c));
    EXPECT_TRUE(Headless::escapePopupMenu());
    step();
    EXPECT_FALSE(visible(c));
    EXPECT_EQ(text(c, u"$chosen"), u"");
    // The menus can be shown again.
    screen.pressButton({105, 55}, Headless::MouseButton::Right, true);
    step();
    EXPECT_EQ(Headless::choosePopupMenuItem(u"Say hi"), Headless::PopupChoice::Chosen);
    pump();
    step();
    EXPECT_EQ(text(c, u"$chosen"), u"hi");
}
