#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ScriptTestSupport.h"
#include "tools/ScriptOutput.h"

using namespace ScriptTest;

TEST(ScriptOutput, TypeAndShortestValueText) {
    Parser parser;
    EXPECT_EQ(Tool::describeValue(*Parser::voidValue()), "void\t");
    EXPECT_EQ(Tool::describeValue(*parser.makeNum(0.1 + 0.2)), "number\t0.30000000000000004");
    EXPECT_EQ(Tool::describeValue(*parser.makeNum(3)), "number\t3");
    EXPECT_EQ(Tool::describeValue(*parser.makeNum(-std::numeric_limits<double>::infinity())), "number\t-inf");
    EXPECT_EQ(Tool::describeValue(*parser.makeNum(std::nan(""))), "number\tnan");
    EXPECT_EQ(Tool::describeValue(*parser.makeStr(u"あ b")), "string\t\xE3\x81\x82 b");
    EXPECT_EQ(Tool::describeValue(*parser.makeBool(false)), "bool\tfalse");
    EXPECT_EQ(Tool::describeValue(*parser.makeFuncObject(nullptr)), "func\t");
}
