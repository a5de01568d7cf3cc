// The word recognition tree and its built-ins, run as a character's scripts.
#include <gtest/gtest.h>

#include <fstream>

#include "Source/Interpreter/RulePattern.h"
#include "Source/Interpreter/ScriptTestSupport.h"
#include "Source/Interpreter/StandaloneScriptOwner.h"
#include "Source/Interpreter/WordRecognition.h"
#include "framework/Text/Utf.h"
#include "support/TestPaths.h"

using namespace ScriptTest;
namespace fs = std::filesystem;

namespace {

class WordRecognitionScript : public ::testing::Test {
protected:
    WordRecognitionScript() : owner_(u"Tester", temp_.path(), temp_.path()), parser_(&owner_) {
        owner_.setVariableTable(&parser_.variables());
        run({u"string $hit = \"\""});
    }
    void run(const std::vector<std::u16string>& lines) {
        blocks_.push_back(blockOf(lines));
        runBlock(parser_, blocks_.back());
    }
    std::u16string text(const std::u16string& name) {
        Value* v = parser_.variables().find(name);
        return v ? v->toStr() : u"<none>";
    }
    // WRRecognize(trees, text) into $ok, and what the winning action wrote to $hit.
    std::u16string recognize(const std::u16string& trees, const std::u16string& input) {
        run({u"$hit = \"\"", u"bool $ok = WRRecognize(\"" + trees + u"\", \"" + input + u"\")"});
        return text(u"$ok") == u"true" ? text(u"$hit") : u"<no match>";
    }
    void write(const std::string& name, const std::string& bytes) {
        std::ofstream(temp_.path() / name, std::ios::binary) << bytes;
    }

    Testing::TempDir temp_;
    StandaloneScriptOwner owner_;
    Parser parser_;
    std::vector<TokenBlock> blocks_;
};

std::vector<WordList> expand(std::u16string_view pattern) {
    return expandRulePattern(pattern).value_or(std::vector<WordList>{{u"<rejected>"}});
}

}  // namespace

TEST_F(WordRecognitionScript, LongestCoverWinsAndEqualScoresKeepTheFirstMet) {
    run({u"WRAddCondition(\"t\", \"X\", \"\", SetVariable(\"$hit\", \"x\"))",
         u"WRAddCondition(\"t\", \"X YZ\", \"\", SetVariable(\"$hit\", \"xyz\"))",
         u"WRAddCondition(\"t\", \"AB\", \"\", SetVariable(\"$hit\", \"ab\"))",
         u"WRAddCondition(\"t\", \"CD\", \"\", SetVariable(\"$hit\", \"cd\"))"});
    EXPECT_EQ(recognize(u"t", u"X then YZ"), u"xyz");
    EXPECT_EQ(recognize(u"t", u"YZ then X"), u"x");  // words count only in order
    EXPECT_EQ(recognize(u"t", u"CD AB"), u"ab");     // equal length: insertion order
    EXPECT_EQ(recognize(u"t", u"nothing"), u"<no match>");
}

TEST_F(WordRecognitionScript, ExclusionWordsAnywhereStopACondition) {
    run({u"WRAddCondition(\"t\", \"open mail\", \"never|x not\", SetVariable(\"$hit\", \"mail\"))",
         u"WRAddCondition(\"t\", \"open\", \"\", SetVariable(\"$hit\", \"open\"))"});
    EXPECT_EQ(recognize(u"t", u"open mail"), u"mail");
    EXPECT_EQ(recognize(u"t", u"do not open mail"), u"open");
    EXPECT_EQ(recognize(u"t", u"not open mail"), u"open");
}

TEST_F(WordRecognitionScript, LaterTreesNeedAStrictlyLongerMatch) {
    run({u"WRAddCondition(\"a\", \"go\", \"\", SetVariable(\"$hit\", \"a\"))",
         u"WRAddCondition(\"b\", \"go\", \"\", SetVariable(\"$hit\", \"b\"))",
         u"WRAddCondition(\"b\", \"go on\", \"\", SetVariable(\"$hit\", \"b2\"))"});
    EXPECT_EQ(recognize(u"a, b", u"go"), u"a");
    EXPECT_EQ(recognize(u" b ,a", u"go"), u"b");
    EXPECT_EQ(recognize(u"a,\tb", u"go on"), u"b2");
    // Naming a tree that does not exist creates it, empty.
    EXPECT_EQ(recognize(u"new", u"go"), u"<no match>");
    EXPECT_NE(owner_.wordRecognitionTrees()->find(u"new"), nullptr);
    run({u"bool $c = WRClearConditions(\"a\")", u"bool $d = WRClearConditions(\"missing\")"});
    EXPECT_EQ(recognize(u"a", u"go"), u"<no match>");
    EXPECT_EQ(owner_.wordRecognitionTrees()->find(u"missing"), nullptr);
}

TEST_F(WordRecognitionScript, SameWordsTwiceKeepTheLaterActionAndEmptyWordsChangeNothing) {
    run({u"WRAddCondition(\"t\", \"hi\", \"\", SetVariable(\"$hit\", \"first\"))",
         u"WRAddCondition(\"t\", \"hi\", \"\", SetVariable(\"$hit\", \"second\"))",
         u"WRAddCondition(\"t\", \"a  b\", \"\", SetVariable(\"$hit\", \"ab\"))",
         u"WRAddCondition(\"t\", \"a b\", \"\", SetVariable(\"$hit\", \"ab2\"))"});
    EXPECT_EQ(recognize(u"t", u"hi"), u"second");
    EXPECT_EQ(recognize(u"t", u"a b"), u"ab2");
    const WordRecognitionRootNode& root = owner_.wordRecognitionTrees()->tree(u"t");
    ASSERT_EQ(root.childCount(), 2u);
    EXPECT_EQ(root.children()[0]->word(), u"hi");
    EXPECT_EQ(root.children()[0]->childCount(), 1u);
    EXPECT_EQ(root.children()[1]->bestReach(), 2);
}

TEST_F(WordRecognitionScript, ActionsSeeValuesOfTheirCaptureAndMayClearTheirTree) {
    run({u"string $what = \"then\"", u"number $n = 2",
         u"WRAddCondition(\"t\", \"go\", \"\", SetVariable(\"$hit\", $what + ToStr($n)) | WRClearConditions(\"t\"))",
         u"$what = \"now\""});
    EXPECT_EQ(recognize(u"t", u"go"), u"then2");
    EXPECT_EQ(recognize(u"t", u"go"), u"<no match>");
    EXPECT_EQ(messageOf([&] { run({u"WRAddCondition(\"t\", \"x\", \"\", $missing)"}); }),
              u"変数'$missing'が見つかりません。");
}

TEST_F(WordRecognitionScript, WithoutACharacterNothingIsAddedOrRecognised) {
    Parser lone;
    const TokenBlock block = blockOf({u"number $a = WRAddCondition(\"t\", \"x\", \"\", $undefinedIsNotRead)",
                                      u"bool $r = WRRecognize(\"t\", \"x\")", u"bool $c = WRClearConditions(\"t\")",
                                      u"bool $f = WRAddConditionsFromCommandTemplate(\"t\", \"a.ctpl\")"});
    runBlock(lone, block);
    EXPECT_EQ(lone.variables().find(u"$a")->toNum(), 0);
    EXPECT_FALSE(lone.variables().find(u"$r")->toBool());
    EXPECT_FALSE(lone.variables().find(u"$c")->toBool());
    EXPECT_FALSE(lone.variables().find(u"$f")->toBool());
}

TEST(RulePattern, GroupsAlternativesAndShortenedWords) {
    using L = std::vector<WordList>;
    EXPECT_EQ(expand(u"(A|B)C"), (L{{u"A", u"C"}, {u"B", u"C"}}));
    EXPECT_EQ(expand(u"(A|B)?C"), (L{{u"C"}}));
    EXPECT_EQ(expand(u"AB?C"), (L{{u"A", u"C"}}));
    EXPECT_EQ(expand(u"X(A\u3001B|C)(D|E)"),
              (L{{u"X", u"A", u"B", u"D"}, {u"X", u"A", u"B", u"E"}, {u"X", u"C", u"D"}, {u"X", u"C", u"E"}}));
    EXPECT_EQ(expand(u"open the browser"), (L{{u"open the browser"}}));
    EXPECT_EQ(expand(u"a\u3001b"), (L{{u"a", u"b"}}));
    for (const char16_t* bad : {u"", u"\u3001a", u"a\u3001\u3001b", u"((a))", u"a)", u"a|b", u"(a", u"(|a)", u"(a|)",
                                u"?a", u"a??", u"(?a)", u"a\u3001(\u3001b)", u"(a\u3001)\u3001b"}) {
        EXPECT_FALSE(expandRulePattern(bad)) << Arbor::Text::toUtf8(bad);
    }
    // Groups multiply: a pattern that would explode is refused.
    std::u16string huge;
    for (int i = 0; i < 13; ++i) huge += u"(a|b)";
    EXPECT_FALSE(expandRulePattern(huge));
}

TEST_F(WordRecognitionScript, TemplateCommandsSetTheShortcutVariables) {
    write("t.ctpl", R"({"Version":"1.01",
      "Basic":{"Apps":{"CommandItems":{
        "$c_web":{"Message":"Opening the browser","Command":"https://example.org","Rules":[["open\u3001(the|a)?\u3001browser","",""]]}}}},
      "Shortcut":{"Keys":{"CommandItems":{
        "$u_copy":{"Message":"Copied","Command":"Ctrl+C","InputType":2,"IsRepeatable":true,"Rules":[["copy","","never"]]}}}},
      "Other":{"G":{"CommandItems":{"$u_x":{"Rules":[["other","",""]]}}}}})");
    write("s.cnf", "$u_copy = \"Ctrl+Insert\"  ## mine\n");
    run({u"bool $v = SetVariablesFromFile(\"t.ctpl\")", u"bool $s = SetVariablesFromFile(\"s.cnf\")",
         u"bool $w = WRAddConditionsFromCommandTemplate(\"voice\", \"t.ctpl\")",
         u"string $toastMessage = \"\"", u"string $softPath = \"\"", u"string $keyCommand = \"\"",
         u"bool $canNumberOfTimes = false", u"number $inputKeyType__ = 0"});
    EXPECT_EQ(text(u"$v"), u"true");
    EXPECT_EQ(text(u"$w"), u"true");
    EXPECT_EQ(text(u"$c_web"), u"https://example.org");
    EXPECT_EQ(text(u"$u_copy"), u"Ctrl+Insert");
    run({u"bool $ok = WRRecognize(\"voice\", \"please open browser\")"});
    EXPECT_EQ(text(u"$ok"), u"true");
    EXPECT_EQ(text(u"$softPath"), u"https://example.org");
    EXPECT_EQ(text(u"$toastMessage"), u"Opening the browser");
    run({u"bool $ok = WRRecognize(\"voice\", \"copy that\")"});
    EXPECT_EQ(text(u"$keyCommand"), u"Ctrl+Insert");
    EXPECT_EQ(text(u"$canNumberOfTimes"), u"true");
    EXPECT_EQ(text(u"$inputKeyType__"), u"2");
    run({u"bool $ok = WRRecognize(\"voice\", \"never copy\")", u"bool $o2 = WRRecognize(\"voice\", \"other\")"});
    EXPECT_EQ(text(u"$ok"), u"false");
    EXPECT_EQ(text(u"$o2"), u"false");  // a category without actions adds no condition

    run({u"ClearShortcutVariables()"});
    EXPECT_EQ(text(u"$u_copy"), u"");
    EXPECT_EQ(text(u"$c_web"), u"");
    EXPECT_EQ(text(u"$softPath"), u"https://example.org");
}

TEST_F(WordRecognitionScript, TemplateLimitsAndBadFiles) {
    write("t.ctpl", R"({"Basic":{"G":{"CommandItems":{"$a":{"Rules":[["alpha","",""]]},"$b":{"Rules":[["beta","",""]]}}}}})");
    write("empty.ctpl", "{}");
    write("broken.ctpl", "{\"Basic\":");
    write("t.txt", "{}");
    write("none.cnf", "");
    write("comments.cnf", "# nothing\n\n");
    run({u"bool $z = WRAddConditionsFromCommandTemplate(\"a\", \"t.ctpl\", 0)",
         u"bool $one = WRAddConditionsFromCommandTemplate(\"b\", \"t.ctpl\", 1)",
         u"bool $two = WRAddConditionsFromCommandTemplate(\"c\", \"t.ctpl\", 2)",
         u"bool $e = WRAddConditionsFromCommandTemplate(\"d\", \"empty.ctpl\", 0)",
         u"bool $br = WRAddConditionsFromCommandTemplate(\"e\", \"broken.ctpl\")",
         u"bool $txt = WRAddConditionsFromCommandTemplate(\"f\", \"t.txt\")",
         u"bool $miss = WRAddConditionsFromCommandTemplate(\"g\", \"missing.ctpl\")",
         u"bool $s1 = SetVariablesFromFile(\"none.cnf\")", u"bool $s2 = SetVariablesFromFile(\"comments.cnf\")",
         u"bool $s3 = SetVariablesFromFile(\"t.txt\")", u"bool $s4 = SetVariablesFromFile(\"missing.cnf\")",
         u"bool $s5 = SetVariablesFromFile()"});
    EXPECT_EQ(text(u"$z"), u"false");
    EXPECT_TRUE(owner_.wordRecognitionTrees()->tree(u"a").children().empty());
    EXPECT_EQ(text(u"$one"), u"false");
    EXPECT_EQ(owner_.wordRecognitionTrees()->tree(u"b").childCount(), 1u);  // what was added stays
    EXPECT_EQ(text(u"$two"), u"true");
    EXPECT_EQ(text(u"$e"), u"true");
    EXPECT_EQ(text(u"$br"), u"true");  // a broken template has no commands
    EXPECT_EQ(text(u"$txt"), u"false");
    EXPECT_EQ(text(u"$miss"), u"false");
    EXPECT_EQ(text(u"$s1"), u"false");
    EXPECT_EQ(text(u"$s2"), u"true");
    EXPECT_EQ(text(u"$s3"), u"false");
    EXPECT_EQ(text(u"$s4"), u"false");
    EXPECT_EQ(text(u"$s5"), u"false");
}

TEST_F(WordRecognitionScript, SpeechBuiltInsWithoutARecogniserGiveTheirFailureValues) {
    run({u"number $i0 = InitializeSpeechRecognition()", u"bool $i1 = InitializeSpeechRecognition(\"x.jconf\")",
         u"bool $a = AddGrammarSpeechRecognition(\"g\", \"grammar\")", u"bool $st = StartSpeechRecognition()",
         u"number $sp = StopSpeechRecognition()", u"bool $is = IsSpeechRecognitionStarted()",
         u"number $c = SetSpeechRecognitionContinuous(1 + 1)", u"bool $ac = ActivateGrammarSpeechRecognition(\"g\")",
         u"string $in = GetUserInput()"});
    for (const char16_t* name : {u"$i1", u"$a", u"$st", u"$is", u"$ac"}) EXPECT_EQ(text(name), u"false") << Arbor::Text::toUtf8(name);
    for (const char16_t* name : {u"$i0", u"$sp", u"$c"}) EXPECT_EQ(text(name), u"0");
    EXPECT_EQ(text(u"$in"), u"");
    owner_.setUserInput(u"heard");
    run({u"$in = GetUserInput()"});
    EXPECT_EQ(text(u"$in"), u"heard");
}
