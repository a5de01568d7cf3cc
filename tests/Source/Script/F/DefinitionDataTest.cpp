// Building register records from the tree: field tables, index lists, linking and
// the lookups.
#include <gtest/gtest.h>

#include "DefinitionTestSupport.h"

using namespace DefinitionTest;
using Quenta::Interpreter::Token;
using Quenta::Interpreter::TokenKind;
using Quenta::Interpreter::TokenLine;

namespace {
const std::string kInit = block("INITIAL_REG", "FuncName=Init");
}

TEST(DefinitionData, FieldTableHasOneLinePerFieldWithTheKindMarkerFirst) {
    auto data = buildFrom(block("ORDER_REG", "FuncName=Walker\nPosX=100+20\nUnknownField=5\nFuncNameMotion={\n1,\n2}"));
    ASSERT_EQ(data->size(), 1u);
    const DefinitionRecord& r = data->record(0);
    const auto* config = r.section(SectionKind::Config);
    ASSERT_NE(config, nullptr);
    ASSERT_EQ(config->size(), fieldNames(RegisterKind::Order).size());
    ASSERT_EQ(config->size(), 23u);
    ASSERT_EQ((*config)[0].size(), 1u);
    EXPECT_EQ((*config)[0][0].kind, TokenKind::Identifier);
    EXPECT_EQ((*config)[0][0].text, u"ORDER_REG");
    EXPECT_EQ((*config)[0][0].number, 2.0);
    EXPECT_EQ(r.field(OrderField::PosX).size(), 3u);
    EXPECT_TRUE(r.field(OrderField::PosY).empty());
    EXPECT_EQ(r.field(OrderField::FuncNameMotion).size(), 3u);  // "1,2"
    EXPECT_TRUE(r.field(99).empty());
    EXPECT_EQ(r.funcName(), u"Walker");
}

TEST(DefinitionData, KindMarkerCannotBeOverwrittenByAField) {
    auto data = buildFrom(block("FINAL_REG", "FuncName=F\nFINAL_REG=42"));
    EXPECT_EQ(data->record(0).field(0).at(0).text, u"FINAL_REG");
}

TEST(DefinitionData, RecordsAreBuiltInRegisterOrderWithIndexLists) {
    auto data = buildFrom({{u"a.func", block("MOTION_REG", "FuncName=M1") + block("ORDER_REG", "FuncName=O1")},
                           {u"b.func", block("MOTION_REG", "FuncName=M2") + kInit}});
    ASSERT_EQ(data->size(), 4u);
    EXPECT_EQ(data->record(0).funcName(), u"Init");
    EXPECT_EQ(data->record(1).funcName(), u"O1");
    EXPECT_EQ(data->record(2).funcName(), u"M1");
    EXPECT_EQ(data->record(3).funcName(), u"M2");
    EXPECT_EQ(data->indexList(RegisterKind::Motion), (std::vector<int>{2, 3}));
    EXPECT_EQ(data->indexList(RegisterKind::Order), (std::vector<int>{1}));
    EXPECT_TRUE(data->indexList(RegisterKind::TextStyle).empty());
    for (std::size_t i = 0; i < data->size(); ++i) {
        EXPECT_EQ(data->record(static_cast<int>(i)).recordIndex(), static_cast<int>(i));
        EXPECT_EQ(data->functionObjects()[i], &data->record(static_cast<int>(i)));
    }
    EXPECT_EQ(data->record(2).origin.file, u"a.func");
    EXPECT_EQ(data->record(3).origin.file, u"b.func");
}

TEST(DefinitionData, SectionsPresentAndMissing) {
    auto data = buildFrom(block("ORDER_REG", "FuncName=A", "<SET_CODE_INIT>\n$a=1\n$b=2\n</SET_CODE_INIT>\n"));
    const DefinitionRecord& r = data->record(0);
    ASSERT_NE(r.section(SectionKind::CodeInit), nullptr);
    EXPECT_EQ(r.section(SectionKind::CodeInit)->size(), 2u);
    EXPECT_EQ(r.section(SectionKind::CodeLoop), nullptr);
    EXPECT_EQ(r.presentKind(SectionKind::CodeLoop), SectionKind::Invalid);
    EXPECT_EQ(r.presentKind(SectionKind::CodeInit), SectionKind::CodeInit);
    EXPECT_EQ(r.section(SectionKind::Invalid), nullptr);
}

TEST(DefinitionData, NamesAreLinkedIntoFuncBlockTokensButNotInsideStrings) {
    auto data = buildFrom(block("ORDER_REG", "FuncName=Start\nFuncNameMotion=Walk",
                                "<SET_CODE_LOOP>\n$x=\"Walk\"+Walk\n$y=Unknown\n</SET_CODE_LOOP>\n") +
                          block("MOTION_REG", "FuncName=Walk"));
    const DefinitionRecord& order = data->findRecord(u"Start");
    const DefinitionRecord& walk = data->findRecord(u"Walk");
    const Token& own = order.field(Field::kFuncName).at(0);
    EXPECT_EQ(own.kind, TokenKind::FuncBlock);
    EXPECT_EQ(own.number, order.recordIndex());
    const Token& motion = order.field(OrderField::FuncNameMotion).at(0);
    EXPECT_EQ(motion.kind, TokenKind::FuncBlock);
    EXPECT_EQ(motion.number, walk.recordIndex());
    const TokenLine& loop = order.section(SectionKind::CodeLoop)->at(0);
    int linked = 0, strings = 0;
    for (const Token& t : loop) {
        if (t.kind == TokenKind::FuncBlock) ++linked;
        if (t.kind == TokenKind::String && t.text == u"Walk") ++strings;
    }
    EXPECT_EQ(linked, 1);
    EXPECT_EQ(strings, 1);
    const TokenLine& unknown = order.section(SectionKind::CodeLoop)->at(1);
    EXPECT_EQ(unknown.back().kind, TokenKind::Identifier);
    // A name that does not read as an identifier still marks its own FuncName token.
    auto numbered = buildFrom(block("MOTION_REG", "FuncName=7"));
    const DefinitionRecord& seven = numbered->findRecord(u"7");
    EXPECT_EQ(seven.field(Field::kFuncName).at(0).kind, TokenKind::FuncBlock);
    EXPECT_EQ(seven.field(Field::kFuncName).at(0).number, seven.recordIndex());
}

TEST(DefinitionData, DuplicateNamesAcrossRegistersFail) {
    std::u16string where;
    EXPECT_EQ(messageOf([&] {
                  buildFrom({{u"x.func", block("ORDER_REG", "FuncName=Same") + block("MOTION_REG", "FuncName=Same")}},
                            &where);
              }),
              u"Sameが重複しています。");
    EXPECT_NE(where.find(u"x.func"), std::u16string::npos);
    EXPECT_NE(where.find(u"MOTION_REG"), std::u16string::npos);
}

TEST(DefinitionData, BlockWithoutConfigOrFuncNameIsRejected) {
    EXPECT_EQ(messageOf([] { buildFrom("<FUNC_ORDER_REG>\n<SET_CODE_LOOP>\n$a=1\n</SET_CODE_LOOP>\n</FUNC_ORDER_REG>\n"); }),
              u"ORDER_REG のブロックに FuncName が設定されていません。");
    EXPECT_EQ(messageOf([] { buildFrom(block("HIT_AREA_REG", "PosX=1")); }),
              u"HIT_AREA_REG のブロックに FuncName が設定されていません。");
    EXPECT_EQ(messageOf([] { buildFrom(block("HIT_AREA_REG", "FuncName=")); }),
              u"HIT_AREA_REG のブロックに FuncName が設定されていません。");
}

TEST(DefinitionData, LexicalErrorStopsTheBuildAndNamesTheField) {
    std::u16string where;
    const auto message = messageOf([&] { buildFrom({{u"m.func", block("ORDER_REG", "FuncName=A\nPosX=1@2")}}, &where); });
    EXPECT_EQ(message, u"不正な値が設定されています。");
    EXPECT_EQ(where, u"m.func:4: ORDER_REG \"A\", field PosX");
}

TEST(DefinitionData, LexicalErrorInACodeLineNamesTheSectionLine) {
    std::u16string where;
    const auto message = messageOf([&] {
        buildFrom({{u"m.func", block("ORDER_REG", "FuncName=A", "<SET_CODE_LOOP>\n$a=1\n$b=\"open\n</SET_CODE_LOOP>\n")}},
                  &where);
    });
    EXPECT_NE(message, u"<no exception>");
    EXPECT_NE(where.find(u"CodeLoop line 1"), std::u16string::npos);
}

TEST(DefinitionData, FindRecordAndInitialRecord) {
    auto data = buildFrom(block("ORDER_REG", "FuncName=A") + kInit + block("INITIAL_REG", "FuncName=Second"));
    EXPECT_EQ(data->findRecord(u"A").kind(), RegisterKind::Order);
    EXPECT_EQ(data->find(u"Nope"), nullptr);
    EXPECT_EQ(messageOf([&] { data->findRecord(u"Nope"); }), u"Nopeは存在しません。");
    EXPECT_EQ(data->initialRecord().funcName(), u"Init");
    auto none = buildFrom(block("ORDER_REG", "FuncName=A"));
    EXPECT_EQ(messageOf([&] { none->initialRecord(); }), u"Initial 関数が存在しません。");
}

TEST(DefinitionData, FieldNameTablesHaveTheListedSizes) {
    const std::size_t sizes[] = {23, 2, 23, 6, 8, 8, 14, 7, 23, 6, 8, 7, 9};
    for (int k = 0; k < kRegisterKindCount; ++k) {
        const auto& names = fieldNames(k);
        EXPECT_EQ(names.size(), sizes[k]) << k;
        EXPECT_EQ(names.at(0), registerName(k));
        EXPECT_EQ(names.at(1), u"FuncName");
    }
    EXPECT_EQ(fieldNames(RegisterKind::Order).at(OrderField::FlagDrop), u"FlagDrop");
    EXPECT_EQ(fieldNames(RegisterKind::HitEvent).at(HitEventField::OnEvent), u"OnEvent");
    EXPECT_EQ(fieldNames(RegisterKind::BalloonOrder).at(BalloonOrderField::NextBalloonList), u"NextBalloonList");
    EXPECT_EQ(fieldNames(RegisterKind::Initial).at(InitialField::DebugMode), u"DebugMode");
    EXPECT_EQ(fieldNames(RegisterKind::TextStyle).at(TextStyleField::FlagUnderline), u"FlagUnderline");
    EXPECT_EQ(fieldNames(RegisterKind::HitArea).at(HitAreaField::FlagAutoFlip), u"FlagAutoFlip");
    EXPECT_EQ(fieldNames(RegisterKind::ConditionEvent).at(ConditionEventField::OnEvent), u"OnEvent");
    EXPECT_EQ(fieldNames(RegisterKind::TextLayer).at(TextLayerField::PosY), u"PosY");
    EXPECT_EQ(fieldNames(RegisterKind::BalloonImageLayer).at(ImageLayerField::Flip), u"Flip");
    EXPECT_TRUE(fieldNames(13).empty());
    EXPECT_TRUE(fieldNames(-1).empty());
    EXPECT_TRUE(registerName(13).empty());
    EXPECT_TRUE(registerName(-1).empty());
}

#include "Source/Script/F/ReferenceCheck.h"

TEST(ReferenceCheck, UnknownNamesInReferenceFieldsFailAndRuntimeValuesAreSkipped) {
    auto good = buildFrom(block("ORDER_REG", "FuncName=O\nFuncNameMotion=M\nListHitArea=A,A") +
                          block("MOTION_REG", "FuncName=M") + block("HIT_AREA_REG", "FuncName=A") +
                          block("HIT_EVENT_REG", "FuncName=E\nMyHitArea=$notYetDeclared"));
    EXPECT_EQ(messageOf([&] { checkRecordReferences(*good); }), u"<no exception>");
    auto bad = buildFrom(block("BALLOON_ORDER_REG", "FuncName=B\nFuncNameTextLayer=\"T1\",\"T2\"") +
                         block("TEXT_LAYER_REG", "FuncName=T1"));
    std::u16string where;
    EXPECT_EQ(messageOf([&] { checkRecordReferences(*bad, &where); }), u"T2は存在しません。");
    EXPECT_EQ(where, u"main.func:4: BALLOON_ORDER_REG \"B\", field FuncNameTextLayer");
}
