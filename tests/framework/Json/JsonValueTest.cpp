#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "framework/Json/Json.h"
#include "framework/Text/Utf.h"

using namespace Arbor::Json;

namespace {

TEST(JsonValue, KindCodes) {
    EXPECT_EQ(JsonValue().kindCode(), 0);
    EXPECT_EQ(JsonValue(true).kindCode(), 1);
    EXPECT_EQ(JsonValue(1.5).kindCode(), 2);
    EXPECT_EQ(JsonValue(u"s").kindCode(), 3);
    EXPECT_EQ(JsonValue::newArray().kindCode(), 4);
    EXPECT_EQ(JsonValue::newObject().kindCode(), 5);
    EXPECT_EQ(JsonValue::undefined().kindCode(), 6);
    EXPECT_EQ(Private::makeData<Private::ArrayData>()->kind(), JsonKind::Array);
    EXPECT_EQ(Private::makeData<Private::ObjectData>()->kind(), JsonKind::Object);
    EXPECT_EQ(Private::StringData(u"x").kind(), JsonKind::String);
}

TEST(JsonValue, ToText) {
    EXPECT_EQ(JsonValue().toText(), u"null");
    EXPECT_EQ(JsonValue(true).toText(), u"true");
    EXPECT_EQ(JsonValue(false).toText(), u"false");
    EXPECT_EQ(JsonValue(3).toText(), u"3");
    EXPECT_EQ(JsonValue(3.25).toText(), u"3.250000");
    EXPECT_EQ(JsonValue(std::numeric_limits<double>::infinity()).toText(), u"inf");
    EXPECT_EQ(JsonValue(u"text").toText(), u"text");
    EXPECT_EQ(JsonValue::newArray().toText(), u"array");
    EXPECT_EQ(JsonValue::newObject().toText(), u"object");
    EXPECT_EQ(JsonValue::undefined().toText(), u"undefined");
}

TEST(JsonValue, ToBool) {
    EXPECT_FALSE(JsonValue().toBool());
    EXPECT_FALSE(JsonValue::undefined().toBool());
    EXPECT_TRUE(JsonValue(true).toBool());
    EXPECT_FALSE(JsonValue(0).toBool());
    EXPECT_FALSE(JsonValue(-0.0).toBool());
    EXPECT_TRUE(JsonValue(0.1).toBool());
    EXPECT_TRUE(JsonValue(std::nan("")).toBool());
    EXPECT_FALSE(JsonValue(u"").toBool());
    EXPECT_TRUE(JsonValue(u"0").toBool());
    EXPECT_TRUE(JsonValue::newArray().toBool());
    EXPECT_TRUE(JsonValue::newObject().toBool());
}

TEST(JsonValue, MissingLookupsGiveUndefined) {
    auto doc = parse(u"{\"a\":[1]}");
    ASSERT_TRUE(doc);
    auto missing = doc->get(u"b");
    EXPECT_TRUE(missing.isUndefined());
    EXPECT_EQ(missing.toText(), u"undefined");
    EXPECT_FALSE(missing.toBool());
    EXPECT_TRUE(doc->get(u"a").at(1).isUndefined());
    EXPECT_TRUE(JsonValue(5).get(u"a").isUndefined());
    EXPECT_TRUE(JsonValue(u"s").at(0).isUndefined());
    EXPECT_TRUE(doc->asObject()->valueAt(9).isUndefined());
    EXPECT_EQ(doc->asObject()->keyAt(9), u"");
}

TEST(JsonValue, AsArrayOfOtherKindsIsDetached) {
    JsonValue n(5);
    n.asArray()->append(1);
    EXPECT_TRUE(n.isNumber());
    EXPECT_EQ(n.asArray()->size(), 0u);
    JsonValue s(u"s");
    s.asObject()->set(u"k", 1);
    EXPECT_EQ(s.asObject()->count(), 0u);
}

TEST(JsonValue, HandlesShareContainers) {
    auto a = JsonValue::newArray();
    JsonValue b = a;
    b.asArray()->append(u"x");
    EXPECT_EQ(a.asArray()->size(), 1u);
    EXPECT_EQ(a.container()->refCount(), 2);
    {
        JsonValue c = a;
        EXPECT_EQ(a.container()->refCount(), 3);
    }
    EXPECT_EQ(a.container()->refCount(), 2);
    JsonValue s(u"shared");
    JsonValue t = s;
    EXPECT_EQ(s.stringData(), t.stringData());
    EXPECT_EQ(s.stringData()->refCount(), 2);
    t = JsonValue(1);
    EXPECT_EQ(s.stringData()->refCount(), 1);
}

TEST(JsonValue, AssigningAValueItsOwnElementIsSafe) {
    auto outer = JsonValue::newArray();
    outer.asArray()->append(JsonValue::newObject());
    JsonValue holder = outer;
    holder = holder.at(0);  // the old payload owns the new value
    EXPECT_TRUE(holder.isObject());
}

TEST(ObjectData, SetEraseMemberSetAt) {
    auto o = JsonValue::newObject();
    auto obj = o.asObject();
    obj->set(u"a", 1);
    obj->set(u"b", 2);
    obj->set(u"c", 3);
    obj->set(u"a", 10);  // replaced in place
    EXPECT_EQ(obj->keyAt(0), u"a");
    EXPECT_EQ(obj->valueAt(0).number(), 10.0);
    obj->set(u"b", JsonValue::undefined());  // removes
    ASSERT_EQ(obj->count(), 2u);
    EXPECT_EQ(obj->keyAt(1), u"c");
    EXPECT_TRUE(obj->find(u"b").isUndefined());
    obj->set(u"z", JsonValue::undefined());  // nothing to remove, nothing appended
    EXPECT_EQ(obj->count(), 2u);

    ElementRef m = obj->member(u"new");
    ASSERT_EQ(obj->count(), 3u);
    EXPECT_EQ(obj->keyAt(2), u"new");
    EXPECT_TRUE(obj->valueAt(2).isNull());
    m = JsonValue(u"assigned");
    EXPECT_EQ(o.get(u"new").toText(), u"assigned");
    obj->member(u"a") = 11;
    EXPECT_EQ(o.get(u"a").number(), 11.0);
    EXPECT_EQ(obj->count(), 3u);

    obj->setAt(1, u"c2");
    EXPECT_EQ(o.get(u"c").toText(), u"c2");
    obj->setAt(7, 1);  // out of range: no effect
    EXPECT_EQ(obj->count(), 3u);
    obj->setAt(0, JsonValue::undefined());  // set of the key with undefined removes it
    EXPECT_EQ(obj->count(), 2u);
    EXPECT_EQ(obj->keyAt(0), u"c");

    obj->erase(u"c");
    obj->erase(u"missing");
    ASSERT_EQ(obj->count(), 1u);
    EXPECT_EQ(obj->keyAt(0), u"new");
    EXPECT_EQ(obj->indexOf(u"new"), 0u);
    EXPECT_EQ(obj->find(u"NEW").kind(), JsonKind::Undefined);
}

TEST(ObjectData, KeysCompareByCodeUnits) {
    auto o = JsonValue::newObject();
    o.asObject()->set(u"é", 1);           // U+00E9
    o.asObject()->set(u"e\u0301", 2);     // e + combining acute: another key
    o.asObject()->set(std::u16string(u"a\0b", 3), 3);
    o.asObject()->set(u"a", 4);
    EXPECT_EQ(o.asObject()->count(), 4u);
    EXPECT_EQ(o.get(std::u16string(u"a\0b", 3)).number(), 3.0);
}

TEST(ArrayData, ElementReferences) {
    auto a = JsonValue::newArray();
    auto arr = a.asArray();
    arr->append(1);
    arr->append(2);
    ElementRef r = arr->element(1);
    EXPECT_EQ(r.get().number(), 2.0);
    r = JsonValue(u"two");
    EXPECT_EQ(a.at(1).toText(), u"two");
    ElementRef beyond = arr->element(5);
    beyond = JsonValue(9);  // no growth through a reference
    EXPECT_EQ(arr->size(), 2u);
    EXPECT_TRUE(beyond.get().isUndefined());
    // A reference keeps its container alive.
    ElementRef kept = JsonValue::newArray().asArray()->element(0);
    EXPECT_TRUE(kept.get().isUndefined());
}

TEST(ArrayData, ManyAppends) {
    auto a = JsonValue::newArray();
    for (int i = 0; i < 10000; ++i) a.asArray()->append(i);
    EXPECT_EQ(a.asArray()->size(), 10000u);
    EXPECT_EQ(a.at(9999).number(), 9999.0);
}

TEST(ObjectData, LargeObjectsStayFast) {
    // 100000 distinct keys plus a repeat of each: lookups must not be linear per member.
    std::u16string text = u"{";
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 100000; ++i) {
            if (round || i) text += u",";
            text += u"\"k" + Arbor::Text::fromAscii(std::to_string(i)) + u"\":" + Arbor::Text::fromAscii(std::to_string(round));
        }
    }
    text += u"}";
    auto doc = parse(text);
    ASSERT_TRUE(doc);
    auto obj = doc->asObject();
    EXPECT_EQ(obj->count(), 100000u);
    EXPECT_EQ(obj->keyAt(99999), u"k99999");
    EXPECT_EQ(obj->valueAt(99999).number(), 1.0);
}

}  // namespace
