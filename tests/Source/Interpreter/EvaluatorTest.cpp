#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/RegisterRecord.h"
#include "Source/Interpreter/ScopeNode.h"
#include "Source/Interpreter/ScriptHost.h"
#include "ScriptTestSupport.h"

using namespace ScriptTest;

namespace {

class EvaluatorTest : public ::testing::Test {
protected:
    Value* eval(const std::u16string& raw) { return evaluation_(raw); }
    std::u16string failure(const std::u16string& raw) {
        return messageOf([&] { evaluation_(raw); });
    }
    Value* declare(const std::u16string& name, int type) { return parser_.variables().create(name, type); }

    Parser parser_;
    Evaluation evaluation_{parser_};
};

}  // namespace

TEST_F(EvaluatorTest, LeftOperandDecidesTheKind) {
    Value* v = eval(u"1 + \"2\"");
    ASSERT_EQ(v->typeId(), 1);
    EXPECT_EQ(v->toNum(), 3.0);
    v = eval(u"\"1\" + 2");
    ASSERT_EQ(v->typeId(), 2);
    EXPECT_EQ(v->toStr(), u"12");
    EXPECT_EQ(eval(u"\"a\" + 2.7 + true")->toStr(), u"a2true");
    EXPECT_EQ(failure(u"\"abc\" < \"b\""), u"不正な値が設定されています。");
    EXPECT_EQ(failure(u"true + 1"), u"不正な値が設定されています。");
    EXPECT_EQ(failure(u"-\"a\""), u"不正な値が設定されています。");
    EXPECT_EQ(eval(u"!\"\"")->toBool(), true);
}

TEST_F(EvaluatorTest, EqualityToleranceAndComparisons) {
    EXPECT_TRUE(eval(u"0.1 + 0.2 == 0.3")->toBool());
    EXPECT_FALSE(eval(u"0 == 0.0000001")->toBool());
    EXPECT_TRUE(eval(u"0 == 0")->toBool());
    EXPECT_TRUE(eval(u"1 != 1.001")->toBool());
    EXPECT_FALSE(eval(u"100000000000 == 100000000001")->toBool());
    EXPECT_TRUE(eval(u"1000000000000 == 1000000000001")->toBool());
    EXPECT_TRUE(eval(u"2 >= 2")->toBool());
    EXPECT_FALSE(eval(u"2 < 2")->toBool());
    EXPECT_TRUE(eval(u"\"a\" == \"a\"")->toBool());
    EXPECT_FALSE(eval(u"\"a\" == \"A\"")->toBool());
    EXPECT_TRUE(eval(u"true == 5")->toBool());
    // Equalities group from the left: (2 == 2) == 1, not 2 == (2 == 1).
    EXPECT_TRUE(eval(u"2 == 2 == 1")->toBool());
    EXPECT_TRUE(eval(u"1 != 2 != 0")->toBool());
}

TEST_F(EvaluatorTest, ArithmeticAndZeroChecks) {
    EXPECT_EQ(failure(u"7 % 0"), u"0除算がされています。");
    EXPECT_EQ(failure(u"7 / 0"), u"0除算がされています。");
    EXPECT_EQ(failure(u"7 % 0.5"), u"0除算がされています。");
    EXPECT_EQ(eval(u"7.9 % 2.5")->toNum(), 1.0);
    EXPECT_EQ(eval(u"-7 % 2")->toNum(), -1.0);
    EXPECT_EQ(eval(u"-2147483648 % -1")->toNum(), 0.0);
    EXPECT_EQ(eval(u"2 + 3 * 4")->toNum(), 14.0);
    EXPECT_EQ(eval(u"10 - 4 - 3")->toNum(), 3.0);
    EXPECT_EQ(eval(u"(2 + 3) * 4")->toNum(), 20.0);
    EXPECT_EQ(eval(u"[2 + 3] * 4")->toNum(), 20.0);
    EXPECT_EQ(eval(u"6 & 3 | 8 ^ 1")->toNum(), 11.0);  // (6&3) | (8^1)
    EXPECT_EQ(eval(u"~0")->toNum(), -1.0);
    EXPECT_EQ(eval(u"- -3")->toNum(), 3.0);
    EXPECT_TRUE(eval(u"1 < 2 && 2 < 3")->toBool());
    EXPECT_EQ(eval(u"1 < 2 == true")->typeId(), 3);
}

TEST_F(EvaluatorTest, AssignmentsAndReadOnlyValues) {
    declare(u"$a", 1);
    declare(u"$b", 1);
    declare(u"$s", 2);
    EXPECT_EQ(eval(u"$a = $b = 5")->toNum(), 5.0);
    EXPECT_EQ(parser_.variables().find(u"$a")->toNum(), 5.0);
    EXPECT_EQ(parser_.variables().find(u"$b")->toNum(), 5.0);
    EXPECT_EQ(failure(u"5 = $a"), u"'5'には代入できません。");
    EXPECT_EQ(failure(u"($a + 1) = 2"), u"'6'には代入できません。");
    eval(u"$s = 2.9");
    EXPECT_EQ(parser_.variables().find(u"$s")->toStr(), u"2");
    eval(u"$s += \"x\"");
    EXPECT_EQ(parser_.variables().find(u"$s")->toStr(), u"2x");
    eval(u"$s += $s");
    EXPECT_EQ(parser_.variables().find(u"$s")->toStr(), u"2x2x");
    eval(u"$a %= 3");
    EXPECT_EQ(parser_.variables().find(u"$a")->toNum(), 2.0);
    EXPECT_EQ(failure(u"$a /= 0"), u"0除算がされています。");
    eval(u"$a |= 5");
    EXPECT_EQ(parser_.variables().find(u"$a")->toNum(), 7.0);
    EXPECT_EQ(failure(u"$s -= 1"), u"不正な値が設定されています。");
    EXPECT_EQ(failure(u"$zz = 1"), u"変数'$zz'が見つかりません。");
}

TEST_F(EvaluatorTest, ConditionalEvaluatesBothSides) {
    declare(u"$x", 1);
    declare(u"$y", 1);
    EXPECT_EQ(eval(u"true ? 1 : 2")->toNum(), 1.0);
    EXPECT_EQ(eval(u"false ? 1 : 2")->toNum(), 2.0);
    eval(u"true ? ($x = 1) : ($y = 2)");
    EXPECT_EQ(parser_.variables().find(u"$x")->toNum(), 1.0);
    EXPECT_EQ(parser_.variables().find(u"$y")->toNum(), 2.0);
    // Without brackets "?" leaves the stack before "=" arrives, so the line becomes an
    // assignment to a literal.
    EXPECT_EQ(failure(u"true ? $x = 3 : $y = 4"), u"'3'には代入できません。");
    EXPECT_EQ(parser_.variables().find(u"$x")->toNum(), 1.0);
    EXPECT_EQ(parser_.variables().find(u"$y")->toNum(), 4.0);
}

TEST_F(EvaluatorTest, CommaAndArgumentMode) {
    EXPECT_EQ(eval(u"1, 2")->toNum(), 2.0);
    parser_.resetTemporaries();
    const TokenLine line = lineOf(u"1, 2");
    parser_.setLine(line);
    EXPECT_EQ(evaluate(parser_, true)->toNum(), 1.0);
    EXPECT_EQ(parser_.currentToken().kind, TokenKind::Comma);
}

TEST_F(EvaluatorTest, BracketsAndExpressionEnds) {
    EXPECT_EQ(failure(u"(1 + 2]"), u"<no exception>");  // cleaning drops the open line
    parser_.resetTemporaries();
    TokenLine line = tokenizeLine(u"(1+2");
    parser_.setLine(line);
    EXPECT_EQ(messageOf([&] { evaluate(parser_, false); }), u" ')' が閉じられていません。");
    line = tokenizeLine(u"(1+2]");
    parser_.setLine(line);
    EXPECT_EQ(messageOf([&] { evaluate(parser_, false); }), u" ')' が閉じられていません。");
    line = tokenizeLine(u"[1+2)");
    parser_.setLine(line);
    EXPECT_EQ(messageOf([&] { evaluate(parser_, false); }), u" ']' が閉じられていません。");
    line = tokenizeLine(u"1+2)");
    parser_.setLine(line);
    EXPECT_EQ(evaluate(parser_, false)->toNum(), 3.0);
    EXPECT_EQ(parser_.tokenIndex(), 3);
    line = tokenizeLine(u"1+2;4");
    parser_.setLine(line);
    EXPECT_EQ(evaluate(parser_, false)->toNum(), 3.0);
    EXPECT_EQ(parser_.currentToken().kind, TokenKind::Semicolon);
    line = tokenizeLine(u"");
    parser_.setLine(line);
    EXPECT_EQ(evaluate(parser_, false), Parser::voidValue());
}

TEST_F(EvaluatorTest, OperatorsOnVoidAndMissingOperands) {
    EXPECT_EQ(failure(u"* 3"), u"不正な演算が行われました。");
    EXPECT_EQ(failure(u"1.2.3"), u"不正な値が設定されています。");
    TokenLine line{Token(TokenKind::Question, 0, u"?"), Token(TokenKind::Number, 1, u"1")};
    parser_.setLine(line);
    EXPECT_EQ(messageOf([&] { evaluate(parser_, false); }), u"不正な値が設定されています。");
}

namespace {

// A host whose cursor stands at (12, 34).
class CursorHost : public Quenta::Interpreter::ScriptHost {
public:
    double systemVariable(Quenta::Interpreter::SystemVariable variable) const override {
        using Quenta::Interpreter::SystemVariable;
        return variable == SystemVariable::MouseX ? 12.0 : variable == SystemVariable::MouseY ? 34.0 : 0.0;
    }
};

}  // namespace

TEST_F(EvaluatorTest, UnknownIdentifiersAndSystemVariables) {
    using Quenta::Interpreter::ScriptHost;
    EXPECT_EQ(failure(u"Foo"), u"不正な値 'Foo' が設定されています。");
    // Without a program the variables exist and read 0.
    EXPECT_EQ(eval(u"MouseX + Width")->toNum(), 0.0);
    CursorHost host;
    ScriptHost::install(host);
    EXPECT_EQ(eval(u"MouseX + MouseY")->toNum(), 46.0);
    ScriptHost::uninstall(host);
    EXPECT_EQ(eval(u"MouseY")->toNum(), 0.0);
    // The names are case-sensitive.
    EXPECT_EQ(failure(u"mousex"), u"不正な値 'mousex' が設定されています。");
}

namespace {

class TestRecord : public RegisterRecord {
public:
    TestRecord(std::u16string name, int index) : name_(std::move(name)), index_(index) {}
    const std::u16string& funcName() const override { return name_; }
    int recordIndex() const override { return index_; }

private:
    std::u16string name_;
    int index_;
};

}  // namespace

TEST_F(EvaluatorTest, FunctionObjects) {
    TestRecord first(u"First", 0);
    TestRecord second(u"Second", 1);
    std::vector<RegisterRecord*> records{&first, &second};
    parser_.setFunctionObjects(&records);
    declare(u"$f", 4);
    TokenLine line{Token(TokenKind::Variable, 0, u"$f"), Token(TokenKind::Assign, 0, u"="),
                   Token(TokenKind::FuncBlock, 1, u"Second"), Token(TokenKind::Multiply, 0, u"*"),
                   Token(TokenKind::Number, 2.5, u"2.5")};
    parser_.setLine(line);
    Value* result = evaluate(parser_, false);
    auto* f = static_cast<FuncObjectValue*>(parser_.variables().find(u"$f"));
    EXPECT_EQ(result, f);
    EXPECT_EQ(f->record(), &second);
    EXPECT_EQ(f->weight(), 2.5);
    EXPECT_EQ(f->toStr(), u"Second");
    EXPECT_EQ(f->toNum(), 1.0);

    line = {Token(TokenKind::Variable, 0, u"$f"), Token(TokenKind::Assign, 0, u"="),
            Token(TokenKind::Number, 1, u"1")};
    parser_.setLine(line);
    EXPECT_EQ(messageOf([&] { evaluate(parser_, false); }), u"不正な値が設定されています。");
    line = {Token(TokenKind::UnaryMinus, 0, u"UNARY_MINUS"), Token(TokenKind::FuncBlock, 0, u"First")};
    parser_.setLine(line);
    EXPECT_EQ(messageOf([&] { evaluate(parser_, false); }), u"不正な演算が行われました。");
    EXPECT_EQ(messageOf([&] { f->assign(parser_, *parser_.makeNum(1)); }), u"'Second'には代入できません。");
}

TEST_F(EvaluatorTest, ConversionAssignment) {
    Value* n = declare(u"$n", 1);
    n->assign(parser_, *parser_.makeStr(u"12abc"));
    EXPECT_EQ(n->toNum(), 12.0);
    Value* b = declare(u"$b", 3);
    b->assign(parser_, *parser_.makeStr(u"x"));
    EXPECT_TRUE(b->toBool());
    EXPECT_EQ(messageOf([&] { Parser::voidValue()->assign(parser_, *n); }), u"型が無い値に代入処理が行われました。");
    EXPECT_EQ(messageOf([&] { parser_.makeNum(4)->assign(parser_, *n); }), u"'4'には代入できません。");
}

namespace {

Value* sumHandler(Parser& parser, std::u16string_view name) {
    BuiltInArguments args(parser, name);
    if (args.empty()) {
        return parser.makeNum(0);
    }
    double total = args.first()->toNum();
    while (args.hasMore()) {
        total += args.next()->toNum();
    }
    return parser.makeNum(total);
}

Value* pairHandler(Parser& parser, std::u16string_view name) {
    BuiltInArguments args(parser, name);
    Value* a = args.first();
    Value* b = args.next();
    return parser.makeStr(a->toStr() + u"|" + b->toStr());
}

Value* openHandler(Parser& parser, std::u16string_view) {
    evaluate(parser, true);
    parser.nextToken();  // swallows the ")"
    return Parser::voidValue();
}

}  // namespace

TEST_F(EvaluatorTest, BuiltInCallProtocol) {
    BuiltInTable table;
    EXPECT_TRUE(table.add(u"Sum", sumHandler));
    EXPECT_FALSE(table.add(u"Sum", pairHandler));
    EXPECT_TRUE(table.add(u"Pair", pairHandler));
    EXPECT_TRUE(table.add(u"Open", openHandler));
    parser_.setBuiltIns(table);
    EXPECT_EQ(eval(u"Sum()")->toNum(), 0.0);
    EXPECT_EQ(eval(u"Sum(1, 2 * 3, Sum(4, 5)) + 1")->toNum(), 17.0);
    EXPECT_EQ(eval(u"Pair(\"a\", 1 + 1)")->toStr(), u"a|2");
    EXPECT_EQ(failure(u"Pair(1)"), u"呼び出された命令Pairの記述が不正です。");
    EXPECT_EQ(failure(u"sum(1)"), u"存在しない命令sumが呼び出されています。");
    EXPECT_EQ(failure(u"Open(1)"), u"呼び出された命令Openが')'で閉じられていません。");
    EXPECT_EQ(failure(u"Sum(1;2)"), u"呼び出された命令Sumが')'で閉じられていません。");
}

TEST_F(EvaluatorTest, ParametersAndObjectPaths) {
    ScopeNode root(u"root");
    root.setNumber(u"NORMAL", 0);
    ScopeNode& foo = root.addChild(u"Foo");
    ScopeNode& bar = foo.addChild(u"Bar");
    bar.setString(u"Baz", u"deep");
    bar.setNumber(u"Num", 7);
    bar.setParameter(u"Odd", Token(TokenKind::KwTrue, 0, u"true"));
    ScopeNode local(u"local");
    local.setNumber(u"WAIT", 1);
    ScopePush pushRoot(parser_, root);
    {
        ScopePush pushLocal(parser_, local);
        EXPECT_EQ(eval(u"WAIT + NORMAL")->toNum(), 1.0);
        EXPECT_EQ(eval(u"Foo.Bar.Baz")->toStr(), u"deep");
        EXPECT_EQ(eval(u"Foo.Bar.Num * 2")->toNum(), 14.0);
        EXPECT_EQ(eval(u"local.WAIT")->toNum(), 1.0);
        EXPECT_EQ(failure(u"Foo.Bar.NORMAL"), u"不正な値 'NORMAL' が設定されています。");
        EXPECT_EQ(failure(u"Foo.Nope.Baz"), u"不正な値 'Nope' が設定されています。");
        EXPECT_EQ(failure(u"Nope.Baz"), u"不正な値 'Nope' が設定されています。");
        EXPECT_EQ(failure(u"Foo.Bar.Odd"), u"不正な値 'Odd' が設定されています。");
        EXPECT_EQ(failure(u"Foo.5"), u"不正な値 '5' が設定されています。");
        EXPECT_EQ(failure(u"WAIT = 3"), u"'1'には代入できません。");
        EXPECT_EQ(parser_.scope(), &local);
    }
    EXPECT_EQ(parser_.scope(), &root);
    EXPECT_EQ(failure(u"WAIT"), u"不正な値 'WAIT' が設定されています。");
    // A node owned elsewhere is reachable while linked, and only then.
    ScopeNode scene(u"Scene");
    scene.setNumber(u"X", 5);
    root.linkChild(scene);
    EXPECT_EQ(eval(u"Scene.X")->toNum(), 5.0);
    root.unlinkChild(scene);
    EXPECT_EQ(failure(u"Scene.X"), u"不正な値 'Scene' が設定されています。");
    EXPECT_EQ(root.children().size(), 1u);
}

TEST_F(EvaluatorTest, RememberedLookupsFollowTableChanges) {
    declare(u"$v", 1)->assign(parser_, *parser_.makeNum(1));
    const TokenBlock block{lineOf(u"$v + 1")};
    parser_.setLine(block[0]);
    EXPECT_EQ(evaluate(parser_, false)->toNum(), 2.0);
    // A cleared table forgets what the token remembered.
    parser_.variables().clear();
    declare(u"$v", 2)->assign(parser_, *parser_.makeNum(7));
    parser_.setLine(block[0]);
    EXPECT_EQ(evaluate(parser_, false)->toStr(), u"71");
    parser_.variables().clear();
    parser_.setLine(block[0]);
    EXPECT_EQ(messageOf([&] { evaluate(parser_, false); }), u"変数'$v'が見つかりません。");
    // Another parser with its own table does not see this one's variable.
    Parser other;
    other.variables().create(u"$v", 1);
    other.setLine(block[0]);
    EXPECT_EQ(evaluate(other, false)->toNum(), 1.0);
    parser_.setLine(block[0]);
    EXPECT_EQ(messageOf([&] { evaluate(parser_, false); }), u"変数'$v'が見つかりません。");

    BuiltInTable table;
    parser_.setBuiltIns(table);
    const TokenBlock call{lineOf(u"Late(3)")};
    parser_.setLine(call[0]);
    EXPECT_EQ(messageOf([&] { evaluate(parser_, false); }), u"存在しない命令Lateが呼び出されています。");
    EXPECT_FALSE(table.add(u"Late", nullptr));
    EXPECT_TRUE(table.add(u"Late", sumHandler));
    parser_.setLine(call[0]);
    EXPECT_EQ(evaluate(parser_, false)->toNum(), 3.0);
}
