#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "framework/Json/Json.h"
#include "framework/Json/JsonReader.h"

using namespace Arbor::Json;

namespace {

bool parses(std::u16string_view text) { return parse(text).has_value(); }

JsonValue first(std::u16string_view text) {
    auto root = parse(text);
    EXPECT_TRUE(root.has_value()) << "does not parse";
    return root ? root->at(0) : JsonValue::undefined();
}

double number(std::u16string_view token) {
    std::u16string text = u"[";
    text += token;
    text += u"]";
    auto v = first(text);
    EXPECT_TRUE(v.isNumber());
    return v.number();
}

TEST(JsonReader, EmptyContainers) {
    auto a = parse(u"[]");
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->isArray());
    EXPECT_EQ(a->asArray()->size(), 0u);
    auto o = parse(u" \t\r\n{ } ");
    ASSERT_TRUE(o);
    EXPECT_TRUE(o->isObject());
    EXPECT_EQ(o->asObject()->count(), 0u);
    // Text after the root is not examined.
    auto trailing = parse(u"{}this is not json at all [[[");
    ASSERT_TRUE(trailing);
    EXPECT_TRUE(trailing->isObject());
    EXPECT_TRUE(parses(u"[1]]]"));
}

TEST(JsonReader, RootMustBeArrayOrObject) {
    EXPECT_FALSE(parses(u""));
    EXPECT_FALSE(parses(u"   "));
    EXPECT_FALSE(parses(u"1"));
    EXPECT_FALSE(parses(u"\"text\""));
    EXPECT_FALSE(parses(u"true"));
    EXPECT_FALSE(parses(u"null "));
    EXPECT_FALSE(parses(u"\xFEFF[]"));  // a byte-order mark is the caller's to remove
}

TEST(JsonReader, SyntaxErrorsFail) {
    EXPECT_FALSE(parses(u"[1,]"));
    EXPECT_FALSE(parses(u"[1, ]"));
    EXPECT_FALSE(parses(u"{\"a\":1,}"));
    EXPECT_FALSE(parses(u"{\"a\":1, }"));
    EXPECT_FALSE(parses(u"{a:1}"));
    EXPECT_FALSE(parses(u"{'a':1}"));
    EXPECT_FALSE(parses(u"[1 2]"));
    EXPECT_FALSE(parses(u"[,1]"));
    EXPECT_FALSE(parses(u"[1"));
    EXPECT_FALSE(parses(u"[1,"));
    EXPECT_FALSE(parses(u"["));
    EXPECT_FALSE(parses(u"{"));
    EXPECT_FALSE(parses(u"{\"a\""));
    EXPECT_FALSE(parses(u"{\"a\" 1}"));
    EXPECT_FALSE(parses(u"{\"a\":1 \"b\":2}"));
    EXPECT_FALSE(parses(u"[\"open]"));
    EXPECT_FALSE(parses(u"[x]"));
    EXPECT_FALSE(parses(u"[.5]"));
    EXPECT_FALSE(parses(u"[-]"));
    EXPECT_FALSE(parses(u"[01]"));
    EXPECT_FALSE(parses(u"[True]"));
    EXPECT_FALSE(parses(u"[nul]"));
    EXPECT_FALSE(parses(u"[truex]"));
    EXPECT_FALSE(parses(u"[1}"));
    EXPECT_FALSE(parses(u"{\"a\":1]"));
    // A key that is not a whole string.
    EXPECT_FALSE(parses(u"{\"a"));
    EXPECT_FALSE(parses(u"[{\"\\q\":1}]"));
}

TEST(JsonReader, AMissingValueFails) {
    EXPECT_FALSE(parses(u"{\"a\":]}"));
    EXPECT_FALSE(parses(u"{\"a\":}"));
    EXPECT_FALSE(parses(u"{\"a\":,\"b\":1}"));
    EXPECT_FALSE(parses(u"[1,,2]"));
    EXPECT_FALSE(parses(u"[,]"));
}

TEST(JsonReader, NestingDepthLimit) {
    std::u16string ok(1024, u'[');
    ok += std::u16string(1024, u']');
    EXPECT_TRUE(parses(ok));
    std::u16string deep(1025, u'[');
    deep += std::u16string(1025, u']');
    EXPECT_FALSE(parses(deep));
    std::u16string objects;
    for (int i = 0; i < 1025; ++i) objects += u"{\"k\":";
    objects += u"1";
    objects += std::u16string(1025, u'}');
    EXPECT_FALSE(parses(objects));
    // Depth counts nesting, not containers: siblings do not add up.
    std::u16string wide = u"[";
    for (int i = 0; i < 3000; ++i) wide += i ? u",[[]]" : u"[[]]";
    wide += u"]";
    EXPECT_TRUE(parses(wide));
}

TEST(JsonReader, Literals) {
    auto a = parse(u"[true,false,null]");
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->at(0).isBoolean());
    EXPECT_TRUE(a->at(0).toBool());
    EXPECT_TRUE(a->at(1).isBoolean());
    EXPECT_FALSE(a->at(1).toBool());
    EXPECT_TRUE(a->at(2).isNull());
    // A literal may not end the text.
    EXPECT_FALSE(parses(u"[true"));
}

TEST(JsonReader, NumberTokens) {
    EXPECT_EQ(number(u"0.5e1"), 5.0);
    EXPECT_EQ(number(u"1."), 1.0);
    EXPECT_EQ(number(u"-0"), 0.0);
    EXPECT_FALSE(std::signbit(number(u"-0")));  // an integer token: -0 is the integer 0
    EXPECT_EQ(number(u"2147483648"), -2147483648.0);
    EXPECT_EQ(number(u"4294967296"), 0.0);
    EXPECT_EQ(number(u"4294967297"), 1.0);
    EXPECT_EQ(number(u"-2147483648"), -2147483648.0);
    EXPECT_EQ(number(u"2147483647"), 2147483647.0);
    EXPECT_EQ(number(u"-1"), -1.0);
    EXPECT_EQ(number(u"1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(number(u"1e-400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(number(u"1E2"), 100.0);
    EXPECT_EQ(number(u"1e+2"), 100.0);
    EXPECT_EQ(number(u"25e-1"), 2.5);
    EXPECT_EQ(number(u"-3.25"), -3.25);
    EXPECT_EQ(number(u"1e"), 1.0);
    EXPECT_EQ(number(u"0.0"), 0.0);
    EXPECT_EQ(number(u"0e-400"), std::numeric_limits<double>::infinity());
    EXPECT_NEAR(number(u"3.14159"), 3.14159, 1e-12);
    EXPECT_DOUBLE_EQ(number(u"1e308"), 1e308);
    EXPECT_DOUBLE_EQ(number(u"1e-307"), 1e-307);
    EXPECT_EQ(number(u"1e99999999999999999999"), std::numeric_limits<double>::infinity());
    // A number may not run to the end of the text.
    EXPECT_FALSE(parses(u"[1"));
    EXPECT_FALSE(parses(u"[1.5e3"));
}

TEST(JsonReader, RepeatedKeyKeepsPositionTakesLastValue) {
    auto o = parse(u"{\"a\":1,\"b\":3,\"a\":2}");
    ASSERT_TRUE(o);
    auto obj = o->asObject();
    ASSERT_EQ(obj->count(), 2u);
    EXPECT_EQ(obj->keyAt(0), u"a");
    EXPECT_EQ(obj->valueAt(0).number(), 2.0);
    EXPECT_EQ(obj->keyAt(1), u"b");
}

TEST(JsonReader, StringEscapes) {
    auto a = parse(u"[\"\\u00e9\\u00E9\",\"\\\"\\\\\\/\\b\\f\\n\\r\\t\",\"\\ud83d\\ude00\",\"tab\there\"]");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->at(0).toText(), u"\u00e9\u00e9");
    EXPECT_EQ(a->at(0).toText().size(), 2u);
    EXPECT_EQ(a->at(1).toText(), u"\"\\/\b\f\n\r\t");
    EXPECT_EQ(a->at(2).toText(), u"\U0001F600");  // two \u escapes, two code units
    EXPECT_EQ(a->at(3).toText(), u"tab\there");   // control characters as they stand
    EXPECT_FALSE(parses(u"[\"\\x\"]"));
    EXPECT_FALSE(parses(u"[\"\\u12\"]"));
    EXPECT_FALSE(parses(u"[\"\\u12g4\"]"));
    EXPECT_FALSE(parses(u"[\"\\u"));
    EXPECT_FALSE(parses(u"[\"\\"));
    EXPECT_FALSE(parses(u"[\"\\'\"]"));
}

TEST(JsonReader, NestedDocument) {
    auto root = parse(u"{ \"name\" : \"タヴィゾー\", \"list\" : [ 1 , { \"x\" : [ ] } , \"s\" ] , \"n\" : null }");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->get(u"name").toText(), u"タヴィゾー");
    EXPECT_EQ(root->get(u"list").at(0).number(), 1.0);
    EXPECT_TRUE(root->get(u"list").at(1).get(u"x").isArray());
    EXPECT_EQ(root->get(u"list").at(2).toText(), u"s");
    EXPECT_TRUE(root->get(u"n").isNull());
    EXPECT_TRUE(root->get(u"N").isUndefined());  // keys are case-sensitive
}

}  // namespace
