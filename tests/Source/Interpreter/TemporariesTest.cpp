#include <gtest/gtest.h>

#include "Source/Interpreter/ScriptMessages.h"
#include "ScriptTestSupport.h"

using namespace ScriptTest;

TEST(Temporaries, AddressesStayPutWhileALineRuns) {
    Parser parser;
    NumValue* first = parser.makeNum(1.0);
    StrValue* text = parser.makeStr(u"kept");
    for (int i = 0; i < 5000; ++i) {
        parser.makeNum(i);
        parser.makeStr(u"filler text that is longer than the small buffer");
    }
    EXPECT_EQ(first->toNum(), 1.0);
    EXPECT_EQ(text->value(), u"kept");
    EXPECT_TRUE(first->readOnly());
}

TEST(Temporaries, LimitPerKindWithItsMessage) {
    Parser parser;
    for (std::size_t i = 1; i < Parser::kTemporaryLimit; ++i) {
        parser.makeBool(true);
    }
    EXPECT_EQ(parser.temporaryCount(ValueType::Bool), Parser::kTemporaryLimit - 1);
    EXPECT_EQ(messageOf([&] { parser.makeBool(false); }), u"許容量を超えた式があります。");
    // Other kinds keep their own count.
    EXPECT_NO_THROW(parser.makeNum(1));
    parser.resetTemporaries();
    EXPECT_EQ(parser.temporaryCount(ValueType::Bool), 0u);
    EXPECT_NO_THROW(parser.makeBool(false));
}

TEST(Temporaries, ResetReusesStorageInsteadOfGrowing) {
    Parser parser;
    EXPECT_EQ(parser.temporaryChunkCount(), 0u);  // an idle parser holds no chunks
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 600; ++i) {
            parser.makeNum(i);
        }
        parser.resetTemporaries();
    }
    EXPECT_EQ(parser.temporaryChunkCount(), 3u);  // 600 numbers need three chunks of 256
}

TEST(Temporaries, ALineMakingTooManyFails) {
    Parser parser;
    parser.variables().create(u"$s", 2);
    std::u16string line = u"$s = \"\"";
    for (int i = 0; i < 1000; ++i) {
        line += u"+\"x\"";
    }
    TokenBlock block{tokenizeLine(line)};
    EXPECT_NO_THROW(runBlock(parser, block));
    EXPECT_EQ(parser.variables().find(u"$s")->toStr().size(), 1000u);
    // Each run starts from an empty set of temporaries.
    for (int i = 0; i < 200; ++i) {
        runBlock(parser, block);
    }
    EXPECT_LT(parser.temporaryCount(ValueType::String), 3000u);
}
