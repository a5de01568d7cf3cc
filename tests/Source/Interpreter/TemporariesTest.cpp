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

TEST(Temporaries, ALineWithManyGivesMostBackAtReset) {
    Parser parser;
    for (int i = 0; i < 20000; ++i) {
        parser.makeStr(u"x");
    }
    EXPECT_GT(parser.temporaryChunkCount(), 70u);
    parser.resetTemporaries();
    EXPECT_EQ(parser.temporaryChunkCount(), TemporaryArray<StrValue>::kKeptChunks);
    StrValue* first = parser.makeStr(u"again");
    EXPECT_EQ(first->value(), u"again");
}

TEST(Temporaries, LongLinesRunRepeatedlyFromEmptyTemporaries) {
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

TEST(Temporaries, ALineMakingTooManyFails) {
    Parser parser;
    std::u16string line = u"1";
    for (int i = 0; i < 60000; ++i) {
        line += u"+1";
    }
    // 60001 literals and 60000 sums: more than the limit of number temporaries.
    TokenBlock block{tokenizeLine(line)};
    EXPECT_EQ(messageOf([&] { runBlock(parser, block); }), u"許容量を超えた式があります。");
}

TEST(Temporaries, ManyIdleCharactersStaySmall) {
    // 255 characters running ordinary lines hold one chunk per kind they used.
    const TokenBlock block{tokenizeLine(u"$n = $n + 1 > 0"), tokenizeLine(u"$s = \"a\" + $n")};
    std::vector<std::unique_ptr<Parser>> parsers;
    for (int i = 0; i < 255; ++i) {
        parsers.push_back(std::make_unique<Parser>());
        parsers.back()->variables().create(u"$n", 1);
        parsers.back()->variables().create(u"$s", 2);
        for (int frame = 0; frame < 30; ++frame) {
            runBlock(*parsers.back(), block);
        }
    }
    for (const auto& parser : parsers) {
        EXPECT_EQ(parser->temporaryChunkCount(), 3u);  // numbers, texts and truth values
    }
}
