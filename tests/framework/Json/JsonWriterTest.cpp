#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "framework/Json/Json.h"

using namespace Arbor::Json;

namespace {

std::u16string compactOf(const JsonValue& v) {
    auto a = JsonValue::newArray();
    a.asArray()->append(v);
    return write(a, true);
}

TEST(JsonWriter, Numbers) {
    EXPECT_EQ(compactOf(3), u"[3]");
    EXPECT_EQ(compactOf(3.25), u"[3.250000]");
    EXPECT_EQ(compactOf(2.5), u"[2.500000]");
    EXPECT_EQ(compactOf(-2147483648.0), u"[-2147483648]");
    EXPECT_EQ(compactOf(2147483647.0), u"[2147483647]");
    EXPECT_EQ(compactOf(2147483648.0), u"[2147483648.000000]");
    EXPECT_EQ(compactOf(4294967296.0), u"[4294967296.000000]");
    EXPECT_EQ(compactOf(-0.0), u"[0]");
    EXPECT_EQ(compactOf(1e-7), u"[0.000000]");
    EXPECT_EQ(compactOf(std::numeric_limits<double>::infinity()), u"[null]");
    EXPECT_EQ(compactOf(-std::numeric_limits<double>::infinity()), u"[null]");
    EXPECT_EQ(compactOf(std::nan("")), u"[null]");
    auto parsed = parse(u"[1e400]");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(write(*parsed, true), u"[null]");
    EXPECT_EQ(compactOf(1e300).size(), 2 + 301 + 7u);  // fixed notation, never an exponent
}

TEST(JsonWriter, Escaping) {
    EXPECT_EQ(compactOf(u"tab\there"), u"[\"tab\\there\"]");
    EXPECT_EQ(compactOf(std::u16string(1, char16_t{1})), u"[\"\\u0001\"]");
    EXPECT_EQ(compactOf(std::u16string(1, char16_t{0x1F})), u"[\"\\u001f\"]");
    EXPECT_EQ(compactOf(std::u16string(1, char16_t{0})), u"[\"\\u0000\"]");
    EXPECT_EQ(compactOf(u"a/b"), u"[\"a/b\"]");
    EXPECT_EQ(compactOf(u"\"\\\b\f\n\r"), u"[\"\\\"\\\\\\b\\f\\n\\r\"]");
    const std::u16string high = u"é\u007F" + std::u16string(1, char16_t{0xD83D});  // a lone surrogate too
    EXPECT_EQ(compactOf(high), u"[\"" + high + u"\"]");
}

TEST(JsonWriter, CompactLayout) {
    auto o = JsonValue::newObject();
    o.asObject()->set(u"a", true);
    o.asObject()->set(u"b", JsonValue::newArray());
    EXPECT_EQ(write(o, true), u"{\"a\":true,\"b\":[]}");
    auto nested = parse(u"[ null , { \"k\" : [ 1 , 2 ] , \"e\" : { } } , false , \"s\" ]");
    ASSERT_TRUE(nested);
    EXPECT_EQ(write(*nested, true), u"[null,{\"k\":[1,2],\"e\":{}},false,\"s\"]");
}

TEST(JsonWriter, IndentedLayout) {
    auto doc = parse(u"{\"a\":[1,{\"b\":null}],\"c\":{},\"d\":[],\"e\":\"x\"}");
    ASSERT_TRUE(doc);
    EXPECT_EQ(write(*doc, false),
              u"{\n"
              u"    \"a\": [\n"
              u"        1,\n"
              u"        {\n"
              u"            \"b\": null\n"
              u"        }\n"
              u"    ],\n"
              u"    \"c\": {\n"
              u"    },\n"
              u"    \"d\": [\n"
              u"    ],\n"
              u"    \"e\": \"x\"\n"
              u"}\n");
    EXPECT_EQ(write(JsonValue::newArray(), false), u"[\n]\n");
    EXPECT_EQ(write(JsonValue::newObject(), true), u"{}");
}

TEST(JsonWriter, OnlyContainersAreRoots) {
    EXPECT_EQ(write(JsonValue(1), true), u"");
    EXPECT_EQ(write(JsonValue(u"s"), false), u"");
    EXPECT_EQ(write(JsonValue(), true), u"");
    EXPECT_EQ(write(JsonValue::undefined(), true), u"");
}

TEST(JsonWriter, UndefinedElementsAreWrittenAsNull) {
    auto a = JsonValue::newArray();
    a.asArray()->append(JsonValue::undefined());
    EXPECT_EQ(write(a, true), u"[null]");
}

TEST(JsonWriter, SelfContainingContainerIsNotWritten) {
    auto a = JsonValue::newArray();
    a.asArray()->append(a);
    EXPECT_EQ(write(a, true), u"");
    // Break the cycle so the payload is released.
    a.asArray()->element(0) = JsonValue();
    EXPECT_EQ(write(a, true), u"[null]");
}

TEST(JsonWriter, RoundTripIsAFixedPoint) {
    const std::u16string text =
        u"{\"name\":\"タヴィゾー\",\"v\":[1,-2,3.500000,true,false,null,\"\\u0001\\t\\\"\"],\"o\":{\"\":{}}}";
    auto doc = parse(text);
    ASSERT_TRUE(doc);
    EXPECT_EQ(write(*doc, true), text);
    auto again = parse(write(*doc, false));
    ASSERT_TRUE(again);
    EXPECT_EQ(write(*again, true), text);
}

}  // namespace
