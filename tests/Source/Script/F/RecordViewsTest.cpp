// Evaluating record fields: conversions, named constants, list conversions, frame
// lines and the typed views.
#include <gtest/gtest.h>

#include <cmath>

#include "DefinitionTestSupport.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Script/F/RecordEvaluation.h"
#include "Source/Script/F/RecordViews.h"
#include "framework/Numeric/GlobalRandom.h"

using namespace DefinitionTest;
using Quenta::Interpreter::Parser;

namespace {

struct Loaded {
    std::unique_ptr<DefinitionData> data;
    Parser parser;
    explicit Loaded(const std::string& text) : data(buildFrom(text)) { parser.setFunctionObjects(&data->functionObjects()); }
    const DefinitionRecord& operator[](std::u16string_view name) const { return data->findRecord(name); }
};

const std::string kBalloons = block("BALLOON_ORDER_REG", "FuncName=Talk1") + block("BALLOON_ORDER_REG", "FuncName=Talk2");

}  // namespace

TEST(RecordEvaluation, UnsetFieldIsVoidAndConvertsToZero) {
    Loaded d(block("ORDER_REG", "FuncName=A\nPosY=100+20"));
    auto& r = d[u"A"];
    EXPECT_EQ(evaluateField(d.parser, r, OrderField::PosX)->type(), Quenta::Interpreter::ValueType::Void);
    EXPECT_EQ(readOrderRecord(d.parser, r).posX, 0.0);
    EXPECT_EQ(readOrderRecord(d.parser, r).posY, 120.0);
    EXPECT_EQ(evaluateField(d.parser, r, OrderField::FuncName)->toStr(), u"A");
}

TEST(RecordEvaluation, NamedConstantsAreVisibleOnlyInTheirFields) {
    Loaded d(block("ORDER_REG", "FuncName=A\nFlip=HV\nPosX=H") +
             block("HIT_EVENT_REG", "FuncName=E\nHitType=BOX_BOTTOM\nDragDropState=DROP\nDockingState=DOCKING") +
             block("CONDITION_EVENT_REG", "FuncName=C\nIntervalType=ONLY_ONCE") +
             block("BALLOON_ORDER_REG", "FuncName=B\nCallType=FORCE\nFlip=V") +
             block("HIT_AREA_REG", "FuncName=R\nAreaType=OUT_RECT"));
    EXPECT_EQ(evaluateFieldWithConstants(d.parser, d[u"A"], OrderField::Flip)->toInt(), 3);
    EXPECT_EQ(messageOf([&] { evaluateFieldWithConstants(d.parser, d[u"A"], OrderField::PosX); }) == u"<no exception>",
              false);
    const auto e = readHitEventRecord(d.parser, d[u"E"]);
    EXPECT_EQ(e.hitType, 10);
    EXPECT_EQ(e.dragDropState, 2);
    EXPECT_EQ(e.dockingState, 1);
    EXPECT_EQ(readConditionEventRecord(d.parser, d[u"C"]).intervalType, 4);
    const auto b = readBalloonOrderRecord(d.parser, d[u"B"]);
    EXPECT_EQ(b.callType, 2);
    ASSERT_NE(b.flip, nullptr);
    EXPECT_EQ(evaluateFlip(d.parser, *b.flip), 2);
    EXPECT_EQ(readHitAreaRecord(d.parser, d[u"R"]).areaType, 1);
    EXPECT_EQ(d.parser.scope(), nullptr);  // every temporary scope is gone again
}

TEST(RecordEvaluation, NegativeMotionExtentsBecomeFlipBits) {
    Loaded d(block("MOTION_REG", "FuncName=M\nWidth=-64\nHeight=32\nFlip=V") +
             block("BALLOON_MOTION_REG", "FuncName=BM\nWidth=-8\nHeight=-4") +
             block("MOTION_REG", "FuncName=M2\nWidth=-64\nFlip=H") +
             block("IMAGE_LAYER_REG", "FuncName=L\nWidth=5\nHeight=-6\nPosX=1.5\nPosY=-2"));
    const auto m = readMotionRecord(d.parser, d[u"M"]);
    EXPECT_EQ(m.width, 64);
    EXPECT_EQ(m.height, 32);
    EXPECT_EQ(m.flip, 3);
    const auto bm = readMotionRecord(d.parser, d[u"BM"]);
    EXPECT_EQ(bm.width, 8);
    EXPECT_EQ(bm.height, 4);
    EXPECT_EQ(bm.flip, 3);
    // The bit is set, not added: an explicit H stays H.
    EXPECT_EQ(readMotionRecord(d.parser, d[u"M2"]).flip, 1);
    const auto l = readImageLayerRecord(d.parser, d[u"L"]);
    EXPECT_EQ(l.width, 5);
    EXPECT_EQ(l.height, 6);
    EXPECT_EQ(l.flip, 2);
    EXPECT_EQ(l.posX, 1.5);
    EXPECT_EQ(l.posY, -2.0);
}

TEST(RecordEvaluation, HitAreaWidthAndHeightAreUsableByLaterFields) {
    Loaded d(block("HIT_AREA_REG", "FuncName=Head\nWidth=40\nHeight=20\nPosX=-Width/2\nPosY=Height+1\nFlagAutoFlip=1"));
    Quenta::Interpreter::ScopeNode hitArea(u"hitArea");
    Quenta::Interpreter::ScopePush push(d.parser, hitArea);
    const auto h = readHitAreaRecord(d.parser, d[u"Head"]);
    EXPECT_EQ(h.width, 40);
    EXPECT_EQ(h.height, 20);
    EXPECT_EQ(h.posX, -20);
    EXPECT_EQ(h.posY, 21);
    EXPECT_TRUE(h.flagAutoFlip);
    ASSERT_NE(hitArea.findParameter(u"Width"), nullptr);
    EXPECT_EQ(hitArea.findParameter(u"Width")->number, 40.0);
}

TEST(RecordEvaluation, NameListsConvertEachEntryToText) {
    Loaded d(block("ORDER_REG", "FuncName=A\nListHitArea=Head,\"Tail\"+1,,Head\nListHitEvent=") +
             block("HIT_AREA_REG", "FuncName=Head"));
    const auto o = readOrderRecord(d.parser, d[u"A"]);
    EXPECT_EQ(o.listHitArea, (std::vector<std::u16string>{u"Head", u"Tail1", u"Head"}));
    EXPECT_TRUE(o.listHitEvent.empty());
    EXPECT_TRUE(o.listConditionEvent.empty());
}

TEST(RecordEvaluation, WeightedPickWalksTheRunningTotal) {
    Loaded d(block("ORDER_REG", "FuncName=A\nCallBalloonList=Talk1*3,Talk2\nFuncListExit=1,\"x\"") + kBalloons);
    const auto& line = d[u"A"].field(OrderField::CallBalloonList);
    EXPECT_EQ(evaluateWeightedPick(d.parser, line, 0.0), u"Talk1");
    EXPECT_EQ(evaluateWeightedPick(d.parser, line, 0.7499), u"Talk1");
    EXPECT_EQ(evaluateWeightedPick(d.parser, line, 0.75), u"Talk2");
    EXPECT_EQ(evaluateWeightedPick(d.parser, line, 0.9999), u"Talk2");
    // No function object at all: empty.
    EXPECT_EQ(evaluateWeightedPick(d.parser, d[u"A"].field(OrderField::FuncListExit), 0.5), u"");
    EXPECT_EQ(evaluateWeightedPick(d.parser, d[u"A"].field(OrderField::PosX), 0.5), u"");
}

TEST(RecordEvaluation, WeightedPickFollowsTheWeightsOverManyDraws) {
    Loaded d(block("ORDER_REG", "FuncName=A\nCallBalloonList=Talk1*3,Talk2") + kBalloons);
    const auto& line = d[u"A"].field(OrderField::CallBalloonList);
    Arbor::Numeric::globalRandom().seed(20260);
    int first = 0, second = 0;
    const int draws = 40000;
    for (int i = 0; i < draws; ++i) {
        const auto name = evaluateWeightedPick(d.parser, line);
        if (name == u"Talk1") ++first;
        else if (name == u"Talk2") ++second;
    }
    EXPECT_EQ(first + second, draws);
    // Expected 30000 : 10000; the standard deviation of either count is about 87.
    EXPECT_NEAR(first, 30000, 600);
    EXPECT_NEAR(static_cast<double>(first) / second, 3.0, 0.25);
}

TEST(RecordEvaluation, FrameLinesGiveEightValues) {
    Loaded d(block("MOTION_REG", "FuncName=M",
                   "<SET_PARAM>\n10, 20, 1.5, -2, 15, \"a.png\", \"b.wav\"\n3\n</SET_PARAM>\n"));
    const auto frames = readFrames(d.parser, d[u"M"]);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].index, 0);
    EXPECT_EQ(frames[0].sourceX, 10);
    EXPECT_EQ(frames[0].sourceY, 20);
    EXPECT_EQ(frames[0].moveX, 1.5);
    EXPECT_EQ(frames[0].moveY, -2.0);
    EXPECT_EQ(frames[0].duration, 15);
    EXPECT_EQ(frames[0].imageName, u"a.png");
    EXPECT_EQ(frames[0].soundName, u"b.wav");
    EXPECT_EQ(frames[1].index, 1);
    EXPECT_EQ(frames[1].sourceX, 3);
    EXPECT_EQ(frames[1].duration, 0);
    EXPECT_EQ(frames[1].soundName, u"");
}

TEST(RecordEvaluation, InitialRecordObjectIdDefaultsToTheCharacterNumber) {
    Loaded d(block("INITIAL_REG", "FuncName=I\nPosX=3\nDebugMode=true\nFuncListStart=S") +
             block("INITIAL_REG",
                   "FuncName=J\nObjectID=\"mine\"\nGroupID=\"g\"\nAppName=\"a\"\nObjectName=\"o\"\nVersion=\"v\"\n"
                   "Copyright=\"c\"\nUrl=\"u\"\nDlgImageName=\"d\"\nDlgImagePosX=4\nDlgImagePosY=5\n"
                   "SoundNameLButton=\"l\"\nSoundNameRButton=\"r\"\nCursorNameNormal=\"n\"\n"
                   "CursorNameDisabled=\"x\"\nPosY=6\nFuncListExit=S\nFuncListShow=S\nFuncListHide=S") +
             block("ORDER_REG", "FuncName=S"));
    const auto i = readInitialRecord(d.parser, d[u"I"], 7);
    EXPECT_EQ(i.objectId, u"#OBJ_ID#7");
    EXPECT_EQ(i.posX, 3.0);
    EXPECT_TRUE(i.debugMode);
    ASSERT_NE(i.funcListStart, nullptr);
    EXPECT_EQ(evaluateNameList(d.parser, *i.funcListStart), (std::vector<std::u16string>{u"S"}));
    const auto j = readInitialRecord(d.parser, d[u"J"], 7);
    EXPECT_EQ(j.objectId, u"mine");
    // Every field reaches its own member.
    const std::vector<std::u16string> texts{j.funcName,    j.groupId,      j.appName,          j.objectName,
                                            j.version,     j.copyright,    j.url,              j.dlgImageName,
                                            j.soundNameLButton, j.soundNameRButton, j.cursorNameNormal,
                                            j.cursorNameDisabled};
    EXPECT_EQ(texts, (std::vector<std::u16string>{u"J", u"g", u"a", u"o", u"v", u"c", u"u", u"d", u"l", u"r", u"n", u"x"}));
    EXPECT_EQ(j.dlgImagePosX, 4);
    EXPECT_EQ(j.dlgImagePosY, 5);
    EXPECT_EQ(j.posY, 6.0);
    EXPECT_FALSE(j.debugMode);
    for (const auto* list : {j.funcListExit, j.funcListShow, j.funcListHide}) {
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(evaluateNameList(d.parser, *list), (std::vector<std::u16string>{u"S"}));
    }
}

TEST(RecordEvaluation, ConditionIsEvaluatedEachTime) {
    Loaded d(block("HIT_EVENT_REG", "FuncName=E\nCondition=$on") + block("CONDITION_EVENT_REG", "FuncName=C\nCondition=!$on"));
    auto* on = static_cast<Quenta::Interpreter::BoolValue*>(d.parser.variables().create(u"$on", 3));
    ASSERT_NE(on, nullptr);
    EXPECT_FALSE(evaluateCondition(d.parser, d[u"E"]));
    EXPECT_TRUE(evaluateCondition(d.parser, d[u"C"]));
    on->set(true);
    EXPECT_TRUE(evaluateCondition(d.parser, d[u"E"]));
    EXPECT_FALSE(evaluateCondition(d.parser, d[u"C"]));
}

TEST(RecordEvaluation, FieldNamingARecordYieldsAFunctionObject) {
    Loaded d(block("ORDER_REG", "FuncName=A\nFuncNameMotion=Walk") + block("MOTION_REG", "FuncName=Walk"));
    auto* v = evaluateField(d.parser, d[u"A"], OrderField::FuncNameMotion);
    ASSERT_EQ(v->type(), Quenta::Interpreter::ValueType::FuncObject);
    EXPECT_EQ(v->toStr(), u"Walk");
    EXPECT_EQ(readOrderRecord(d.parser, d[u"A"]).funcNameMotion, u"Walk");
}

TEST(RecordEvaluation, TextViewsHandOverTheirLines) {
    Loaded d(block("TEXT_LAYER_REG", "FuncName=T\nWidth=100") + block("TEXT_STYLE_REG", "FuncName=S\nFontName=\"Sans\""));
    const auto t = readTextLayerRecord(d[u"T"]);
    EXPECT_EQ(t.funcName, u"T");
    EXPECT_EQ(evaluateInt(d.parser, *t.width), 100);
    EXPECT_EQ(evaluateInt(d.parser, *t.height), 0);
    const auto s = readTextStyleRecord(d[u"S"]);
    EXPECT_EQ(evaluateText(d.parser, *s.fontName), u"Sans");
}
