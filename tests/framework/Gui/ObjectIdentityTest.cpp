// Identities from the shared pool and the parent/child links of objects.
#include <memory>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "framework/Gui/Object.h"

using namespace Arbor::Gui;

namespace {

// A family of its own, to check that families do not share a bitmap.
class OtherFamily : public base_object<OtherFamily> {};

}  // namespace

TEST(ObjectIdentity, PoolRunsOutAtTwentyThousandAndReusesTheLowestFreedSlot) {
    ASSERT_EQ(Object::liveIdentifiers(), 0) << "another test left objects alive";
    std::vector<std::unique_ptr<Object>> objects;
    objects.reserve(Object::capacity);
    std::set<int> ids;
    for (int i = 0; i < Object::capacity; ++i) {
        objects.push_back(std::make_unique<Object>());
        ids.insert(objects.back()->id());
    }
    EXPECT_EQ(ids.size(), std::size_t(Object::capacity));
    EXPECT_EQ(*ids.begin(), 0);
    EXPECT_EQ(*ids.rbegin(), Object::capacity - 1);

    auto overflow = std::make_unique<Object>();
    EXPECT_EQ(overflow->id(), -1);
    // An object without an identity frees nothing when it goes.
    overflow.reset();
    EXPECT_EQ(std::make_unique<Object>()->id(), -1);

    // Freed slots come back lowest first, whatever order they were freed in.
    objects[700].reset();
    objects[90].reset();
    objects[19999].reset();
    EXPECT_EQ(Object::liveIdentifiers(), Object::capacity - 3);
    auto a = std::make_unique<Object>();
    auto b = std::make_unique<Object>();
    auto c = std::make_unique<Object>();
    EXPECT_EQ(a->id(), 90);
    EXPECT_EQ(b->id(), 700);
    EXPECT_EQ(c->id(), 19999);
    EXPECT_EQ(std::make_unique<Object>()->id(), -1);

    // A family of its own still has all its slots.
    OtherFamily other;
    EXPECT_EQ(other.id(), 0);
}

TEST(ObjectIdentity, AfterTheFullPoolEmptiesIdentitiesStartAtZeroAgain) {
    ASSERT_EQ(Object::liveIdentifiers(), 0);
    auto first = std::make_unique<Object>();
    auto second = std::make_unique<Object>();
    EXPECT_EQ(first->id(), 0);
    EXPECT_EQ(second->id(), 1);
    first.reset();
    auto third = std::make_unique<Object>();
    EXPECT_EQ(third->id(), 0);
    auto fourth = std::make_unique<Object>();
    EXPECT_EQ(fourth->id(), 2);
}

TEST(ObjectIdentity, DestructionUnlinksFromParentAndOrphansChildren) {
    auto parent = std::make_unique<Object>();
    auto a = std::make_unique<Object>();
    auto b = std::make_unique<Object>();
    auto c = std::make_unique<Object>();
    ASSERT_TRUE(a->setParentObject(parent.get()));
    ASSERT_TRUE(b->setParentObject(parent.get()));
    ASSERT_TRUE(c->setParentObject(parent.get()));
    EXPECT_EQ(parent->childObjects(), (std::vector<Object*>{a.get(), b.get(), c.get()}));

    b.reset();
    EXPECT_EQ(parent->childObjects(), (std::vector<Object*>{a.get(), c.get()}));

    // Moving keeps a single link.
    auto other = std::make_unique<Object>();
    ASSERT_TRUE(c->setParentObject(other.get()));
    EXPECT_EQ(parent->childObjects(), (std::vector<Object*>{a.get()}));
    EXPECT_EQ(c->parentObject(), other.get());

    parent.reset();
    EXPECT_EQ(a->parentObject(), nullptr);
}

TEST(ObjectIdentity, AnObjectCannotBecomeItsOwnAncestor) {
    Object root;
    Object child;
    ASSERT_TRUE(child.setParentObject(&root));
    EXPECT_FALSE(root.setParentObject(&child));
    EXPECT_FALSE(root.setParentObject(&root));
    EXPECT_EQ(root.parentObject(), nullptr);
    EXPECT_EQ(root.childObjects(), (std::vector<Object*>{&child}));
    EXPECT_EQ(root.className(), u"Object");
}
