// The scene tree, z-order, identity, bounds and the stacking of view windows.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Source/GameComponent/DesktopObject.h"
#include "Source/GameComponent/GameObject.h"
#include "Source/GameComponent/RestackQueue.h"
#include "Source/GameComponent/ViewObject.h"
#include "framework/Platform/Headless/HeadlessDesktop.h"
#include "framework/Platform/Window.h"
#include "support/BackendTest.h"

using namespace Quenta::GameComponent;
using Arbor::Platform::Headless::HeadlessDesktop;

namespace {

struct ViewObjects : ::testing::Test {
    void SetUp() override { HeadlessDesktop::instance().reset(); }
    void TearDown() override {
        root.deleteChildren();
        RestackQueue::instance().apply();
        HeadlessDesktop::instance().reset();
    }
    Arbor::Platform::WindowHandle windowOf(const ViewObject& v) { return v.ownWidget()->window().handle(); }

    Testing::BackendScope backend{"Headless"};
    DesktopObject root;
};

}  // namespace

TEST(GameObjectTree, EqualZOrderKeepsAttachOrderAndHigherZGoesInFront) {
    DesktopObject root;
    auto& a = root.adopt(std::make_unique<GameObject>());
    auto& b = root.adopt(std::make_unique<GameObject>());
    auto& c = root.adopt(std::make_unique<GameObject>());
    EXPECT_EQ(root.children(), (std::vector<GameObject*>{&a, &b, &c}));
    // Raised above the others, b moves to the front; lowered again it goes before the
    // first child of greater z, which keeps a before c (attach order).
    b.setZOrder(1);
    b.attachTo(root);
    EXPECT_EQ(root.children(), (std::vector<GameObject*>{&a, &c, &b}));
    a.setZOrder(-1);
    a.attachTo(root);
    EXPECT_EQ(root.children(), (std::vector<GameObject*>{&a, &c, &b}));
    // Re-attaching an equal-z object puts it after its equals.
    a.setZOrder(0);
    a.attachTo(root);
    EXPECT_EQ(root.children(), (std::vector<GameObject*>{&c, &a, &b}));
    // Under its own subtree it would drop out of the tree: refused.
    auto& child = a.adopt(std::make_unique<GameObject>());
    a.attachTo(child);
    EXPECT_EQ(a.parent(), &root);
    // Deleting a parent deletes its children; a deleted child leaves its parent.
    root.deleteChildren();
    EXPECT_TRUE(root.children().empty());
}

TEST(GameObjectTree, BoundsThatDifferBelowOnePartInATrillionChangeNothing) {
    GameObject o;
    EXPECT_TRUE(o.setBounds(100, 200, 50, 60));
    EXPECT_TRUE(o.boundsChanged());
    o.clearBoundsChanged();
    EXPECT_FALSE(o.setBounds(100 * (1 + 1e-13), 200, 50, 60 * (1 - 1e-13)));
    EXPECT_FALSE(o.boundsChanged());
    EXPECT_EQ(o.x(), 100.0);
    EXPECT_TRUE(o.setBounds(100 * (1 + 1e-11), 200, 50, 60));
    // Zero differs from any other value.
    EXPECT_TRUE(o.setBounds(0, 200, 50, 60));
    EXPECT_TRUE(o.setBounds(1e-300, 200, 50, 60));
    o.setScale(-2);
    EXPECT_EQ(o.scale(), 0.0);
}

TEST(GameObjectTree, The20001stObjectHasNoId) {
    std::vector<std::unique_ptr<GameObject>> objects;
    const int live = GameObject::liveIdentifiers();
    for (int i = live; i < GameObject::capacity; ++i) objects.push_back(std::make_unique<GameObject>());
    ASSERT_FALSE(objects.empty());
    EXPECT_EQ(GameObject::liveIdentifiers(), GameObject::capacity);
    auto extra = std::make_unique<GameObject>();
    EXPECT_EQ(extra->objectId(), -1);
    // A freed id is the lowest free one and is given out again.
    const int freed = objects[10]->objectId();
    objects[10].reset();
    EXPECT_EQ(std::make_unique<GameObject>()->objectId(), freed);
}

TEST_F(ViewObjects, EqualZOrderStacksTheLaterWindowInFront) {
    auto& first = root.adopt(std::make_unique<ViewObject>());
    auto& second = root.adopt(std::make_unique<ViewObject>());
    const auto order = HeadlessDesktop::instance().zOrder();
    const auto rank = [&](const ViewObject& v) { return std::find(order.begin(), order.end(), windowOf(v)) - order.begin(); };
    EXPECT_LT(rank(second), rank(first));
    EXPECT_EQ(root.children(), (std::vector<GameObject*>{&first, &second}));
}

TEST_F(ViewObjects, TopmostAddsTenToTheEighthAndSortsInFront) {
    auto& topmost = root.adopt(std::make_unique<ViewObject>());
    auto& ordinary = root.adopt(std::make_unique<ViewObject>());
    ordinary.setZOrder(99999999);
    topmost.setZOrder(5);
    topmost.setTopmost();
    EXPECT_EQ(topmost.zOrder(), 100000005.0);
    EXPECT_TRUE(topmost.isTopmost());
    RestackQueue::instance().apply();
    EXPECT_EQ(root.children().back(), &topmost);
    EXPECT_TRUE(Arbor::Platform::windowService().isTopmost(windowOf(topmost)));
    // Stacked below a topmost window, an ordinary one would join the topmost band.
    EXPECT_FALSE(Arbor::Platform::windowService().isTopmost(windowOf(ordinary)));
    topmost.clearTopmost();
    EXPECT_EQ(topmost.zOrder(), 5.0);
    RestackQueue::instance().apply();
    EXPECT_EQ(root.children().back(), &ordinary);
    EXPECT_FALSE(Arbor::Platform::windowService().isTopmost(windowOf(topmost)));
}

TEST_F(ViewObjects, AlphaIsClampedAndTinyMovesLeaveTheWindowAlone) {
    auto& view = root.adopt(std::make_unique<ViewObject>());
    view.setAlpha(1.5);
    EXPECT_EQ(view.alpha(), 1.0);
    view.setAlpha(-1);
    EXPECT_EQ(view.alpha(), 0.0);
    view.setShown();
    view.setBounds(100, 200, 30, 40);
    view.renderPhase();
    const auto placed = Arbor::Platform::windowService().bounds(windowOf(view));
    ASSERT_TRUE(placed.has_value());
    EXPECT_EQ(*placed, (Arbor::Platform::Rect{100, 200, 130, 240}));
    EXPECT_FALSE(view.setBounds(100 + 1e-11, 200, 30, 40));
    EXPECT_EQ(view.ownWidget()->geometry(), (Arbor::Platform::Rect{100, 200, 130, 240}));
    EXPECT_FALSE(view.boundsChanged());
}
