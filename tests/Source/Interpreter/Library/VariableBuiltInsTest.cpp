#include <gtest/gtest.h>

#include "Source/Interpreter/ScriptTestSupport.h"

using namespace ScriptTest;

namespace {

class VariableBuiltIns : public ::testing::Test {
protected:
    void run(const std::vector<std::u16string>& lines) {
        block_ = blockOf(lines);
        runBlock(parser_, block_);
    }
    Value* variable(const std::u16string& name) { return parser_.variables().find(name); }

    Parser parser_;
    TokenBlock block_;
};

}  // namespace

TEST_F(VariableBuiltIns, CreatedVariableIsUsableInScript) {
    run({u"CreateVariable(\"$n\", 5)", u"number $m = $n + 1"});
    EXPECT_EQ(variable(u"$m")->toNum(), 6);
    EXPECT_EQ(variable(u"$n")->typeId(), 1);
}

TEST_F(VariableBuiltIns, NameWithoutDollarIsOnlyReachableByName) {
    run({u"CreateVariable(\"n\", 5)", u"number $m = GetVariable(\"n\") * 2"});
    EXPECT_EQ(variable(u"$m")->toNum(), 10);
    EXPECT_EQ(messageOf([&] { run({u"number $x = $n"}); }), u"変数'$n'が見つかりません。");
}

TEST_F(VariableBuiltIns, GetVariableReturnsTheVariableItself) {
    run({u"number $n = 1", u"GetVariable(\"$n\") = 3"});
    EXPECT_EQ(variable(u"$n")->toNum(), 3);
    run({u"GetVariable(\"$n\") += 2"});
    EXPECT_EQ(variable(u"$n")->toNum(), 5);
    // An absent variable gives a read-only 0, so assigning through it is an error.
    EXPECT_EQ(messageOf([&] { run({u"GetVariable(\"$none\") = 3"}); }), u"'0'には代入できません。");
}

TEST_F(VariableBuiltIns, CreateOnAnExistingTextKeepsItsKind) {
    run({u"string $s = \"x\"", u"CreateVariable(\"$s\", 5)"});
    EXPECT_EQ(variable(u"$s")->typeId(), 2);
    EXPECT_EQ(variable(u"$s")->toStr(), u"5");
}

TEST_F(VariableBuiltIns, CreateTakesTheValuesKind) {
    run({u"CreateVariable(\"$t\", \"hi\")", u"CreateVariable(\"$b\", 1 == 1)"});
    EXPECT_EQ(variable(u"$t")->typeId(), 2);
    EXPECT_EQ(variable(u"$t")->toStr(), u"hi");
    EXPECT_EQ(variable(u"$b")->typeId(), 3);
    EXPECT_TRUE(variable(u"$b")->toBool());
}

TEST_F(VariableBuiltIns, CreateResultIsWritableOrZero) {
    run({u"CreateVariable(\"$n\", 1) = 7"});
    EXPECT_EQ(variable(u"$n")->toNum(), 7);
    // The void value (an empty argument) has no kind to create a variable of.
    run({u"number $r = CreateVariable(\"$v\", )"});
    EXPECT_EQ(variable(u"$v"), nullptr);
    EXPECT_EQ(variable(u"$r")->toNum(), 0);
}

TEST_F(VariableBuiltIns, SetVariableOnlyChangesExistingOnes) {
    run({u"bool $b", u"SetVariable(\"$b\", \"text\")", u"SetVariable(\"$nope\", 1)"});
    EXPECT_TRUE(variable(u"$b")->toBool());
    EXPECT_EQ(variable(u"$nope"), nullptr);
}

TEST_F(VariableBuiltIns, MissingArgumentsDoNothing) {
    run({u"number $a = CreateVariable()", u"number $b = CreateVariable(\"$x\")", u"number $c = GetVariable()",
         u"number $d = SetVariable(\"$a\")"});
    EXPECT_EQ(variable(u"$x"), nullptr);
    EXPECT_EQ(variable(u"$a")->toNum(), 0);
    EXPECT_EQ(variable(u"$c")->toNum(), 0);
}
