// The balloon and text built-ins read their arguments and hand them to the character's
// balloons or to the running text layer; without either they do nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Source/Interpreter/BalloonControl.h"
#include "Source/Interpreter/ScriptTestSupport.h"
#include "Source/Interpreter/TextLayerControl.h"

using namespace ScriptTest;

namespace {

// Records every call as one text.
struct Recorder : BalloonControl, ScriptOwner {
    std::vector<std::u16string> calls;
    std::size_t lastCommandTokens = 0;
    void note(std::u16string text) { calls.push_back(std::move(text)); }
    static std::u16string n(int v) { return std::u16string(1, char16_t(u'0' + v)); }

    BalloonControl* balloonControl() override { return this; }
    void createBalloon(std::u16string_view name) override { note(u"create " + std::u16string(name)); }
    void callBalloon(std::u16string_view name) override { note(u"call " + std::u16string(name)); }
    void openBalloon(std::u16string_view name, int s, int o) override {
        note(u"open " + std::u16string(name) + u" " + n(s) + u" " + n(o));
    }
    void closeBalloon(std::u16string_view name, int s, int o, TokenLine commands) override {
        lastCommandTokens = commands.size();
        note(u"close " + std::u16string(name) + u" " + n(s) + u" " + n(o));
    }
    void terminateBalloon(std::u16string_view name) override { note(u"terminate " + std::u16string(name)); }
    void moveBalloon(std::u16string_view name, double x, double y) override {
        note(u"move " + std::u16string(name) + u" " + n(int(x)) + u" " + n(int(y)));
    }
    int balloonFrameNumber(std::u16string_view) override { return 7; }
    void setBalloonFrameNumber(std::u16string_view, int f) override { note(u"frame " + n(f)); }
    void postSetBalloonFrameNumber(std::u16string_view, int f) override { note(u"post frame " + n(f)); }
    int textLineNumber(std::u16string_view, std::u16string_view layer) override { return layer == u"T" ? 3 : 0; }
    void setTextLineNumber(std::u16string_view, std::u16string_view, int l) override { note(u"line " + n(l)); }
    void postSetTextLineNumber(std::u16string_view, std::u16string_view, int l) override { note(u"post line " + n(l)); }
    void balloonToTop(std::u16string_view name) override { note(u"top " + std::u16string(name)); }
};

TEST(BalloonBuiltIns, ArgumentsReachTheBalloons) {
    Recorder owner;
    Parser parser(&owner);
    Evaluation eval(parser);
    EXPECT_EQ(eval(u"CreateBalloon(\"a\")")->toNum(), 0);
    eval(u"CallBalloon(\"Talk\")");
    eval(u"OpenBalloon(\"ALL\", 0, 5)");
    eval(u"OpenBalloon(\"x\", 1)");  // a step missing: nothing
    eval(u"CloseBalloon(\"\", 2, 3, SetVariable(\"v\", 1))");
    EXPECT_EQ(owner.lastCommandTokens, 6u);  // captured, not run
    eval(u"CloseBalloon(\"b\", 4, 5)");
    EXPECT_EQ(owner.lastCommandTokens, 0u);
    eval(u"TerminateBalloon(\"c\")");
    eval(u"MoveBalloon(\"\", 4, 5)");
    EXPECT_EQ(eval(u"GetBalloonFrameNum(\"\")")->toNum(), 7);
    eval(u"SetBalloonFrameNum(\"\", 2)");
    eval(u"SetBalloonFrameNumCmd(\"\", 3)");
    EXPECT_EQ(eval(u"GetTextLineNum(\"\", \"T\")")->toNum(), 3);
    eval(u"SetTextLineNum(\"\", \"T\", 1)");
    eval(u"SetTextLineNumCmd(\"\", \"T\", 2)");
    eval(u"BalloonToTop(\"ALL\")");
    EXPECT_EQ(owner.calls, (std::vector<std::u16string>{u"create a", u"call Talk", u"open ALL 0 5", u"close  2 3",
                                                        u"close b 4 5", u"terminate c", u"move  4 5", u"frame 2",
                                                        u"post frame 3", u"line 1", u"post line 2", u"top ALL"}));
}

TEST(BalloonBuiltIns, WithoutACharacterNothingHappens) {
    Parser parser;
    Evaluation eval(parser);
    EXPECT_EQ(eval(u"GetBalloonFrameNum(\"\")")->toNum(), 0);
    EXPECT_EQ(eval(u"CallBalloon(\"Talk\")")->toNum(), 0);
    // The command list is skipped, not run or checked.
    EXPECT_EQ(eval(u"CloseBalloon(\"\", 1, 1, Unknown($missing))")->toNum(), 0);
}

TEST(TextBuiltIns, OutsideATextLineTheyReadTheirArgumentsAndDoNothing) {
    Parser parser;
    Evaluation eval(parser);
    EXPECT_EQ(eval(u"SetFont(\"x\")")->typeId(), 0);
    EXPECT_EQ(eval(u"Wait(3)")->typeId(), 0);
    EXPECT_EQ(eval(u"LinkText(Unknown($missing), \"text\")")->typeId(), 0);
    EXPECT_EQ(eval(u"Open(1, 2)")->typeId(), 0);
    EXPECT_EQ(messageOf([&] { eval(u"Close(1, 2, 3)"); }), u"呼び出された命令Closeの記述が不正です。");
}

}  // namespace
