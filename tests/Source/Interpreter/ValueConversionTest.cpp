#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Source/Interpreter/NumberText.h"
#include "ScriptTestSupport.h"

using namespace ScriptTest;

TEST(StringToInt, DigitsOnlyWithOptionalMinus) {
    EXPECT_EQ(stringToInt(u""), 0);
    EXPECT_EQ(stringToInt(u"42"), 42);
    EXPECT_EQ(stringToInt(u"-42"), -42);
    EXPECT_EQ(stringToInt(u"+42"), 0);
    EXPECT_EQ(stringToInt(u" 42"), 0);
    EXPECT_EQ(stringToInt(u"4.2"), 0);
    EXPECT_EQ(stringToInt(u"--4"), 0);
    EXPECT_EQ(stringToInt(u"-"), 0);
    EXPECT_EQ(stringToInt(u"4294967297"), 1);  // 32-bit wrap-around
}

TEST(StringToNumber, ParsesPrefixAndUsesDefault) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(stringToNumber(u"", inf), inf);
    EXPECT_EQ(stringToNumber(u"abc", inf), 0.0);
    EXPECT_EQ(stringToNumber(u"12abc", inf), 12.0);
    EXPECT_EQ(stringToNumber(u"  -1.5e2", inf), -150.0);
    EXPECT_EQ(stringToNumber(u"+.25", inf), 0.25);
    EXPECT_EQ(stringToNumber(u"0.1", inf), 0.1);
    EXPECT_EQ(stringToNumber(u"1.2.3", inf), 1.2);
    EXPECT_EQ(stringToNumber(u"0.0", inf), 0.0);
    // The exponent limit applies to a zero mantissa as well; small exponents of zero stay 0.
    EXPECT_EQ(stringToNumber(u"0e300", 7.0), 7.0);
    EXPECT_EQ(stringToNumber(u"0e-300", 7.0), 7.0);
    EXPECT_EQ(stringToNumber(u"0e-5", 7.0), 0.0);
    EXPECT_EQ(stringToNumber(u"1e300", inf), inf);
    EXPECT_EQ(stringToNumber(u"1e-256", 7.0), 7.0);
    EXPECT_DOUBLE_EQ(stringToNumber(u"1e255", 7.0), 1e255);
    // 10^60 * 10^250 overflows while scaling.
    EXPECT_EQ(stringToNumber(u"1000000000000000000000000000000000000000000000000000000000000e250", 7.0), 7.0);
    EXPECT_DOUBLE_EQ(stringToNumber(u"0.001e-250", 7.0), 1e-253);
    EXPECT_EQ(stringToNumber(u"1e99999999999999999999", 7.0), 7.0);
}

TEST(TruncateToInt, TowardZeroAndDefinedOutOfRange) {
    EXPECT_EQ(truncateToInt(2.7), 2);
    EXPECT_EQ(truncateToInt(-2.7), -2);
    EXPECT_EQ(truncateToInt(2147483647.9), 2147483647);
    EXPECT_EQ(truncateToInt(1e10), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(truncateToInt(std::nan("")), std::numeric_limits<std::int32_t>::min());
}

TEST(FormatShortest, RoundTripsAndNamesSpecialValues) {
    EXPECT_EQ(formatShortest(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(formatShortest(3.0), "3");
    EXPECT_EQ(formatShortest(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(formatShortest(-std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(formatShortest(-std::nan("")), "nan");
}

TEST(ValueConversions, ByKind) {
    Parser parser;
    Value* v = Parser::voidValue();
    EXPECT_EQ(v->typeId(), 0);
    EXPECT_EQ(v->toStr(), u"");
    EXPECT_FALSE(v->toBool());

    NumValue* n = parser.makeNum(-2.7);
    EXPECT_EQ(n->toInt(), -2);
    EXPECT_EQ(n->toStr(), u"-2");
    EXPECT_TRUE(parser.makeNum(std::nan(""))->toBool());
    EXPECT_FALSE(parser.makeNum(0.0)->toBool());

    StrValue* s = parser.makeStr(u"");
    EXPECT_EQ(s->toNum(), std::numeric_limits<double>::infinity());
    EXPECT_FALSE(s->toBool());
    EXPECT_EQ(parser.makeStr(u"abc")->toNum(), 0.0);
    EXPECT_EQ(parser.makeStr(u"1e300")->toNum(), std::numeric_limits<double>::infinity());

    EXPECT_EQ(parser.makeBool(true)->toStr(), u"true");
    EXPECT_EQ(parser.makeBool(false)->toNum(), 0.0);

    FuncObjectValue* f = parser.makeFuncObject(nullptr);
    EXPECT_EQ(f->toInt(), 0);
    EXPECT_EQ(f->toStr(), u"");
    EXPECT_FALSE(f->toBool());
    EXPECT_EQ(f->weight(), 1.0);
    EXPECT_TRUE(f->readOnly());
}

TEST(VariableTable, CreatesOncePerNameInCodeUnitOrder) {
    VariableTable table;
    ASSERT_NE(table.create(u"$b", 1), nullptr);
    ASSERT_NE(table.create(u"$a", 2), nullptr);
    ASSERT_NE(table.create(u"$B", 3), nullptr);
    EXPECT_EQ(table.create(u"$a", 1), nullptr);
    EXPECT_EQ(table.create(u"$x", 0), nullptr);
    EXPECT_EQ(table.create(u"$x", 5), nullptr);
    std::vector<std::u16string> names;
    for (const auto& [name, value] : table.entries()) {
        names.push_back(name);
        EXPECT_FALSE(value->readOnly());
    }
    EXPECT_EQ(names, (std::vector<std::u16string>{u"$B", u"$a", u"$b"}));
    EXPECT_EQ(table.find(u"$a")->typeId(), 2);
    EXPECT_EQ(table.find(u"$c"), nullptr);
    table.clear();
    EXPECT_EQ(table.size(), 0u);
}
