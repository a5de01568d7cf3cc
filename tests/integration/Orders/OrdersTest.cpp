// Whole characters from tests/data/characters on the headless desktop: their orders
// play motions and layers, and their hit and condition events turn clicks, the cursor,
// other characters and time into order requests.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/CharacterRegistry.h"
#include "Source/GameComponent/DesktopObject.h"
#include "Source/GameComponent/HitEventObject.h"
#include "Source/GameComponent/ImageLayerObject.h"
#include "Source/GameComponent/MotionObject.h"
#include "Source/GameComponent/OrderObject.h"
#include "Source/GameComponent/RestackQueue.h"
#include "Source/GameComponent/SceneEnvironment.h"
#include "Source/Interpreter/Value.h"
#include "Source/Interpreter/VariableTable.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Messages.h"
#include "support/BackendTest.h"
#include "support/TestPaths.h"

namespace {

using namespace Quenta::GameComponent;
using Arbor::Platform::Headless::HeadlessDesktop;

class OrdersTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!backend_.selected()) GTEST_SKIP() << "no headless backend";
        HeadlessDesktop::instance().reset();
        DesktopObject::instance().setDesktop(0, 0, 1920, 1080);
        namespace fs = std::filesystem;
        const fs::path data = program_.path() / "Data";
        fs::create_directories(data);
        for (const char* name : {"ord-motion", "ord-events", "ord-partner"})
            fs::copy(Testing::dataDir() / "characters" / name, data / name, fs::copy_options::recursive);
        saved_ = SceneEnvironment::current();
        SceneEnvironment& environment = SceneEnvironment::current();
        environment.programDirectory = program_.path();
        environment.writableBase = program_.path();
        environment.fatalError = [this](std::u16string_view message) { fatal_.emplace_back(message); };
    }

    void TearDown() override {
        DesktopObject::instance().deleteChildren();
        SceneEnvironment::current() = saved_;
    }

    CharacterObject& character(const std::u16string& name) {
        CharacterObject& c = DesktopObject::instance().adopt(std::make_unique<CharacterObject>(name));
        c.start();
        return c;
    }

    // One frame of the scene, in the frame loop's order.
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

    static std::u16string orderOf(const CharacterObject& c) { return c.currentOrderName(); }
    static double variable(CharacterObject& c, const std::u16string& name) {
        const auto* value = c.parser().variables().find(name);
        return value ? value->toNum() : -1.0;
    }
    // A button message as the character's window receives it, at a window point.
    static void button(CharacterObject& c, int kind, std::uint32_t message, double x, double y) {
        InputEvent event;
        event.kind = kind;
        event.x = x;
        event.y = y;
        event.message = message;
        c.queueInput(event);
    }

    Testing::BackendScope backend_{"Headless"};
    Testing::TempDir program_;
    SceneEnvironment saved_;
    std::vector<std::u16string> fatal_;
};

TEST_F(OrdersTest, MotionRowsPlayForTheirDurationsAndSeekWithinTheTotal) {
    CharacterObject& c = character(u"ord-motion");
    frame();  // the start order is taken and played once
    ASSERT_EQ(orderOf(c), u"Rows");
    // Rows of 3, 0 and 2 frames: row 0 three times, row 1 once, row 2 twice, again.
    std::vector<std::size_t> rows;
    MotionObject* motion = c.currentOrder()->motion();
    rows.push_back(motion->currentRowIndex());
    for (int i = 0; i < 7; ++i) {
        frame();
        rows.push_back(motion->currentRowIndex());
    }
    EXPECT_EQ(rows, (std::vector<std::size_t>{0, 0, 0, 1, 2, 2, 0, 0}));
    EXPECT_EQ(c.currentOrder()->frameNumber(), 8);

    // Rows of 1, 1 and 3 frames: frame 7 lies at frame 2 of the 5, in row 2.
    c.selectOrder(u"Seek");
    frame();
    motion = c.currentOrder()->motion();
    c.setFrameNumber(7);
    EXPECT_EQ(c.currentOrder()->frameNumber(), 7);
    frame();
    EXPECT_EQ(motion->currentRowIndex(), 2u);
    EXPECT_EQ(c.currentOrder()->frameNumber(), 8);

    // At the counter's end the order starts its animations again from frame 0.
    c.setFrameNumber(OrderObject::kFrameCounterEnd - 1);
    frame();
    EXPECT_EQ(c.currentOrder()->frameNumber(), OrderObject::kFrameCounterEnd);
    frame();
    EXPECT_EQ(c.currentOrder()->frameNumber(), 1);
    EXPECT_EQ(motion->currentRowIndex(), 0u);
}

TEST_F(OrdersTest, AMirroredOrderWalksAgainstItsRowsAndNegativeWidthMirrors) {
    CharacterObject& c = character(u"ord-motion");
    frame();
    c.selectOrder(u"Walk");
    OrderObject& order = *c.currentOrder();
    // "Width = -64": 64 wide, mirrored; "Height = 0": the image's height.
    EXPECT_EQ(order.width(), 64);
    EXPECT_EQ(order.height(), 64);
    EXPECT_EQ(order.motion()->flip() & 1, 1);
    const double x0 = order.baseX();
    frames(3);
    // The row moves 4 to the right; "Flip = H" walks the character 4 to the left.
    EXPECT_DOUBLE_EQ(order.baseX(), x0 - 12);
    EXPECT_DOUBLE_EQ(c.x(), x0 - 12);
    // Layers move by their own rows, unflipped: (8, 8) + 3 x (1, 2).
    ASSERT_EQ(order.imageLayers().size(), 2u);
    EXPECT_DOUBLE_EQ(order.imageLayers()[1]->x(), 11);
    EXPECT_DOUBLE_EQ(order.imageLayers()[1]->y(), 14);
    // The motion's mirrored body and the layer are composed into the image.
    ASSERT_NE(c.composedImage(), nullptr);
    EXPECT_NE(c.composedImage()->pixelAt({0, 0}), 0u);
    EXPECT_TRUE(c.rotateImage(u"Dot", 8, 8, 90));
    EXPECT_FALSE(c.rotateImage(u"WalkMotion", 8, 8, 90));
}

TEST_F(OrdersTest, UnknownBlocksInAnOrderAreFatalWithTheirName) {
    CharacterObject& c = character(u"ord-motion");
    frame();
    c.selectOrder(u"Broken");
    ASSERT_EQ(fatal_.size(), 1u);
    EXPECT_EQ(fatal_[0], u"NoSuchMotionは存在しません。");

    CharacterObject& e = character(u"ord-events");
    frame();
    e.selectOrder(u"BadArea");
    ASSERT_EQ(fatal_.size(), 2u);
    EXPECT_EQ(fatal_[1], u"Nowhereは存在しません。");
}

TEST_F(OrdersTest, ButtonsGoToTheFirstMatchingEventAtTheUnscaledPoint) {
    CharacterObject& c = character(u"ord-events");
    frame();
    ASSERT_EQ(orderOf(c), u"Idle");
    c.setScale(2.0);
    frame();
    // The spot is (45, 15) to (55, 25), its right and bottom edges outside it: the
    // window points (110, 40) and (100, 50), (55, 20) and (50, 25) of the character,
    // miss it.
    button(c, InputEvent::ButtonDown, Arbor::Platform::WM_LBUTTONDOWN, 110, 40);
    button(c, InputEvent::ButtonDown, Arbor::Platform::WM_LBUTTONDOWN, 100, 50);
    DesktopObject::instance().inputPhase();
    EXPECT_EQ(c.pendingOrderRequests(), 0u);
    // At scale 2 the window point (100, 40) is (50, 20) of the character, in the spot
    // of both button-down events: only the first in the list fires.
    button(c, InputEvent::ButtonDown, Arbor::Platform::WM_LBUTTONDOWN, 100, 40);
    DesktopObject::instance().inputPhase();
    EXPECT_EQ(c.pendingOrderRequests(), 1u);
    frames(2);
    EXPECT_EQ(orderOf(c), u"GotFirst");
}

TEST_F(OrdersTest, AButtonReleaseOutsideTheAreasStillFires) {
    CharacterObject& c = character(u"ord-events");
    frame();
    // The release area is the 4 x 4 corner; the release is at (60, 60).
    button(c, InputEvent::ButtonUp, Arbor::Platform::WM_LBUTTONUP, 60, 60);
    frames(2);
    EXPECT_EQ(variable(c, u"$released"), 1);
    EXPECT_EQ(orderOf(c), u"Idle");
}

TEST_F(OrdersTest, AButtonDownOutranksTheCursorInTheSameFrame) {
    CharacterObject& c = character(u"ord-events");
    frame();
    c.selectOrder(u"Hover");
    frame();
    // The cursor over the spot (HIT_CURSOR, priority 5) and a click on it (6).
    HeadlessDesktop::instance().setCursorPosition({int(c.absoluteLeft()) + 50, int(c.absoluteTop()) + 20});
    button(c, InputEvent::ButtonDown, Arbor::Platform::WM_LBUTTONDOWN, 50, 20);
    frames(2);
    EXPECT_EQ(orderOf(c), u"GotFirst");
}

TEST_F(OrdersTest, OutRectAreasHoldEverythingOutsideThem) {
    CharacterObject& c = character(u"ord-events");
    frame();
    c.selectOrder(u"Outside");
    HeadlessDesktop::instance().setCursorPosition({int(c.absoluteLeft()) + 50, int(c.absoluteTop()) + 20});
    frames(3);
    EXPECT_EQ(orderOf(c), u"Outside");  // inside the rectangle: nothing
    HeadlessDesktop::instance().setCursorPosition({int(c.absoluteLeft()) + 5, int(c.absoluteTop()) + 5});
    frames(2);
    EXPECT_EQ(orderOf(c), u"GotHover");

    // A zero-width OUT_RECT area answers true everywhere, even far off the character.
    c.selectOrder(u"Everywhere");
    HeadlessDesktop::instance().setCursorPosition({1900, 1000});
    frames(2);
    EXPECT_EQ(orderOf(c), u"GotHover");
}

TEST_F(OrdersTest, ConditionEventsFireAtTheirIntervalsWhileTheConditionHolds) {
    CharacterObject& c = character(u"ord-events");
    frame();  // frame 1: Idle starts; EverySecond fires at once, Never does not
    frame();  // frame 2: the request runs its code
    EXPECT_EQ(variable(c, u"$ticks"), 1);
    // The next firing is 30 frames after the start (frame 31); its code runs in 32.
    frames(29);
    EXPECT_EQ(variable(c, u"$ticks"), 1);
    frame();
    EXPECT_EQ(variable(c, u"$ticks"), 2);
    // While the condition fails, the interval passes without firing.
    static_cast<Quenta::Interpreter::NumValue*>(c.parser().variables().find(u"$secOn"))->set(0);
    frames(30);
    EXPECT_EQ(variable(c, u"$ticks"), 2);
    EXPECT_EQ(variable(c, u"$never"), 0);
    EXPECT_EQ(orderOf(c), u"Idle");
}

TEST_F(OrdersTest, HitCharaTouchesOnlyCharactersUnderTheSameParent) {
    CharacterObject& partner = character(u"ord-partner");
    CharacterObject& c = character(u"ord-events");
    frame();
    c.selectOrder(u"Touch");
    // Docked into another character, the partner no longer counts, though it overlaps.
    c.dockTo(partner);
    frames(3);
    EXPECT_EQ(orderOf(c), u"Touch");
    c.dockTo(DesktopObject::instance());
    frames(3);
    EXPECT_EQ(orderOf(c), u"GotTouch");

    // Areas that only share an edge touch; one pixel apart they do not.
    for (const auto& [partnerX, touches] : {std::pair{265.0, false}, {264.0, true}, {135.0, false}, {136.0, true}}) {
        partner.setBasePosition(partnerX, 200);
        c.selectOrder(u"Touch");
        frames(3);
        EXPECT_EQ(orderOf(c), touches ? u"GotTouch" : u"Touch") << partnerX;
    }

    // The partner runs in debug mode: its area's outline is drawn over its body.
    ASSERT_NE(partner.composedImage(), nullptr);
    EXPECT_EQ(partner.composedImage()->pixelAt({0, 0}), 0xFFAA0000u);
    EXPECT_EQ(partner.composedImage()->pixelAt({63, 10}), 0xFFAA0000u);
    EXPECT_NE(partner.composedImage()->pixelAt({10, 10}), 0xFFAA0000u);
}

TEST_F(OrdersTest, StrokesNeedAHundredPlacesWithinASecondAndEdgesFireAtTheBox) {
    CharacterObject& c = character(u"ord-events");
    frame();
    c.selectOrder(u"Stroke");
    const auto rub = [&](int from, int count) {
        for (int i = from; i < from + count; ++i) button(c, InputEvent::CursorEntered, 0, i % 60, i / 60);
    };
    // 60 places, then a second passes: the stroke is forgotten, and 60 more do not
    // complete it; repeating a place does not count.
    rub(0, 60);
    frames(32);
    rub(60, 60);
    rub(119, 1);
    rub(120, 39);
    frames(2);
    EXPECT_EQ(orderOf(c), u"Stroke");
    // The hundredth place.
    rub(159, 1);
    frames(2);
    EXPECT_EQ(orderOf(c), u"GotStroke");

    // At x = -5 the body reaches the desktop's left edge, not its right one.
    c.selectOrder(u"Edge");
    frames(2);
    EXPECT_EQ(orderOf(c), u"GotLeft");
}

}  // namespace
