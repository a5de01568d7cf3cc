#include <gtest/gtest.h>

#include "Source/Interpreter/BuiltInTable.h"
#include "ScriptTestSupport.h"

using namespace ScriptTest;

namespace {

// Counts its calls in $calls so tests can see which conditions were evaluated.
Value* countHandler(Parser& parser, std::u16string_view name) {
    BuiltInArguments args(parser, name);
    Value* result = args.empty() ? parser.makeBool(true) : args.first();
    if (Value* calls = parser.variables().find(u"$calls")) {
        calls->assign(parser, *parser.makeNum(calls->toNum() + 1));
    }
    return result;
}

class StatementTest : public ::testing::Test {
protected:
    StatementTest() {
        table_.add(u"Count", countHandler);
        parser_.setBuiltIns(table_);
        parser_.variables().create(u"$calls", 1);
    }
    void run(const std::vector<std::u16string>& lines) {
        blocks_.push_back(std::make_unique<TokenBlock>(blockOf(lines)));
        runBlock(parser_, *blocks_.back());
    }
    // Runs on an empty control stack, as a fresh block of a fresh character would.
    std::u16string failure(const std::vector<std::u16string>& lines) {
        parser_.controlStack().clear();
        return messageOf([&] { run(lines); });
    }
    double num(const std::u16string& name) { return parser_.variables().find(name)->toNum(); }

    BuiltInTable table_;
    Parser parser_;
    std::vector<std::unique_ptr<TokenBlock>> blocks_;
};

}  // namespace

TEST_F(StatementTest, IfChainsTakeOneBranch) {
    run({u"number $r", u"if (Count(false))", u"$r = 1", u"elseif (Count(true))", u"$r = 2",
         u"elseif (Count(true))", u"$r = 3", u"else", u"$r = 4", u"endif"});
    EXPECT_EQ(num(u"$r"), 2.0);
    EXPECT_EQ(num(u"$calls"), 2.0);
    EXPECT_TRUE(parser_.controlStack().empty());
    run({u"if (Count(true))", u"$r = 5", u"elseif (Count(true))", u"else", u"$r = 6", u"endif"});
    EXPECT_EQ(num(u"$r"), 5.0);
    EXPECT_EQ(num(u"$calls"), 3.0);
    run({u"if (false)", u"elseif (false)", u"else", u"$r = 7", u"endif"});
    EXPECT_EQ(num(u"$r"), 7.0);
}

TEST_F(StatementTest, InactiveBlocksEvaluateNothing) {
    run({u"number $r = 0", u"if (false)", u"while (Count(true))", u"$r = 1", u"$nope = 1", u"break",
         u"endwhile", u"if (Count(true))", u"elseif (Count(true))", u"endif", u"endif"});
    EXPECT_EQ(num(u"$calls"), 0.0);
    EXPECT_EQ(num(u"$r"), 0.0);
    EXPECT_TRUE(parser_.controlStack().empty());
}

TEST_F(StatementTest, WhileWithContinueAndBreak) {
    run({u"number $i = 0, $body = 0", u"while ($i < 3)", u"$i += 1", u"if ($i == 2)", u"continue",
         u"endif", u"$body += 1", u"endwhile"});
    EXPECT_EQ(num(u"$i"), 3.0);
    EXPECT_EQ(num(u"$body"), 2.0);
    EXPECT_TRUE(parser_.controlStack().empty());

    run({u"number $i = 0, $after = 0", u"while (true)", u"$i += 1", u"if ($i == 4)", u"break",
         u"$after = 99", u"endif", u"$after += 1", u"endwhile"});
    EXPECT_EQ(num(u"$i"), 4.0);
    EXPECT_EQ(num(u"$after"), 3.0);
    EXPECT_TRUE(parser_.controlStack().empty());
}

TEST_F(StatementTest, NestedLoops) {
    run({u"number $i = 0, $j, $n = 0", u"while ($i < 3)", u"$j = 0", u"while ($j < 4)", u"$n += 1",
         u"$j += 1", u"endwhile", u"$i += 1", u"endwhile"});
    EXPECT_EQ(num(u"$n"), 12.0);
    EXPECT_TRUE(parser_.controlStack().empty());
}

TEST_F(StatementTest, ReturnEndsTheBlockAndEmptiesTheStack) {
    run({u"number $r = 0", u"while (true)", u"if (true)", u"return", u"endif", u"endwhile", u"$r = 1"});
    EXPECT_EQ(num(u"$r"), 0.0);
    EXPECT_TRUE(parser_.controlStack().empty());
    EXPECT_FALSE(parser_.returnFlag());
}

TEST_F(StatementTest, OpenIfCarriesIntoTheNextBlock) {
    run({u"number $r = 0", u"if (false)"});
    ASSERT_EQ(parser_.controlStack().size(), 1u);
    run({u"$r = 1", u"endif", u"$r += 10"});
    EXPECT_EQ(num(u"$r"), 10.0);
    EXPECT_TRUE(parser_.controlStack().empty());
}

TEST_F(StatementTest, ConditionSyntax) {
    EXPECT_EQ(failure({u"if $calls"}), u"if 文の記述が不正です。");
    EXPECT_EQ(failure({u"if (true) 1"}), u"if 文の記述が不正です。");
    EXPECT_EQ(failure({u"if (true, 1)"}), u"if 文が')'で閉じられていません。");
    EXPECT_EQ(failure({u"while $calls"}), u"while 文の記述が不正です。");
    EXPECT_EQ(failure({u"while (1;)"}), u"while 文が')'で閉じられていません。");
    EXPECT_EQ(failure({u"while (1) x"}), u"while 文の記述が不正です。");
    parser_.controlStack().clear();
    EXPECT_EQ(failure({u"if (false)", u"elseif $calls"}), u"elseif 文の記述が不正です。");
    parser_.controlStack().clear();
    EXPECT_EQ(failure({u"if (false)", u"elseif (true;)"}), u"elseif 文が')'で閉じられていません。");
    parser_.controlStack().clear();
    // Once a branch was taken, the rest of an elseif line is not looked at.
    run({u"if (true)", u"elseif $calls", u"endif"});
    EXPECT_TRUE(parser_.controlStack().empty());
}

TEST_F(StatementTest, UnpairedClosers) {
    EXPECT_EQ(failure({u"elseif (true)"}), u"'elseif' に対応する 'if' が必要です。");
    EXPECT_EQ(failure({u"else"}), u"'else' に対応する 'if' が必要です。");
    EXPECT_EQ(failure({u"endif"}), u"'endif' に対応する 'if' が必要です。");
    EXPECT_EQ(failure({u"endwhile"}), u"'endwhile' に対応する 'while' が必要です。");
    EXPECT_EQ(failure({u"continue"}), u"'continue' が不正な位置で呼び出されています。");
    EXPECT_EQ(failure({u"while (false)", u"else"}), u"'else' に対応する 'if' が必要です。");
    parser_.controlStack().clear();
    EXPECT_EQ(failure({u"if (true)", u"if (true)", u"break"}), u"'break' が不正な位置で呼び出されています。");
    ASSERT_EQ(parser_.controlStack().size(), 2u);
    EXPECT_EQ(parser_.controlStack()[0].state, ControlRecord::Finished);
    EXPECT_EQ(parser_.controlStack()[1].state, ControlRecord::Finished);
}

TEST_F(StatementTest, Declarations) {
    run({u"number $a = 1, $b", u"string $s = 2.9", u"bool $t = \"x\""});
    EXPECT_EQ(num(u"$a"), 1.0);
    EXPECT_EQ(num(u"$b"), 0.0);
    EXPECT_EQ(parser_.variables().find(u"$s")->toStr(), u"2");
    EXPECT_TRUE(parser_.variables().find(u"$t")->toBool());
    run({u"$a = 5", u"number $a", u"number $b = $a + 1"});
    EXPECT_EQ(num(u"$a"), 5.0);
    EXPECT_EQ(num(u"$b"), 6.0);
    EXPECT_EQ(failure({u"string $a"}), u"'$a' は別の型で宣言されています。");
    EXPECT_EQ(failure({u"number $a $b"}), u"変数宣言の終わりが不正です。");
    EXPECT_EQ(failure({u"number $a = 1;"}), u"変数宣言の終わりが不正です。");
    EXPECT_EQ(failure({u"bool"}), u"''は変数名として使用できません。");
    EXPECT_EQ(failure({u"number,$x"}), u"','は変数名として使用できません。");
    // After cleaning "number 5" is the identifier "number5".
    EXPECT_EQ(failure({u"number 5"}), u"不正な値 'number5' が設定されています。");
    TokenBlock block{{Token(TokenKind::KwNumber, 0, u"number"), Token(TokenKind::Number, 5, u"5")}};
    EXPECT_EQ(messageOf([&] { runBlock(parser_, block); }), u"'5'は変数名として使用できません。");
}

TEST_F(StatementTest, ExpressionStatementsIgnoreTrailingTokens) {
    run({u"number $a", u"$a = 1 ; $a = 2"});
    EXPECT_EQ(num(u"$a"), 1.0);
    TokenBlock block{tokenizeLine(u"$a=3)")};
    runBlock(parser_, block);
    EXPECT_EQ(num(u"$a"), 3.0);
}

TEST_F(StatementTest, FailedStatementKeepsEarlierAssignments) {
    EXPECT_EQ(failure({u"number $a", u"$a = 4, 1 / 0"}), u"0除算がされています。");
    EXPECT_EQ(num(u"$a"), 4.0);
}

TEST_F(StatementTest, CodeRunFromABuiltInLeavesTheCallerWhereItWas) {
    // A built-in that runs stored code of its own (as captured actions do) saves and
    // restores the caller's position.
    static const TokenBlock inner{tokenizeLine(u"$calls += 100"), tokenizeLine(u"if (true)"),
                                  tokenizeLine(u"$calls += 1000 + 0 * 7"), tokenizeLine(u"return")};
    table_.add(u"RunInner", [](Parser& parser, std::u16string_view) -> Value* {
        ParserPositionSaver saver(parser);
        runBlock(parser, inner);
        return parser.makeNum(5);
    });
    // The 3 and the text made before the call survive the nested block's resets, and
    // its "return" neither ends nor clears the calling block.
    run({u"number $r = 3 + RunInner() + 1", u"string $t = \"x\" + 2 + RunInner()", u"if (true)",
         u"$r += RunInner() * 0 + 10", u"endif"});
    EXPECT_EQ(num(u"$r"), 19.0);
    EXPECT_EQ(parser_.variables().find(u"$t")->toStr(), u"x25");
    EXPECT_EQ(num(u"$calls"), 3300.0);
    EXPECT_TRUE(parser_.controlStack().empty());
    EXPECT_EQ(parser_.temporaryFloor().nums, 0u);
}
