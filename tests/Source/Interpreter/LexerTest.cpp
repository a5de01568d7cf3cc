#include <gtest/gtest.h>

#include "ScriptTestSupport.h"

using namespace ScriptTest;

namespace {

std::vector<TokenKind> kindsOf(const TokenLine& line) {
    std::vector<TokenKind> kinds;
    for (const auto& t : line) {
        kinds.push_back(t.kind);
    }
    return kinds;
}

using K = TokenKind;

}  // namespace

TEST(TokenKindTable, HasSixtyFiveTextsAtTheirValues) {
    EXPECT_EQ(tokenKindText(K::Identifier), u"IDENTIFIER");
    EXPECT_EQ(tokenKindText(K::KwNumber), u"number");
    EXPECT_EQ(tokenKindText(K::KwReturn), u"return");
    EXPECT_EQ(tokenKindText(K::Equal), u"==");
    EXPECT_EQ(tokenKindText(K::OrAssign), u"|=");
    EXPECT_EQ(tokenKindText(K::Question), u"?");
    EXPECT_EQ(tokenKindText(K::DummyOperator), u"DUMMY_OPERATOR");
    EXPECT_EQ(tokenKindText(K::UnaryMinus), u"UNARY_MINUS");
    EXPECT_EQ(tokenKindText(K::CloseBracket), u"]");
    EXPECT_EQ(tokenKindText(K::Invalid), u"INVALID");
    EXPECT_EQ(static_cast<int>(K::Invalid), 64);
    EXPECT_TRUE(tokenKindText(static_cast<TokenKind>(65)).empty());
}

TEST(CleanLines, DropsBlanksAndCommentsOutsideStrings) {
    EXPECT_EQ(cleanLines({u"number $count = 10"}), std::vector<std::u16string>{u"number$count=10"});
    EXPECT_EQ(cleanLines({u"$s = \"a b\"  ## note"}), std::vector<std::u16string>{u"$s=\"a b\""});
    EXPECT_EQ(cleanLines({u"a#b"}), std::vector<std::u16string>{u"ab"});
    EXPECT_EQ(cleanLines({u"\"##\"##x"}), std::vector<std::u16string>{u"\"##\""});
    EXPECT_EQ(cleanLines({u"else if"}), std::vector<std::u16string>{u"elseif"});
}

TEST(CleanLines, DecodesEscapesOutsideStringsAndKeepsThemInside) {
    EXPECT_EQ(cleanLines({u"a\\sb\\tc\\nd\\#e\\\\"}), std::vector<std::u16string>{u"a b\tc\nd#e\\"});
    EXPECT_EQ(cleanLines({u"\"a\\\"b\\\\\" x"}), std::vector<std::u16string>{u"\"a\\\"b\\\\\"x"});
}

TEST(CleanLines, UnknownEscapeContinuesIntoNextLine) {
    EXPECT_EQ(cleanLines({u"$a=\\", u"1"}), std::vector<std::u16string>{u"$a=1"});
    EXPECT_EQ(cleanLines({u"$a=\\q rest", u"2"}), std::vector<std::u16string>{u"$a=2"});
}

TEST(CleanLines, JoinsLinesWhileBracketsAreOpen) {
    EXPECT_EQ(cleanLines({u"if ($a == 1", u")"}), std::vector<std::u16string>{u"if($a==1)"});
    EXPECT_EQ(cleanLines({u"", u"x"}), (std::vector<std::u16string>{u"", u"x"}));
}

TEST(CleanLines, DropsBufferLeftOpenAtEndOfFile) {
    EXPECT_EQ(cleanLines({u"a", u"f(", u"b", u"c"}), std::vector<std::u16string>{u"a"});
}

TEST(CleanLines, StringStateCarriesAcrossLines) {
    EXPECT_EQ(cleanLines({u"\"a b", u"c d\" e f"}), (std::vector<std::u16string>{u"\"a b", u"c d\"ef"}));
}

TEST(Tokenize, DeclarationLine) {
    const TokenLine line = tokenizeLine(u"number$count=10");
    ASSERT_EQ(kindsOf(line), (std::vector<K>{K::KwNumber, K::Variable, K::Assign, K::Number}));
    EXPECT_EQ(line[0].text, u"number");
    EXPECT_EQ(line[1].text, u"$count");
    EXPECT_EQ(line[3].number, 10.0);
    EXPECT_EQ(line[3].text, u"10");
}

TEST(Tokenize, KeywordsNeedANonNameCharacterAfterThem) {
    EXPECT_EQ(kindsOf(tokenizeLine(u"elseif(")), (std::vector<K>{K::KwElseIf, K::OpenParen}));
    EXPECT_EQ(kindsOf(tokenizeLine(u"iffy")), std::vector<K>{K::Identifier});
    EXPECT_EQ(kindsOf(tokenizeLine(u"number1")), std::vector<K>{K::Identifier});
    EXPECT_EQ(kindsOf(tokenizeLine(u"true")), std::vector<K>{K::KwTrue});
    const auto line = tokenizeLine(u"$");
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line[0].kind, K::Variable);
    EXPECT_EQ(line[0].text, u"$");
}

TEST(Tokenize, Numbers) {
    auto line = tokenizeLine(u".5");
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line[0].number, 0.5);

    line = tokenizeLine(u"1.2.3");
    ASSERT_EQ(kindsOf(line), (std::vector<K>{K::Number, K::Dot, K::Number}));
    EXPECT_EQ(line[0].text, u"1.2");
    EXPECT_EQ(line[2].number, 3.0);

    line = tokenizeLine(u"1e");
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line[0].text, u"1e");
    EXPECT_EQ(line[0].number, 1.0);

    line = tokenizeLine(u"2.5e-1x");
    ASSERT_EQ(kindsOf(line), (std::vector<K>{K::Number, K::Identifier}));
    EXPECT_EQ(line[0].number, 0.25);

    // A literal whose exponent is out of range takes the literal default, 0.
    EXPECT_EQ(tokenizeLine(u"1e300")[0].number, 0.0);
}

TEST(Tokenize, DigitRightAfterANameIsAnError) {
    EXPECT_EQ(messageOf([] { tokenizeLine(u"\"a\"5"); }), u"不正な値が設定されています。");
    EXPECT_EQ(messageOf([] { tokenizeLine(u"a=あ"); }), u"不正な値が設定されています。");
    EXPECT_EQ(messageOf([] { tokenizeLine(u"@"); }), u"不正な値が設定されています。");
}

TEST(Tokenize, SignFolding) {
    EXPECT_EQ(kindsOf(tokenizeLine(u"$a-1")), (std::vector<K>{K::Variable, K::Minus, K::Number}));
    EXPECT_EQ(kindsOf(tokenizeLine(u"-1")), (std::vector<K>{K::UnaryMinus, K::Number}));
    EXPECT_EQ(kindsOf(tokenizeLine(u"a--b")), (std::vector<K>{K::Identifier, K::Plus, K::Identifier}));
    EXPECT_EQ(kindsOf(tokenizeLine(u"a+-b")), (std::vector<K>{K::Identifier, K::Minus, K::Identifier}));
    EXPECT_EQ(kindsOf(tokenizeLine(u"--b")), (std::vector<K>{K::UnaryPlus, K::Identifier}));
    EXPECT_EQ(kindsOf(tokenizeLine(u"a-+-b")), (std::vector<K>{K::Identifier, K::Plus, K::Identifier}));
    EXPECT_EQ(kindsOf(tokenizeLine(u"(-1")), (std::vector<K>{K::OpenParen, K::UnaryMinus, K::Number}));
    EXPECT_EQ(kindsOf(tokenizeLine(u"]-1")), (std::vector<K>{K::CloseBracket, K::UnaryMinus, K::Number}));
    EXPECT_EQ(kindsOf(tokenizeLine(u")-1")), (std::vector<K>{K::CloseParen, K::Minus, K::Number}));
    EXPECT_EQ(kindsOf(tokenizeLine(u"true-1")), (std::vector<K>{K::KwTrue, K::Minus, K::Number}));
    EXPECT_EQ(kindsOf(tokenizeLine(u"1*-1")), (std::vector<K>{K::Number, K::Multiply, K::UnaryMinus, K::Number}));
    const auto line = tokenizeLine(u"-1");
    EXPECT_EQ(line[0].text, u"UNARY_MINUS");
    EXPECT_EQ(tokenizeLine(u"a--b")[1].text, u"+");
}

TEST(Tokenize, LongerOperatorsWin) {
    EXPECT_EQ(kindsOf(tokenizeLine(u"$a+=1")), (std::vector<K>{K::Variable, K::AddAssign, K::Number}));
    EXPECT_EQ(kindsOf(tokenizeLine(u"a&&b||c")),
              (std::vector<K>{K::Identifier, K::LogicalAnd, K::Identifier, K::LogicalOr, K::Identifier}));
    EXPECT_EQ(kindsOf(tokenizeLine(u"a<=b")), (std::vector<K>{K::Identifier, K::LessEqual, K::Identifier}));
}

TEST(Tokenize, Strings) {
    auto line = tokenizeLine(u"\"x\\q\"");
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line[0].kind, K::String);
    EXPECT_EQ(line[0].text, u"xq");
    line = tokenizeLine(u"\"a\\\"b\\\\c\\nd\\se\\tf\\#\"");
    EXPECT_EQ(line[0].text, u"a\"b\\c\nd e\tf#");
    EXPECT_EQ(messageOf([] { tokenizeLine(u"\"abc"); }), u"\"で閉じられていない文字列があります。");
    EXPECT_EQ(messageOf([] { tokenizeLine(u"\"abc\\\""); }), u"\"で閉じられていない文字列があります。");
}

TEST(Tokenize, EmptyLineAndEndToken) {
    EXPECT_TRUE(tokenizeLine(u"").empty());
    const TokenLine line = tokenizeLine(u"a");
    EXPECT_EQ(tokenAt(line, 1).kind, K::Invalid);
    EXPECT_EQ(&tokenAt(line, 7), &endToken());
    EXPECT_EQ(kindsOf(tokenizeLine(u"a \t b")), (std::vector<K>{K::Identifier, K::Identifier}));
}
